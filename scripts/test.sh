#!/usr/bin/env bash
# Builds everything, runs the whole test suite, then builds and runs the
# example host against the installed kit (scripts/example.sh).
#   scripts/test.sh              normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The layout is checked before anything is built: a file clang-format would
# change fails the run (scripts/format.sh rewrites them).
scripts/format.sh --check
# Warnings fail the build here, as they do in CI.
build=build; extra=(-DMORVANEL_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  build=build-asan; extra+=(-DMORVANEL_SANITIZE=ON -DMORVANEL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S . -B "$build" -G Ninja "${extra[@]}"
cmake --build "$build" -j "$(nproc)"
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
# The PostgreSQL variants of the tests ("_pg") run on a throwaway cluster of
# our own, stopped at the end; a cluster that does not start fails the run.
pgdir=$(mktemp -d /tmp/morvanel-pg.XXXXXX)
trap 'scripts/pg-cluster.sh stop "$pgdir"' EXIT
MORVANEL_TEST_PG=$(scripts/pg-cluster.sh start "$pgdir")
export MORVANEL_TEST_PG
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
# The kit as a host developer uses it (not under the sanitizers: the example
# is built on its own, without them).
if [ "$build" = build ]; then scripts/example.sh "$build"; fi
