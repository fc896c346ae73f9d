#!/usr/bin/env bash
# Builds Morvanel and starts the demo host (the payroll window holding the
# URSSAF centres control) on the demo database, created on first run.
#   scripts/demo.sh                 open the window (any morvanel-host option
#   scripts/demo.sh --user consult  may follow, see docs/host.md)
# Without a display the window is drawn into out/morvanel.png instead (under
# xvfb-run when it is there), and the demo centres are listed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${MORVANEL_BUILD_DIR:-build}
scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja
cmake --build "$build"
host="$build/src/host/morvanel-host"
# The host creates the control by name: make the name lead to the library
# just built, whatever an earlier build registered.
"$host" --register > /dev/null

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$host" "$@"
fi

# No display: a picture of the window with a centre shown, and the centres.
db="${XDG_DATA_HOME:-$HOME/.local/share}/morvanel/demo.mvdb"
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  if [ "${args[$i]}" = "--db" ] && [ $((i + 1)) -lt ${#args[@]} ]; then db="${args[$((i + 1))]}"; fi
done
mkdir -p out
shot="$(pwd)/out/morvanel.png"
if command -v xvfb-run > /dev/null; then
  xvfb-run -a "$host" --centre 01 "$@" --screenshot "$shot"
else
  QT_QPA_PLATFORM=offscreen "$host" --centre 01 "$@" --screenshot "$shot"
fi
echo "No display here: the window was drawn into $shot"
echo "Centres of $db (code, sigle):"
"$build/src/tools/mvdb/mvdb" select "$db" "SSELECT CENTREURSSAF PAR 1" "0 1" --lines
