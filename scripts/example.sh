#!/usr/bin/env bash
# The kit as a host developer gets it: installs the build into a temporary
# prefix, builds examples/minimal-host and examples/designer-host (its form
# drawn in Qt Designer) out of tree against the installed package, registers the installed control library for a throw-away registry
# and runs the examples on a fresh demo database. Their output must be the
# sigles of the demo centres, in the order of the centre list (sorted by
# sigle, as the database's own "SSELECT CENTREURSSAF PAR 1" gives them).
#   scripts/example.sh [BUILD_DIR]     (default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
# Runs a step quietly; on failure shows what it printed.
quiet() {
  local log="$work/$1"; shift
  "$@" > "$log" 2>&1 || { cat "$log" >&2; echo "example: failed: $*" >&2; exit 1; }
}

quiet install.log cmake --install "$build" --prefix "$prefix"
quiet configure.log cmake -S examples/minimal-host -B "$work/example" -G Ninja \
  -DCMAKE_PREFIX_PATH="$prefix"
quiet build.log cmake --build "$work/example"

export MORVANEL_REGISTRY="$work/registry"
library=$(find "$prefix" -name libmorvanel.so | head -n 1)
quiet register.log "$prefix/bin/morvanel-register" "$library"
quiet seed.log "$prefix/bin/mvdb" seed-demo "$work/demo.mvdb"

"$work/example/minimal-host" --db "$work/demo.mvdb" > "$work/got"
"$prefix/bin/mvdb" select "$work/demo.mvdb" "SSELECT CENTREURSSAF PAR 1" "1" --lines > "$work/expected"
if ! diff -u "$work/expected" "$work/got"; then
  echo "example: minimal-host did not list the demo centres' sigles in list order" >&2
  exit 1
fi
if [ ! -s "$work/got" ]; then
  echo "example: minimal-host listed nothing" >&2
  exit 1
fi
echo "example: minimal-host built against the installed kit lists $(wc -l < "$work/got") centres"

quiet designer-configure.log cmake -S examples/designer-host -B "$work/designer" -G Ninja \
  -DCMAKE_PREFIX_PATH="$prefix"
quiet designer-build.log cmake --build "$work/designer"
QT_QPA_PLATFORM=offscreen "$work/designer/designer-host" --db "$work/demo.mvdb" --list \
  > "$work/got-designer"
if ! diff -u "$work/expected" "$work/got-designer"; then
  echo "example: designer-host did not list the demo centres' sigles in list order" >&2
  exit 1
fi
echo "example: designer-host, its form from Qt Designer, lists the same centres"
