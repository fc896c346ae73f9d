#!/usr/bin/env bash
# Builds the Debian packages of the release build in build-deb/:
# libmorvanel0, libmorvanel-dev, morvanel-tools, morvanel-demo and
# morvanel-designer-plugin, then runs lintian on them.
#   scripts/package.sh            build and lint
#   scripts/package.sh --check    also install them with apt-get into a
#                                 throwaway root (an overlay of this machine's
#                                 root in a private mount namespace, removed
#                                 afterwards) and check what a host developer
#                                 and an administrator see there
set -euo pipefail
cd "$(dirname "$0")/.."
# The compiler cache keys on paths relative to the build folder, as the
# everyday build does.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=true
out=build-deb
# The release build: optimised, without assertions (-O2 -DNDEBUG), stripped
# when packed, as Debian builds its own. Its compile flags are the everyday
# build's, so that on a busy machine the compiler cache serves it; a folder
# of its own keeps the /usr install paths out of build/.
build=build-release
check=0
[ "${1:-}" = "--check" ] && check=1

scripts/install-deps.sh --package

mkdir -p "$out"
ldflags="$(dpkg-buildflags --get LDFLAGS) -Wl,-z,now"
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja "${launcher[@]}" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANEL_WERROR=ON \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" \
  -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_SYSCONFDIR=/etc \
  -DMORVANEL_RELOCATABLE=OFF -DMORVANEL_MANPAGES=ON \
  -DMORVANEL_TESTS=OFF -DMORVANEL_BENCH=OFF > "$out/configure.log" 2>&1 \
  || { cat "$out/configure.log" >&2; exit 1; }
cmake --build "$build" -j "${JOBS:-2}"

rm -f "$out"/*.deb
(cd "$build" && cpack -G DEB) > "$out/cpack.log" 2>&1 || { cat "$out/cpack.log" >&2; exit 1; }
cp "$build"/packages/*.deb "$out"/
echo "package: built $(cd "$out" && echo *.deb)"

# lintian's errors fail the run; its warnings are shown.
lintian --tag-display-limit 0 "$out"/*.deb > "$out/lintian.log" 2>&1 || true
if grep -q '^E:' "$out/lintian.log"; then
  cat "$out/lintian.log" >&2
  echo "package: lintian reports errors" >&2
  exit 1
fi
echo "package: lintian: no error, $(grep -c '^W:' "$out/lintian.log" || true) warnings ($out/lintian.log)"

[ $check = 1 ] || exit 0
# The throwaway root: this machine's root seen through an overlay whose
# changes land in a temporary folder, mounted in a mount namespace of its
# own; apt-get installs the packages there as on a fresh workstation.
throwaway=$(mktemp -d /tmp/morvanel-root.XXXXXX)
trap 'rm -rf "$throwaway"' EXIT
mkdir -p "$throwaway/pkgs"
cp "$out"/*.deb "$throwaway/pkgs/"
cp -r examples "$throwaway/pkgs/"
unshare --mount --propagation private \
  scripts/package-check.sh "$throwaway" > "$out/check.log" 2>&1 \
  || { cat "$out/check.log" >&2; echo "package: check failed" >&2; exit 1; }
grep '^check:' "$out/check.log"
