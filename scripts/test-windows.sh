#!/usr/bin/env bash
# Builds the Windows presets (MinGW-w64, windows-x64 and windows-x86) and tests the Windows library
# and its pieces, in an Xvfb display of its own and a fresh Wine prefix under build/:
#   - BrontelX.dll (32-bit) as cmake --install ships it: stripped, its debug information in a file
#     beside it that it links to, the notes for the host's installer, the support tool brontelx.exe;
#     its export table (the entry points, undecorated, at their ordinals), its version resource and
#     its imports (system DLLs only; fbclient.dll is loaded at run time);
#   - ctest in build/windows-x64, which runs the GoogleTest programs under wine64 (the toolchain's
#     CMAKE_CROSSCOMPILING_EMULATOR): the Win32 window tests, the core's Windows tests (from a folder
#     whose name holds "città"), the test host on the DLL that opens the windows, BrontelX.dll where
#     no fbclient.dll exists and brontelx.exe without a client;
#   - where 32-bit code runs on this machine: ctest in build/windows-x86 under the 32-bit Wine, the
#     same and, against a private Firebird server reached through fbclient.dll (the Winelib
#     forwarder to the 32-bit Linux client), the fbclient.dll check and the end-to-end run of the
#     installed BrontelX.dll (tests/wine/EndToEndTest.cpp: both windows through the exports by
#     ordinal, the conditions of real hosts, the installed brontelx.exe). Where 32-bit code cannot
#     run, or the i386 packages cannot be installed (a mirror whose i386 index lags behind), one line
#     says so and why, and only those steps are skipped; BRONTELX_REQUIRE_WIN32=1 makes that a
#     failure instead.
# Installs missing packages first (with the i386 architecture). Each test has a time limit; ctest's
# output is kept in build/windows-test. Wine's server, Xvfb and the Firebird server are stopped on
# every way out. Exits non-zero on the first failure.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# Debian packages of the Windows build and of Wine, besides those of setup.sh (firebird-dev for the
# headers, the Firebird server and isql-fb, Xvfb), in two sets: the amd64 ones build every Windows
# program and run the 64-bit ones; the i386 ones give the 32-bit Wine, the tools that build the
# Winelib forwarder and the 32-bit Firebird client, which only the 32-bit steps need. An i386
# package must have the very version of its amd64 twin already installed, so a mirror whose i386
# index lags behind can leave that set uninstallable for days: then the 32-bit steps are skipped
# (BRONTELX_REQUIRE_WIN32=1 makes that a failure).
readonly WINDOWS_PACKAGES=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix googletest wine wine64 fonts-wine gcc-multilib
)
readonly WINDOWS_I386_PACKAGES=(wine32:i386 libwine-dev:i386 wine32-tools:i386 libfbclient2:i386)
readonly WINE64=/usr/lib/wine/wine64
# The longest a test may run (seconds) unless it sets its own limit; then it is killed and fails.
readonly WINE_TIME_LIMIT=180

started=$SECONDS
work=$BRONTELX_ROOT/build/windows-test
xvfb_pid=
server_dir=
server_data=
port=
forwarder_dll=

# Installs both package sets; when the i386 set cannot be installed, i386_missing says why (apt's
# first error line) and the run goes on without the 32-bit steps.
i386_missing=
install_windows_packages() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 architecture"
    brontelx_as_root dpkg --add-architecture i386
    # The index apt fetched before knows no i386 package.
    brontelx_apt_updated=
  fi
  brontelx_install_packages "${WINDOWS_PACKAGES[@]}"
  if ! BRONTELX_QUIET_FAILURE=1 brontelx_install_packages "${WINDOWS_I386_PACKAGES[@]}"; then
    i386_missing="the i386 packages did not install: $(brontelx_apt_first_error "$BRONTELX_ROOT/build/apt.log")"
    echo "The 32-bit Windows steps will be skipped: $i386_missing (apt's output in build/apt.log)"
  fi
}

cleanup() {
  # Ends every Wine program of the prefix and its server.
  [[ -z ${WINEPREFIX:-} ]] || timeout 30 wineserver -k >/dev/null 2>&1 || true
  [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true
  [[ -z $server_dir ]] || "$BRONTELX_ROOT/scripts/fbserver.sh" stop "$server_dir"
  [[ -z $server_data ]] || rm -rf "$server_data"
}

fail() {
  echo "test-windows.sh: $*" >&2
  exit 1
}

# "ORDINAL NAME" for each export of a Windows DLL, from its export table, by ordinal.
exports_of() {
  x86_64-w64-mingw32-objdump -p "$1" | awk '
    /^Ordinal Base/ { base = $3 }
    /^\[Ordinal\/Name Pointer\] Table/ { names = 1; next }
    names && /^\t\[/ { gsub(/[\[\]]/, ""); print base + $1, $2; next }
    names { names = 0 }' | sort -n
}

# The DLLs a Windows program or DLL imports, one per line.
imports_of() {
  x86_64-w64-mingw32-objdump -p "$1" | awk '/^\tDLL Name: / { print $3 }'
}

# BrontelX.dll as the product's 32-bit host needs it: an i386 DLL exporting exactly the entry
# points, undecorated, at their ordinals; the version resource; imports of system DLLs only.
check_library_file() {
  local dll=$1 exports imports version
  x86_64-w64-mingw32-objdump -f "$dll" | grep -q 'file format pei-i386' || fail "$dll is not a 32-bit Windows DLL"
  exports=$(exports_of "$dll")
  [[ $exports == $'4 ShowVelCollaudiPersFormX\n5 ShowVelDatiValidazPersFormX\n6 GetUltimoErroreX' ]] ||
    fail "BrontelX.dll exports other than the entry points at their ordinals:"$'\n'"$exports"
  echo "BrontelX.dll (32-bit) exports, by ordinal:"
  sed 's/^/  /' <<<"$exports"

  # windres reads the resources of a PE file back as resource script text.
  version=$(i686-w64-mingw32-windres -i "$dll" -O rc 2>"$work/windres.err") || fail "windres cannot read $dll; see $work/windres.err"
  local line
  for line in 'FILEVERSION 1, 0, 0, 0' 'PRODUCTVERSION 1, 0, 0, 0' 'VALUE "FileDescription", "BrontelX"' \
    'VALUE "FileVersion", "1.0.0.0"' 'VALUE "ProductName", "BrontelX"' 'VALUE "ProductVersion", "1.0.0.0"'; do
    grep -qF "$line" <<<"$version" || fail "the version resource of BrontelX.dll lacks $line:"$'\n'"$version"
  done
  echo "BrontelX.dll version resource:"
  grep -E 'FILEVERSION|PRODUCTVERSION|VALUE "(FileDescription|FileVersion|ProductName|ProductVersion)"' <<<"$version" |
    sed 's/^ */  /'

  imports=$(imports_of "$dll")
  local dll_name
  while read -r dll_name; do
    case ${dll_name,,} in
      kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | msvcrt.dll) ;;
      *) fail "BrontelX.dll imports $dll_name, which is no system DLL" ;;
    esac
  done <<<"$imports"
  echo "BrontelX.dll imports: $(tr '\n' ' ' <<<"$imports")(fbclient.dll is loaded at run time)"
}

# cmake --install of the 32-bit preset into $2: one folder with the stripped BrontelX.dll, its debug
# information in BrontelX.dll.debug, which the DLL names with its checksum, the notes for the
# host's installer (CR LF line ends) and the stripped support tool brontelx.exe.
install_library() {
  local build=$1 prefix=$2
  local bin=$prefix/bin sections links
  rm -rf "$prefix"
  cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || fail "cmake --install failed; see $work/install.log"
  [[ $(ls "$bin") == $'BrontelX.dll\nBrontelX.dll.debug\nREADME.txt\nbrontelx.exe' ]] ||
    fail "the installed folder holds other than BrontelX.dll, BrontelX.dll.debug, README.txt and brontelx.exe: $(ls "$bin" | tr '\n' ' ')"
  sections=$(x86_64-w64-mingw32-objdump -h "$bin/BrontelX.dll")
  ! grep -q ' \.debug_' <<<"$sections" || fail "the installed BrontelX.dll carries its debug information"
  sections=$(x86_64-w64-mingw32-objdump -h "$bin/BrontelX.dll.debug")
  grep -q ' \.debug_info ' <<<"$sections" || fail "BrontelX.dll.debug holds no debug information"
  # objdump follows the link only to a file of the right name and checksum.
  links=$(cd "$work" && x86_64-w64-mingw32-objdump --dwarf=links --dwarf=follow-links "$bin/BrontelX.dll" 2>&1)
  grep -qF "Found separate debug info file: $bin/BrontelX.dll.debug" <<<"$links" ||
    fail "BrontelX.dll does not lead to BrontelX.dll.debug:"$'\n'"$links"
  grep -qF 'fbclient.dll' "$bin/README.txt" || fail "README.txt does not tell where fbclient.dll goes"
  grep -qF 'brontelx.exe' "$bin/README.txt" || fail "README.txt does not name the support tool brontelx.exe"
  ! grep -q $'[^\r]$' "$bin/README.txt" || fail "README.txt has lines that do not end in CR LF"
  x86_64-w64-mingw32-objdump -f "$bin/brontelx.exe" | grep -q 'file format pei-i386' ||
    fail "the installed brontelx.exe is not a 32-bit Windows program"
  ! x86_64-w64-mingw32-objdump -h "$bin/brontelx.exe" | grep -q ' \.debug_' ||
    fail "the installed brontelx.exe carries its debug information"
  echo "Installed $bin: BrontelX.dll $(stat -c %s "$bin/BrontelX.dll") bytes, stripped;" \
    "BrontelX.dll.debug $(stat -c %s "$bin/BrontelX.dll.debug") bytes, linked by name and checksum; README.txt;" \
    "brontelx.exe $(stat -c %s "$bin/brontelx.exe") bytes, stripped"
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
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # Started first, with its output to /dev/null: the server outlives the programs, and would
  # otherwise hold on to the output of the first one.
  wineserver -p >/dev/null 2>&1
  timeout --kill-after=10 300 "$WINE64" wineboot -i >"$work/wineboot.out" 2>&1 ||
    fail "wineboot failed; see $work/wineboot.out"
  # No window manager runs in Xvfb: Wine draws the windows' frames itself, and does not wait for a
  # window manager's answer when a window hides (seconds each time).
  local key
  for key in Managed Decorated; do
    timeout 60 "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v "$key" /d N /f >>"$work/wineboot.out" 2>&1 ||
      fail "cannot configure Wine's X11 driver; see $work/wineboot.out"
  done
  # Wine's own Tahoma (the windows' font) and Marlett (the frame's buttons) in the prefix's Fonts
  # folder, as on Windows: this Wine does not load the fonts of its data folder. Only Tahoma's
  # regular face: drawn from Wine's bold face, bold text comes out regular; GDI emboldens the
  # regular face instead.
  cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
}

# True when this machine runs i386 Linux programs, which 32-bit Wine is.
i386_runs() {
  printf 'int main(void) { return 0; }\n' >"$work/i386.c"
  gcc -m32 "$work/i386.c" -o "$work/i386-probe" >"$work/i386.log" 2>&1 && "$work/i386-probe" 2>>"$work/i386.log"
}

# fbclient.dll for 32-bit Wine: the Winelib forwarder to the 32-bit Linux client.
build_forwarder() {
  local forwarder=$work/fbclient scratch
  mkdir -p "$forwarder"
  # winegcc splits the paths it hands on at blanks, so it builds in a folder of its own by
  # relative names.
  scratch=$(mktemp -d /tmp/brontelx-winegcc.XXXXXX)
  cp "$BRONTELX_ROOT/tests/wine/fbclient/fbclient.spec" "$BRONTELX_ROOT/tests/wine/fbclient/fbclient.c" "$scratch/"
  if ! (cd "$scratch" && winegcc -m32 -shared -o fbclient.dll fbclient.spec fbclient.c -ldl) \
    >"$work/winegcc.out" 2>&1; then
    rm -rf "$scratch"
    fail "the fbclient.dll forwarder did not build; see $work/winegcc.out"
  fi
  mv "$scratch"/fbclient.dll* "$forwarder/"
  rm -rf "$scratch"
  # Wine loads a Winelib DLL named fbclient.dll as a builtin from the program's folder.
  forwarder_dll=$forwarder/fbclient.dll.so
}

# The private Firebird server of the 32-bit tests, with a lock folder of its own: nothing else
# opens its databases.
start_server() {
  server_dir=$BRONTELX_ROOT/build/windows-fbserver
  port=$(FIREBIRD_LOCK=$server_dir/lock "$BRONTELX_ROOT/scripts/fbserver.sh" start "$server_dir")
  echo "Private Firebird server on 127.0.0.1:$port"
}

# Runs the tests of the build folder $1 with ctest, their output in $work/ctest-$2.log; fails when a
# test fails or is skipped (every test has what it needs here).
run_ctest() {
  local build=$1 name=$2 log=$work/ctest-$2.log
  if ! (cd "$build" && ctest --output-on-failure --timeout "$WINE_TIME_LIMIT") >"$log" 2>&1; then
    cat "$log"
    fail "ctest in $build failed"
  fi
  if grep -q '\*\*\*Skipped\|Not Run' "$log"; then
    cat "$log"
    fail "ctest in $build skipped tests"
  fi
  grep -E '^ *[0-9]+/[0-9]+ Test +#' "$log" | sed 's/^ */  /'
}

brontelx_install_packages
install_windows_packages
brontelx_set_lock_folder
cd "$BRONTELX_ROOT"
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
rm -rf "$work"
mkdir -p "$work"
# Wine turns this machine's file names into Windows ones in the locale's character set.
export LC_ALL=C.UTF-8

for preset in windows-x64 windows-x86; do
  echo "=== $preset: configure, build"
  cmake --preset "$preset" >"$work/configure-$preset.log" || { cat "$work/configure-$preset.log"; fail "configure failed"; }
  cmake --build --preset "$preset"
done
x64=$BRONTELX_ROOT/build/windows-x64
x86=$BRONTELX_ROOT/build/windows-x86

echo "=== BrontelX.dll"
install_library "$x86" "$work/install"
installed_bin=$work/install/bin
check_library_file "$installed_bin/BrontelX.dll"
[[ $(exports_of "$x86/host/win32/brontelx_windowdll.dll") == $'1 OpenSettingsWindow\n2 OpenTestWindow' ]] ||
  fail "the 32-bit window DLL's exports are not the undecorated names at their ordinals"

echo "=== Wine: display and prefix"
start_display
make_prefix

echo "=== 64-bit: ctest under wine64"
run_ctest "$x64" 64

if [[ -z $i386_missing ]] && ! i386_runs; then
  i386_missing="no i386 code runs here, the kernel lacks IA-32 emulation: $(tail -n 1 "$work/i386.log")"
fi
if [[ -z $i386_missing ]]; then
  echo "=== 32-bit: ctest under the 32-bit Wine, a private Firebird server through fbclient.dll"
  build_forwarder
  start_server
  # The test programs that reach the server find fbclient.dll beside them.
  cp "$forwarder_dll" "$x86/tests/wine/fbclient.dll"
  # The databases the end-to-end program creates on the server lie in a folder named in ASCII: the
  # 32-bit client mangles a name beyond ASCII on creating a database there (it opens one fine).
  server_data=$(mktemp -d /tmp/brontelx-fbserver-data.XXXXXX)
  BRONTELX_FB_SERVER=127.0.0.1/$port BRONTELX_FB_DATA=$server_data \
    BRONTELX_INSTALLED=$installed_bin BRONTELX_SCREENSHOTS=$BRONTELX_ROOT/build/windows-screenshots \
    run_ctest "$x86" 32
  echo "Screenshots of BrontelX.dll's windows: $BRONTELX_ROOT/build/windows-screenshots"
  summary="Windows: 64-bit and 32-bit under Wine, BrontelX.dll end to end"
else
  skipped="the 32-bit window, core and host tests, the fbclient.dll check and the end-to-end run of BrontelX.dll and brontelx.exe ($i386_missing)"
  [[ ${BRONTELX_REQUIRE_WIN32:-} != 1 ]] || fail "BRONTELX_REQUIRE_WIN32=1, but the 32-bit steps cannot run: $i386_missing"
  echo "SKIPPED: $skipped"
  summary="Windows: 64-bit under Wine, BrontelX.dll (32-bit) built, checked and installed; SKIPPED: $skipped"
fi

# What ran, for scripts/test.sh's last line.
echo "$summary" >"$work/summary"
echo "$summary: passed in $((SECONDS - started)) s."
