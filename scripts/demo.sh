#!/usr/bin/env bash
# Builds the default preset (installing missing packages first) and runs the demo: it shows the
# connection strings of a few dati.ini layouts, creates demo databases with the embedded engine,
# starts a session and prints the results of the validation for a few codes. Extra arguments are
# passed to the demo.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

brontelx_prepare

cmake --preset default
cmake --build --preset default

demo=$BRONTELX_ROOT/build/default/host/brontelx
# The demo's archive and delivery-note database go under build/ unless a folder is given.
if (($# == 0)); then
  set -- "$BRONTELX_ROOT/build/demo-data"
fi
exec "$demo" demo "$@"
