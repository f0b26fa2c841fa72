#!/usr/bin/env bash
# Builds the Windows presets (MinGW-w64, windows-x64 and windows-x86) and tests the Windows pieces
# under Wine, in an Xvfb display of its own and a fresh Wine prefix under build/:
#   - the Win32 window tests under wine64;
#   - the Windows test host on the DLL that opens the library's windows: by name and by ordinal,
#     control lists checked, PNG screenshots saved in build/windows-screenshots;
#   - the 32-bit DLL's export table (undecorated names at their ordinals);
#   - where 32-bit code runs on this machine: the window tests and the host again as 32-bit
#     programs, and the check that 32-bit Windows code reaches the private Firebird server over
#     TCP through fbclient.dll, the Winelib forwarder to the 32-bit Linux client. Where it cannot
#     run, one line says so and only those steps are skipped.
# Installs missing packages first (with the i386 architecture). Exits non-zero on the first failure.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# Debian packages of the Windows build and of Wine, besides those of setup.sh (firebird-dev for the
# headers, the Firebird server, Xvfb). The i386 ones give the 32-bit Wine, the tools that build the
# Winelib forwarder (winegcc needs gcc-multilib) and the 32-bit Firebird client.
readonly WINDOWS_PACKAGES=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix googletest
  wine wine64 fonts-wine wine32:i386 libwine-dev:i386 wine32-tools:i386 gcc-multilib libfbclient2:i386
)
readonly WINE64=/usr/lib/wine/wine64
readonly WINE32=/usr/lib/wine/wine

started=$SECONDS
work=$BRONTELX_ROOT/build/windows-test
xvfb_pid=
server_dir=

install_windows_packages() {
  local sudo=() missing=() package
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 architecture"
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  for package in "${WINDOWS_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  ((${#missing[@]} > 0)) || return 0
  echo "Installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

cleanup() {
  # Ends every Wine program of the prefix and its server.
  [[ -z ${WINEPREFIX:-} ]] || wineserver -k >/dev/null 2>&1 || true
  [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true
  [[ -z $server_dir ]] || "$BRONTELX_ROOT/scripts/fbserver.sh" stop "$server_dir"
}

fail() {
  echo "test-windows.sh: $*" >&2
  exit 1
}

# A path of this machine as Wine's drive Z: shows it to Windows programs.
windows_path() {
  local path=$1
  echo "Z:${path//\//\\}"
}

# Runs a Windows program with the Wine loader $1, from the program's folder; its output goes to
# $work/NAME.out and NAME.err (never a pipe: the Wine server would keep it open).
run_windows() {
  local loader=$1 name=$2 program=$3
  shift 3
  (cd "$(dirname "$program")" && "$loader" "$(basename "$program")" "$@" >"$work/$name.out" 2>"$work/$name.err")
}

# "ORDINAL NAME" for each export of a Windows DLL, from its export table.
exports_of() {
  x86_64-w64-mingw32-objdump -p "$1" | awk '
    /^Ordinal Base/ { base = $3 }
    /^\[Ordinal\/Name Pointer\] Table/ { names = 1; next }
    names && /^\t\[/ { gsub(/[\[\]]/, ""); print base + $1, $2; next }
    names { names = 0 }'
}

start_display() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    [[ -s $work/display ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start; see $work/xvfb.log"
    sleep 0.1
  done
  [[ -s $work/display ]] || fail "Xvfb did not report its display"
  export DISPLAY=:$(<"$work/display")
}

# A new 64-bit prefix (with its 32-bit part where wine32 runs) for this run only.
make_prefix() {
  export WINEPREFIX=$BRONTELX_ROOT/build/wine-prefix
  export WINEDEBUG=-all
  # No Mono or Gecko: their installers would ask on screen.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # Started first, with its output to /dev/null: the server outlives the programs, and would
  # otherwise hold on to the output of the first one.
  wineserver -p >/dev/null 2>&1
  "$WINE64" wineboot -i >"$work/wineboot.out" 2>&1 || fail "wineboot failed; see $work/wineboot.out"
  # No window manager runs in Xvfb: Wine draws the windows' frames itself, and does not wait for a
  # window manager's answer when a window hides (seconds each time).
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$work/wineboot.out" 2>&1
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >>"$work/wineboot.out" 2>&1
  # Wine's own Tahoma (the windows' font) and Marlett (the frame's buttons) in the prefix's Fonts
  # folder, as on Windows: this Wine does not load the fonts of its data folder. Only Tahoma's
  # regular face: drawn from Wine's bold face, bold text comes out regular; GDI emboldens the
  # regular face instead.
  cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
}

# The Windows test host on the DLL that opens the windows: the test window by name, the settings
# window by ordinal; each one listed, photographed, closed and destroyed.
check_host() {
  local loader=$1 build=$2 shots=$3 bits=$4
  local host=$build/host/win32/brontelx-winhost.exe
  run_windows "$loader" "host$bits-test" "$host" brontelx_windowdll.dll OpenTestWindow --close \
    --controls "$(windows_path "$work/test-window$bits.txt")" \
    --screenshot "$(windows_path "$shots/win32-test-window$bits.png")" ||
    fail "the host failed on the test window; see $work/host$bits-test.*"
  grep -qxF $'Edit\tEditRisultato\t16,226,450,24\tGroupBoxCollaudo\treadonly,tabstop\t' "$work/test-window$bits.txt" ||
    fail "the test window's controls are not as described; see $work/test-window$bits.txt"
  run_windows "$loader" "host$bits-settings" "$host" brontelx_windowdll.dll '#1' --close \
    --controls "$(windows_path "$work/settings-window$bits.txt")" \
    --screenshot "$(windows_path "$shots/win32-settings-window$bits.png")" ||
    fail "the host failed on the settings window; see $work/host$bits-settings.*"
  grep -qxF $'Button\tButtonChiudi\t541,8,75,25\t\ttabstop\tChiudi' "$work/settings-window$bits.txt" ||
    fail "the settings window's controls are not as described; see $work/settings-window$bits.txt"
  grep -q "window closed and destroyed" "$work/host$bits-settings.out" || fail "the settings window outlived its close"
  local shot
  for shot in "$shots/win32-test-window$bits.png" "$shots/win32-settings-window$bits.png"; do
    [[ $(head -c 8 "$shot" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "$shot is no PNG"
  done
  echo "Test host ($bits-bit): both windows opened by name and by ordinal, listed, photographed, closed"
}

run_window_tests() {
  local loader=$1 build=$2 bits=$3
  if ! run_windows "$loader" "window-tests$bits" "$build/tests/win32/brontelx_win32_tests.exe"; then
    cat "$work/window-tests$bits.out" "$work/window-tests$bits.err"
    fail "the $bits-bit window tests failed"
  fi
  echo "Win32 window tests ($bits-bit): $(grep -E '^\[  PASSED  \]' "$work/window-tests$bits.out")"
}

# The 32-bit Windows check program reaches the private server through the Winelib fbclient.dll.
check_fbclient() {
  local build=$1 forwarder=$1/wine-fbclient
  mkdir -p "$forwarder"
  winegcc -m32 -shared -o "$forwarder/fbclient.dll" "$BRONTELX_ROOT/tests/wine/fbclient/fbclient.spec" \
    "$BRONTELX_ROOT/tests/wine/fbclient/fbclient.c" -ldl >"$work/winegcc.out" 2>&1 ||
    fail "the fbclient.dll forwarder did not build; see $work/winegcc.out"
  # Wine loads a Winelib DLL named fbclient.dll beside the program as a builtin.
  cp "$forwarder/fbclient.dll.so" "$build/tests/wine/fbclient.dll"
  server_dir=$BRONTELX_ROOT/build/windows-fbserver
  local port database
  port=$("$BRONTELX_ROOT/scripts/fbserver.sh" start "$server_dir")
  database=$server_dir/fbclient-check.fdb
  rm -f "$database"
  if ! run_windows "$WINE32" fbclient-check "$build/tests/wine/brontelx_fbclient_check.exe" "127.0.0.1/$port" "$database"; then
    cat "$work/fbclient-check.out" "$work/fbclient-check.err"
    fail "32-bit Windows code did not reach the Firebird server through fbclient.dll"
  fi
  echo "fbclient.dll forwarder: $(grep -c '^ok:' "$work/fbclient-check.out") steps passed (LoadLibrary, master interface, TCP attach, UTF-8 text)"
  "$BRONTELX_ROOT/scripts/fbserver.sh" stop "$server_dir"
  server_dir=
}

# True when this machine runs i386 Linux programs, which 32-bit Wine is.
i386_runs() {
  printf 'int main(void) { return 0; }\n' >"$work/i386.c"
  gcc -m32 "$work/i386.c" -o "$work/i386-probe" >"$work/i386.log" 2>&1 && "$work/i386-probe" 2>>"$work/i386.log"
}

brontelx_install_packages
install_windows_packages
brontelx_set_lock_folder
cd "$BRONTELX_ROOT"
trap cleanup EXIT
rm -rf "$work"
mkdir -p "$work"

for preset in windows-x64 windows-x86; do
  echo "=== $preset: configure, build"
  cmake --preset "$preset" >"$work/configure-$preset.log" || { cat "$work/configure-$preset.log"; fail "configure failed"; }
  cmake --build --preset "$preset"
done
x64=$BRONTELX_ROOT/build/windows-x64
x86=$BRONTELX_ROOT/build/windows-x86
shots=$BRONTELX_ROOT/build/windows-screenshots
mkdir -p "$shots"

[[ $(exports_of "$x86/host/win32/brontelx_windowdll.dll") == $'1 OpenSettingsWindow\n2 OpenTestWindow' ]] ||
  fail "the 32-bit window DLL's exports are not the undecorated names at their ordinals"
echo "32-bit window DLL: exports OpenSettingsWindow @1 and OpenTestWindow @2, undecorated"

echo "=== Wine: display and prefix"
start_display
make_prefix

echo "=== 64-bit"
run_window_tests "$WINE64" "$x64" 64
check_host "$WINE64" "$x64" "$shots" 64

if i386_runs; then
  echo "=== 32-bit: this machine runs i386 code natively"
  run_window_tests "$WINE32" "$x86" 32
  check_host "$WINE32" "$x86" "$shots" 32
  check_fbclient "$x86"
else
  echo "32-bit code does not run on this machine (no IA-32 emulation in the kernel: $(tail -n 1 "$work/i386.log")); the 32-bit window tests, host run and fbclient.dll check are skipped"
fi

echo "Screenshots: $shots"
echo "Windows tests passed in $((SECONDS - started)) s."
