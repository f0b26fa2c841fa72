#!/usr/bin/env bash
# Builds the default preset (installing missing packages first) and runs the demo: it creates demo
# databases with the embedded engine, runs the validation on a few codes, prints the results and
# opens the windows. Extra arguments are passed to the demo.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

brontelx_install_packages
brontelx_set_lock_folder
cd "$BRONTELX_ROOT"

cmake --preset default
cmake --build --preset default

demo=$BRONTELX_ROOT/build/default/host/brontelx
if [[ ! -x $demo ]]; then
  echo "demo.sh: the build produced no $demo: the command-line tool is not part of this tree yet." >&2
  exit 1
fi
exec "$demo" demo "$@"
