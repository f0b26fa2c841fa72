#!/usr/bin/env bash
# The demo. Installs missing packages, builds the default preset and installs the programs and the
# library into build/demo/bin, as a host's folder would hold them. Then it creates the demo databases
# with the embedded engine (the user directory beside the programs, the company archive and the
# delivery-note database in build/demo-data or in the folder given as argument), validates a few
# delivery-note codes, and opens the test window for the demo user: on the display when there is
# one, otherwise offscreen, saving screenshots of both windows and printing their paths.
set -euo pipefail

usage="usage: scripts/demo.sh [--] [FOLDER]   (FOLDER: where the demo databases go; default build/demo-data)"
# An option is never taken for the folder: only "--" lets a folder's name begin with "-".
case ${1:-} in
  -h|--help) echo "$usage"; exit 0 ;;
  --) shift ;;
  -?*) echo "scripts/demo.sh: unknown option $1" >&2; echo "$usage" >&2; exit 2 ;;
esac
if (($# > 1)); then echo "$usage" >&2; exit 2; fi

source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

brontelx_prepare

cmake --preset default
cmake --build --preset default
cmake --install build/default --prefix build/demo >/dev/null
bin=$BRONTELX_ROOT/build/demo/bin
data=${1:-$BRONTELX_ROOT/build/demo-data}

echo "=== brontelx demo: databases and validations"
"$bin/brontelx" demo -- "$data"

echo
echo "=== brontelx validate 1 BOL-1001 BOL-1002 BOL-9999 (exit status 1: not every code is accepted)"
status=0
"$bin/brontelx" validate 1 BOL-1001 BOL-1002 BOL-9999 || status=$?
echo "exit status $status"

echo
# Window-log rows 100 and 101 are the demo's: the windows record their handles there.
if [[ -n ${DISPLAY:-}${WAYLAND_DISPLAY:-} ]]; then
  echo "=== The test window of user 1 (close it to end the demo)"
  "$bin/brontelx-host" test --user 1 --window-id 100
else
  echo "=== No display: the windows of user 1 offscreen, as screenshots"
  export QT_QPA_PLATFORM=offscreen
  # Qt wants a private runtime folder; without a desktop session nothing provides one.
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
  "$bin/brontelx-host" test --user 1 --window-id 100 --screenshot "$BRONTELX_ROOT/build/demo/screenshots"
  "$bin/brontelx-host" settings --user 1 --window-id 101 --screenshot "$BRONTELX_ROOT/build/demo/screenshots"
fi
