#!/usr/bin/env bash
# Builds and runs the whole test suite twice: with the default preset, then with the asan preset
# (AddressSanitizer + UndefinedBehaviorSanitizer); runs the fuzzers for a short while; last, builds and
# tests the Windows library under Wine (scripts/test-windows.sh). Installs missing packages first.
# Tests of remote database locations use a private Firebird server on 127.0.0.1 that runs while this
# script runs. Exits non-zero on the first failure.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

brontelx_prepare

server_dir=$BRONTELX_ROOT/build/fbserver
trap '"$BRONTELX_ROOT/scripts/fbserver.sh" stop "$server_dir"' EXIT
BRONTELX_FB_PORT=$("$BRONTELX_ROOT/scripts/fbserver.sh" start "$server_dir")
export BRONTELX_FB_PORT
echo "Private Firebird server on 127.0.0.1:$BRONTELX_FB_PORT"

# A second Unix user in group firebird, for the tests of users that share embedded files.
if [[ $EUID -eq 0 ]]; then
  id brontelx-peer >/dev/null 2>&1 ||
    useradd --no-create-home --gid users --groups firebird --shell /usr/sbin/nologin brontelx-peer
  export BRONTELX_PEER_USER=brontelx-peer
fi

# Windows under test never appear on a display.
export QT_QPA_PLATFORM=offscreen
# Leak checking stays on. The Firebird client and engine keep process-wide state (ICU and iconv
# converters, big numbers of the SRP login) that they never free; lsan.supp puts down to them only
# the leaks allocated inside their libraries, so a leak of our own still fails the run.
# The Firebird client unloads its plugins (dlclose) at exit; the leak checker's record of their
# dynamic TLS is stale by then and its scan crashes. Static TLS, where our own code keeps its
# thread-locals, is still scanned.
export ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0
# The path is quoted for the sanitizers' option parser: a checkout's folder may hold blanks.
export LSAN_OPTIONS="suppressions='$BRONTELX_ROOT/scripts/lsan.supp':print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

ran=()
for preset in default asan; do
  echo "=== $preset: configure, build, test"
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset" | tee "build/ctest-$preset.log"
  ran+=("$preset: $(sed -n 's/^100% tests passed, 0 tests failed out of \([0-9]*\)$/\1 tests/p' "build/ctest-$preset.log")")
done
# The code that reads outside input (dati.ini, connection descriptions, SQL parameters, typed
# numbers, text encodings) under libFuzzer for a short while, as scripts/fuzz.sh runs it: any crash,
# sanitizer report or failed property fails the run.
fuzz_seconds=${BRONTELX_FUZZ_SECONDS:-15}
echo "=== fuzz: configure, build, run"
"$BRONTELX_ROOT/scripts/fuzz.sh" "$fuzz_seconds"
ran+=("fuzz: $(wc -l <build/fuzz/fuzz/targets.txt) targets, $fuzz_seconds s each, nothing found")
# BrontelX.dll and the other Windows pieces, built with MinGW-w64 and run under Wine.
echo "=== Windows: scripts/test-windows.sh"
rm -f build/windows-test/summary
"$BRONTELX_ROOT/scripts/test-windows.sh"
ran+=("$(<build/windows-test/summary)")
# One line that says what ran; a skipped part says SKIPPED.
summary="Passed: ${ran[0]}"
for part in "${ran[@]:1}"; do summary+="; $part"; done
echo "$summary"
