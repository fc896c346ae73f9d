#!/usr/bin/env bash
# Lays out every C++ file of the tree with clang-format (.clang-format).
#   scripts/format.sh           rewrites the files in place
#   scripts/format.sh --check   changes nothing; fails naming each file it would change
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(find src tests bench fuzz examples -name '*.cpp' -o -name '*.h' | sort)
if [ "${1:-}" = "--check" ]; then
  clang-format --dry-run -Werror "${files[@]}"
else
  clang-format -i "${files[@]}"
fi
