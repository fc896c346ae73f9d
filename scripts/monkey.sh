#!/usr/bin/env bash
# Random clerk sessions on the control: builds urssaf-monkey in build/ and
# runs it. Exits 1 on a broken rule, printing the shortest scenario that
# still breaks it (docs/monkey.md).
#   scripts/monkey.sh --actions 20000 --seed 1 [other urssaf-monkey options]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if [ ! -f build/build.ninja ]; then cmake -S . -B build -G Ninja; fi
cmake --build build -j "$(nproc)" --target urssaf-monkey
exec build/src/tools/monkey/urssaf-monkey "$@"
