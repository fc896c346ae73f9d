#!/usr/bin/env bash
# Run by scripts/package.sh --check inside a private mount namespace: mounts
# an overlay of / on THROWAWAY/root (writes go to THROWAWAY/upper), installs
# THROWAWAY/pkgs/*.deb there with apt-get, checks them as an administrator and
# a host developer would, then purges them. Nothing reaches the real root.
#   scripts/package-check.sh THROWAWAY
set -euo pipefail
t=$1
mkdir -p "$t/upper" "$t/work" "$t/root"
mount -t overlay overlay -o "lowerdir=/,upperdir=$t/upper,workdir=$t/work" "$t/root"
r=$t/root
mount -t proc proc "$r/proc"
mount --rbind /dev "$r/dev"
mount -t tmpfs tmpfs "$r/tmp"
mkdir -p "$r/tmp/pkgs"
mount --bind "$t/pkgs" "$r/tmp/pkgs"
in_root() { chroot "$r" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/tmp/home \
  LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen "$@"; }
# As on a workstation: man pages are installed (container images leave them out).
rm -f "$r"/etc/dpkg/dpkg.cfg.d/excludes
mkdir -p "$r/tmp/home"

packages=$(for f in "$t"/pkgs/*.deb; do dpkg-deb -f "$f" Package; done)
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
  $(cd "$t/pkgs" && printf '/tmp/pkgs/%s ' *.deb)
echo "check: apt-get installed $(echo $packages)"

fail() { echo "check failed: $*"; exit 1; }
in_root mvdb --help | grep -i "^usage: mvdb" > /dev/null || fail "mvdb --help"
echo "check: mvdb --help"
in_root man -P cat mvdb 2> /dev/null | grep mvdb > /dev/null || fail "man mvdb"
echo "check: man mvdb"
for p in mvdb morvanel-register urssaf-scenario urssaf-monkey morvanel-host; do
  [ -n "$(in_root man -w "$p")" ] || fail "no man page for $p"
  in_root "$p" --version | grep "^$p [0-9]" > /dev/null || fail "$p --version"
done
echo "check: a man page and --version for every program"

# A host developer: the examples configure with no prefix hint.
in_root mvdb seed-demo /tmp/demo.mvdb > /dev/null
in_root mvdb select /tmp/demo.mvdb "SSELECT CENTREURSSAF PAR 1" 1 --lines > "$r/tmp/expected"
[ -s "$r/tmp/expected" ] || fail "the demo database has no centre"
for example in minimal-host designer-host; do
  in_root cmake -S /tmp/pkgs/examples/$example -B /tmp/build-$example -G Ninja > /dev/null
  in_root cmake --build /tmp/build-$example > /dev/null
  extra=(); [ $example = designer-host ] && extra=(--list)
  in_root /tmp/build-$example/$example --db /tmp/demo.mvdb "${extra[@]}" > "$r/tmp/got"
  diff -u "$r/tmp/expected" "$r/tmp/got"
  echo "check: $example built against the packages lists $(wc -l < "$r/tmp/got") centres"
done

# An administrator: the demo host opens the demo with no registration.
in_root morvanel-host --screenshot /tmp/host.png
[ -s "$r/tmp/host.png" ] || fail "morvanel-host drew nothing"
echo "check: morvanel-host opened the demo database"
[ ! -e "$r/tmp/home/.config/morvanel/registry" ] || fail "morvanel-host registered for the user"
echo "check: the control came from the machine's registry"
plugin=$(in_root dpkg -L morvanel-designer-plugin | grep '/designer/.*\.so$')
echo "check: Designer plugin at $plugin"

in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q $packages > /dev/null
in_root sh -c '! ls /usr/lib/*/libmorvanel* /etc/morvanel/registry 2> /dev/null'
echo "check: purged"
