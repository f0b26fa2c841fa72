#!/usr/bin/env bash
# Builds the Windows presets (MinGW-w64, windows-x64 and windows-x86) and tests the Windows library
# and its pieces, in an Xvfb display of its own and a fresh Wine prefix under build/:
#   - BrontelX.dll (32-bit) as cmake --install ships it: stripped, its debug information in a file
#     beside it that it links to, the notes for the host's installer, the support tool brontelx.exe;
#     its export table (the entry points, undecorated, at their ordinals), its version resource and
#     its imports (system DLLs only; fbclient.dll is loaded at run time);
#   - under wine64: the Win32 window tests, the core's Windows tests (run from a folder whose name
#     holds "città"), the test host on the DLL that opens the windows (by name and by ordinal,
#     control lists, screenshots), BrontelX.dll where no fbclient.dll exists (-1 and the
#     message, no crash), and brontelx.exe without a client (help, version, usage errors, the
#     client's message and exit status);
#   - where 32-bit code runs on this machine: the same as 32-bit programs, the check that 32-bit
#     Windows code reaches a private Firebird server over TCP through fbclient.dll (the Winelib
#     forwarder to the 32-bit Linux client), and the end-to-end run of BrontelX.dll: the test
#     host opens both windows through the exports by ordinal against real databases on that
#     server, runs "Esegui VelZidBol" and reads EditRisultato; screenshots of both windows; then
#     the conditions of real hosts (tests/wine/HostConditionsTest.cpp): failing calls beside the
#     toolchain's shared libgcc, windows destroyed by the host, by their thread's end and by the
#     process's exit (sessions counted on the server, control names in the atom table), the DLL
#     unloaded before a thread that called it ends; the installed brontelx.exe in that installation
#     (users, location, info, validate, a server that is down). Where 32-bit code cannot run, or the i386
#     packages cannot be installed (a mirror whose i386 index lags behind), one line says so and why,
#     and only those steps are skipped; BRONTELX_REQUIRE_WIN32=1 makes that a failure instead.
# Installs missing packages first (with the i386 architecture). Every Wine program runs with a
# time limit and its output in files under build/windows-test; Wine's server, Xvfb and the Firebird
# server are stopped on every way out. Exits non-zero on the first failure.
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
readonly WINE32=/usr/lib/wine/wine
# The longest any one Wine program may run (seconds); then it is killed and the run fails.
readonly WINE_TIME_LIMIT=180
# SYSDBA's password on the private server (scripts/fbserver.sh).
readonly FB_PASSWORD=quillbank

started=$SECONDS
work=$BRONTELX_ROOT/build/windows-test
xvfb_pid=
server_dir=
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

# Runs a Windows program with the Wine loader $1, from the program's folder, for at most
# WINE_TIME_LIMIT seconds; its output goes to $work/NAME.out and NAME.err (never a pipe: the Wine
# server would keep it open), with the CR of Windows's line ends taken off. Returns the program's
# exit status.
run_windows() {
  local loader=$1 name=$2 program=$3 status=0
  shift 3
  (cd "$(dirname "$program")" &&
    timeout --kill-after=10 "$WINE_TIME_LIMIT" "$loader" "$(basename "$program")" "$@" \
      >"$work/$name.out" 2>"$work/$name.err") || status=$?
  sed -i 's/\r$//' "$work/$name.out" "$work/$name.err"
  return "$status"
}

# Runs the GoogleTest program $3 under loader $1 (its output kept as $work/$2.out and .err) and
# prints its count of passed tests after the label $4, or fails showing its output. The output must
# report passed tests and no failed one: a Wine program that crashes may still end with status 0.
run_gtests() {
  local loader=$1 name=$2 program=$3 label=$4
  if ! run_windows "$loader" "$name" "$program" || ! grep -q '^\[  PASSED  \]' "$work/$name.out" ||
    grep -q '^\[  FAILED  \]' "$work/$name.out"; then
    cat "$work/$name.out" "$work/$name.err"
    fail "$label: failed"
  fi
  echo "$label: $(grep -E '^\[  PASSED  \]' "$work/$name.out")"
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

# The Windows test host on the DLL that opens the windows: the test window by name, the settings
# window by ordinal; each one listed, photographed, closed and destroyed.
check_host() {
  local loader=$1 build=$2 bits=$3
  local host=$build/host/win32/brontelx-winhost.exe
  run_windows "$loader" "host$bits-test" "$host" brontelx_windowdll.dll OpenTestWindow --close \
    --controls "$(windows_path "$work/test-window$bits.txt")" \
    --screenshot "$(windows_path "$work/host-test-window$bits.png")" ||
    fail "the host failed on the test window; see $work/host$bits-test.*"
  grep -qxF $'Edit\tEditRisultato\t16,226,450,24\tGroupBoxCollaudo\treadonly,tabstop\t' "$work/test-window$bits.txt" ||
    fail "the test window's controls are not as described; see $work/test-window$bits.txt"
  run_windows "$loader" "host$bits-settings" "$host" brontelx_windowdll.dll '#1' --close \
    --controls "$(windows_path "$work/settings-window$bits.txt")" \
    --screenshot "$(windows_path "$work/host-settings-window$bits.png")" ||
    fail "the host failed on the settings window; see $work/host$bits-settings.*"
  grep -qxF $'Button\tButtonChiudi\t541,8,75,25\t\ttabstop\tChiudi' "$work/settings-window$bits.txt" ||
    fail "the settings window's controls are not as described; see $work/settings-window$bits.txt"
  grep -q "window closed and destroyed" "$work/host$bits-settings.out" || fail "the settings window outlived its close"
  local shot
  for shot in "$work/host-test-window$bits.png" "$work/host-settings-window$bits.png"; do
    [[ $(head -c 8 "$shot" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "$shot is no PNG"
  done
  echo "Test host ($bits-bit): both windows opened by name and by ordinal, listed, photographed, closed"
}

run_window_tests() {
  local loader=$1 build=$2 bits=$3
  run_gtests "$loader" "window-tests$bits" "$build/tests/win32/brontelx_win32_tests.exe" "Win32 window tests ($bits-bit)"
}

# The core's Windows tests, from a folder whose name Windows-1252 cannot write in full: the user
# directory is looked for beside the program, and file names go through UTF-16.
run_core_tests() {
  local loader=$1 build=$2 bits=$3
  local folder="$work/programmi città € $bits"
  mkdir -p "$folder"
  cp "$build/tests/win32core/brontelx_win32_core_tests.exe" "$folder/"
  run_gtests "$loader" "core-tests$bits" "$folder/brontelx_win32_core_tests.exe" "Core tests on Windows ($bits-bit)"
}

# BrontelX.dll where no fbclient.dll can be found: the entry point returns -1, GetUltimoErroreX
# names the library, and the host goes on (exit status 1: the call failed; a crash would be
# another).
check_missing_client() {
  local loader=$1 build=$2 bits=$3
  local folder=$work/no-client$bits status=0
  mkdir -p "$folder"
  cp "$build/host/win32/brontelx-winhost.exe" "$build/library/BrontelX.dll" "$folder/"
  run_windows "$loader" "no-client$bits" "$folder/brontelx-winhost.exe" BrontelX.dll '#4' --user 1 \
    --error GetUltimoErroreX || status=$?
  [[ $status -eq 1 ]] || fail "the host ended with status $status without fbclient.dll; see $work/no-client$bits.*"
  grep -qxF '#4 returned -1' "$work/no-client$bits.out" ||
    fail "ShowVelCollaudiPersFormX did not return -1 without fbclient.dll; see $work/no-client$bits.out"
  local message
  message=$(sed -n 's/^error: //p' "$work/no-client$bits.out")
  [[ $message == "Cannot load the Firebird client library fbclient.dll: "?* ]] ||
    fail "GetUltimoErroreX does not name fbclient.dll: '$message'"
  echo "BrontelX.dll ($bits-bit) without fbclient.dll: ShowVelCollaudiPersFormX returned -1; GetUltimoErroreX: $message"
}

# Runs the support tool $3 under loader $1 as run_windows does (output in $work/$2.out and .err) and
# fails unless it ends with exit status $4.
run_tool() {
  local loader=$1 name=$2 tool=$3 expected=$4 status=0
  shift 4
  run_windows "$loader" "$name" "$tool" "$@" || status=$?
  [[ $status -eq $expected ]] ||
    fail "brontelx.exe $* ended with status $status, not $expected; see $work/$name.out and .err"
}

# The support tool where no fbclient.dll exists, from a folder whose name Windows-1252 cannot write:
# help, version, usage errors (exit 2), the demo it lacks, and a batch from a file of such a name,
# which reads the file and then fails to load the client (exit 3, the message and its hint). The
# arguments reach it in UTF-16 and its output is UTF-8.
check_tool_without_client() {
  local loader=$1 build=$2 bits=$3
  local folder="$work/supporto città €$bits" tool
  mkdir -p "$folder"
  cp "$build/host/brontelx.exe" "$folder/"
  tool=$folder/brontelx.exe

  run_tool "$loader" "tool$bits-help" "$tool" 0 --help
  grep -qF 'usage: brontelx validate USER DATUM...' "$work/tool$bits-help.out" || fail "brontelx.exe --help shows no synopsis"
  grep -qF 'demo      is not in the Windows build' "$work/tool$bits-help.out" ||
    fail "brontelx.exe --help does not say that demo is not in the Windows build"
  run_tool "$loader" "tool$bits-validate-help" "$tool" 0 validate 1 --help
  grep -q '^validate  ' "$work/tool$bits-validate-help.out" || fail "brontelx.exe validate --help does not show validate's help"

  run_tool "$loader" "tool$bits-version" "$tool" 0 --version
  [[ $(head -n 1 "$work/tool$bits-version.out") == 'brontelx 1.0.0.0' ]] || fail "brontelx.exe --version does not name its version"
  grep -qF 'Firebird client not loaded: Cannot load the Firebird client library fbclient.dll: ' \
    "$work/tool$bits-version.out" || fail "brontelx.exe --version does not say why the client is not loaded"

  run_tool "$loader" "tool$bits-usage" "$tool" 2 info città
  grep -qxF 'brontelx: USER must be a user code, a whole number such as 1, not "città"' "$work/tool$bits-usage.err" ||
    fail "brontelx.exe did not get or did not write the argument città whole; see $work/tool$bits-usage.err"
  run_tool "$loader" "tool$bits-demo" "$tool" 2 demo
  grep -q '^brontelx: demo is not in the Windows build' "$work/tool$bits-demo.err" ||
    fail "brontelx.exe demo does not say that it is not in the Windows build"

  local data="$folder/codici città.txt"
  printf 'BOL-1\r\nBOL-2\r\n' >"$data"
  run_tool "$loader" "tool$bits-no-client" "$tool" 3 validate 1 --file "$(windows_path "$data")"
  local err=$work/tool$bits-no-client.err
  grep -qxF 'brontelx: cannot attach the user directory' "$err" || fail "brontelx.exe does not say what failed; see $err"
  grep -qxF "  database: $(windows_path "$folder")\\user\\user.fdb" "$err" ||
    fail "brontelx.exe does not name the user directory beside itself; see $err"
  grep -qF '  Cannot load the Firebird client library fbclient.dll: ' "$err" ||
    fail "brontelx.exe does not say that fbclient.dll cannot be loaded; see $err"
  grep -qF '  hint: put the Firebird client fbclient.dll' "$err" || fail "brontelx.exe gives no hint where fbclient.dll goes; see $err"
  echo "brontelx.exe ($bits-bit): --help, --version, usage errors and demo (exit 2); without fbclient.dll," \
    "validate --file (exit 3):"
  sed 's/^/  /' "$err"
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

# The private Firebird server of the 32-bit steps, with a lock folder of its own: nothing else
# opens its databases.
start_server() {
  server_dir=$BRONTELX_ROOT/build/windows-fbserver
  port=$(FIREBIRD_LOCK=$server_dir/lock "$BRONTELX_ROOT/scripts/fbserver.sh" start "$server_dir")
  echo "Private Firebird server on 127.0.0.1:$port"
}

# The 32-bit Windows check program reaches the private server through fbclient.dll.
check_fbclient() {
  local build=$1
  cp "$forwarder_dll" "$build/tests/wine/fbclient.dll"
  local database=$server_dir/fbclient-check.fdb
  rm -f "$database"
  if ! run_windows "$WINE32" fbclient-check "$build/tests/wine/brontelx_fbclient_check.exe" "127.0.0.1/$port" "$database"; then
    cat "$work/fbclient-check.out" "$work/fbclient-check.err"
    fail "32-bit Windows code did not reach the Firebird server through fbclient.dll"
  fi
  echo "fbclient.dll forwarder: $(grep -c '^ok:' "$work/fbclient-check.out") steps passed (LoadLibrary, master interface, TCP attach, UTF-8 text)"
}

# Text for a '...' literal of SQL: apostrophes doubled.
sql_text() {
  local text=$1
  echo "${text//\'/\'\'}"
}

# Runs SQL text (standard input) with isql-fb on the private server; the text connects or creates
# its databases itself. $1 names the files the text and isql's output are kept in.
server_isql() {
  local name=$1
  cat >"$work/$name.sql"
  timeout 120 isql-fb -q -b -ch UTF8 -i "$work/$name.sql" >"$work/$name.out" 2>&1 ||
    fail "isql-fb failed on $work/$name.sql; see $work/$name.out"
}

# The value of a one-column, one-row query on a database of the private server.
server_value() {
  local database=$1 query=$2
  server_isql value <<EOF
SET HEADING OFF;
CONNECT '127.0.0.1/$port:$(sql_text "$database")' USER 'SYSDBA' PASSWORD '$FB_PASSWORD';
$query;
EOF
  awk 'NF { $1 = $1; print; exit }' "$work/value.out"
}

# The three databases of the end-to-end run on the private server, from the project's schema: the
# user directory in Windows-1252 (as the product's Windows programs write it) with user 1 "Niccolò
# Bianchi" of "Città Srl", whose "Archivio" is the Windows path $2, and user 2, whose "Archivio" is
# the Windows path $3; the company archive in UTF-8 with the location of the delivery notes and an
# opened chain holding BOL-1001; the delivery notes BOL-1001 and BOL-1002, without a character set.
create_end_to_end_databases() {
  local data=$1 archive_path=$2 unreachable_archive_path=$3
  local server
  server=127.0.0.1/$port:$(sql_text "$data")
  rm -rf "$data"
  mkdir -p "$data"
  server_isql end-to-end-databases <<EOF
SET NAMES UTF8;
CREATE DATABASE '$server/user.fdb' USER 'SYSDBA' PASSWORD '$FB_PASSWORD' DEFAULT CHARACTER SET WIN1252;
$(cat "$BRONTELX_ROOT/schema/UserDirectory.sql")
INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA, PWDUTENTE, PROFILOSICUREZZA) VALUES (1, 'Niccolò Bianchi', 'Città Srl', 'niccolo', 1);
INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) VALUES (1, 'Città Srl', 'Archivio', '$(sql_text "$archive_path")', 1);
INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA, PWDUTENTE, PROFILOSICUREZZA) VALUES (2, 'Anna Neri', 'Spenta Srl', 'anna', 1);
INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) VALUES (2, 'Spenta Srl', 'Archivio', '$(sql_text "$unreachable_archive_path")', 1);
INSERT INTO TELVILOGFUNZ (IDFINESTRA, FUNZIONE, DATAAPERTURA) VALUES (100, 'Collaudo Personalizzazioni', CURRENT_TIMESTAMP);
INSERT INTO TELVILOGFUNZ (IDFINESTRA, FUNZIONE, DATAAPERTURA) VALUES (101, 'VelDatiValidazPers', CURRENT_TIMESTAMP);
COMMIT;
CREATE DATABASE '$server/archivio.fdb' USER 'SYSDBA' PASSWORD '$FB_PASSWORD' DEFAULT CHARACTER SET UTF8;
$(cat "$BRONTELX_ROOT/schema/Archive.sql")
INSERT INTO TABX (CODICE, NOME, TESTO, UTENTE) VALUES (GEN_ID(CODICETABXCOUNTER, 1), 'VelZidBolDBRux', '$server/rux.fdb', NULL);
INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES (1, 1, 'APERTURA', 1);
INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES (2, 1, 'BOL-1001', 1);
COMMIT;
CREATE DATABASE '$server/rux.fdb' USER 'SYSDBA' PASSWORD '$FB_PASSWORD';
$(cat "$BRONTELX_ROOT/schema/DeliveryNotes.sql")
INSERT INTO BOLLE (BOL_COD, BOL_DATA, BOL_CLIENTE) VALUES ('BOL-1001', CURRENT_DATE, 'Cliente');
INSERT INTO BOLLE (BOL_COD, BOL_DATA, BOL_CLIENTE) VALUES ('BOL-1002', CURRENT_DATE, 'Cliente');
COMMIT;
EOF
}

# A dati.ini of section CONFIG, in Windows's line ends, with the key=value lines given.
write_dati_ini() {
  local file=$1
  shift
  {
    printf '[CONFIG]\r\n'
    printf '%s\r\n' "$@"
  } >"$file"
}

# The 32-bit BrontelX.dll in an installation's shape, reaching its databases on the private server
# through the 32-bit client: the host's folder holds the host, fbclient.dll and user\dati.ini,
# whose PercorsoDatabase sends the user directory (user\user.fdb beside the host) to the server;
# the user's "Archivio" is a Windows path whose folder holds only a dati.ini naming the server
# ("Nome Server") and the database there ("Alias"); the stored location of the delivery notes is a
# server:path connection string. BrontelX.dll, as installed, lies in a folder of its own, away from
# the host, as the user directory belongs beside the host, not the library.
check_end_to_end() {
  local build=$1
  local e2e=$work/end-to-end
  local data=$e2e/data
  local host_dir="$e2e/programmi città"
  local library_dir=$e2e/plugins
  local archive_dir="$e2e/archivio città"
  local unreachable_dir=$e2e/archivio-spento
  rm -rf "$e2e"
  mkdir -p "$host_dir/user" "$library_dir" "$archive_dir" "$unreachable_dir"
  create_end_to_end_databases "$data" "$(windows_path "$archive_dir")\\archivio.fdb" \
    "$(windows_path "$unreachable_dir")\\archivio.fdb"
  write_dati_ini "$host_dir/user/dati.ini" "PercorsoDatabase=127.0.0.1/$port:$data/user.fdb"
  write_dati_ini "$archive_dir/dati.ini" "Nome Server=127.0.0.1/$port" "Alias=$data/archivio.fdb"
  # User 2's archive lies on a server that is down: nothing listens on port 1.
  write_dati_ini "$unreachable_dir/dati.ini" "Nome Server=127.0.0.1/1" "Alias=$data/archivio.fdb"
  cp "$build/host/win32/brontelx-winhost.exe" "$host_dir/"
  cp "$forwarder_dll" "$host_dir/fbclient.dll"
  cp "$installed_library" "$library_dir/"
  local library
  library=$(windows_path "$library_dir/BrontelX.dll")
  local shots=$BRONTELX_ROOT/build/windows-screenshots
  mkdir -p "$shots"

  # The test window through ordinal 4: a datum missing from the delivery notes, one in no opened
  # chain, one in an opened chain; the screenshot shows the last result.
  run_windows "$WINE32" end-to-end-test "$host_dir/brontelx-winhost.exe" "$library" '#4' \
    --user 1 --window-log 100 --error GetUltimoErroreX \
    --set EditDatoAcquisito=BOL-9999 --click ButtonTestVelZidBol --read EditRisultato \
    --set EditDatoAcquisito=BOL-1002 --click ButtonTestVelZidBol --read EditRisultato \
    --set EditDatoAcquisito=BOL-1001 --click ButtonTestVelZidBol --read EditRisultato \
    --screenshot "$(windows_path "$shots/win32-test-window.png")" --close ||
    fail "the end-to-end run of the test window failed; see $work/end-to-end-test.*"
  local out=$work/end-to-end-test.out
  grep -qxF '#4 returned 0' "$out" || fail "ShowVelCollaudiPersFormX did not return 0; see $out"
  local window
  window=$(sed -n 's/^window \([0-9]*\): Collaudo Personalizzazioni - Utente: Niccolò Bianchi - Ditta: Città Srl$/\1/p' "$out")
  [[ -n $window ]] || fail "the test window's caption does not name the user and company; see $out"
  local expected
  expected=$(printf '%s\n' \
    "EditRisultato: ERR - Bolletta BOL-9999 non trovata nell'archivio RUX." \
    "EditRisultato: ERR - Bolletta BOL-1002 non associata a nessuna catena di APERTURA." \
    "EditRisultato: OK")
  [[ $(grep '^EditRisultato: ' "$out") == "$expected" ]] ||
    fail "EditRisultato did not show the expected results; see $out"
  grep -qxF 'window closed and destroyed' "$out" || fail "the test window outlived its close; see $out"
  [[ $(server_value "$data/user.fdb" "SELECT HANDLEFINESTRA FROM TELVILOGFUNZ WHERE IDFINESTRA = 100") == "$window" ]] ||
    fail "the window log row 100 does not hold the test window's handle $window"
  [[ $(server_value "$data/archivio.fdb" "SELECT COUNT(*) FROM STOPOS1 WHERE CodiceSituazione = 2 AND CodiceUtente = 1 AND CodiceProgetto = 541") == 1 ]] ||
    fail "closing the test window stored no placement"
  echo "BrontelX.dll (32-bit), test window through ordinal 4, user directory and archive on the server:"
  sed -n 's/^window [0-9]*: /  caption: /p; s/^EditRisultato: /  EditRisultato: /p' "$out"
  echo "  window handle $window recorded in the window log; placement stored on close"

  # The settings window through ordinal 5 shows the stored location of the delivery notes.
  run_windows "$WINE32" end-to-end-settings "$host_dir/brontelx-winhost.exe" "$library" '#5' \
    --user 1 --window-log 101 --error GetUltimoErroreX --read EditVelZidBolDBRux \
    --screenshot "$(windows_path "$shots/win32-settings-window.png")" --close ||
    fail "the end-to-end run of the settings window failed; see $work/end-to-end-settings.*"
  out=$work/end-to-end-settings.out
  grep -qxF '#5 returned 0' "$out" || fail "ShowVelDatiValidazPersFormX did not return 0; see $out"
  grep -qxF "EditVelZidBolDBRux: 127.0.0.1/$port:$data/rux.fdb" "$out" ||
    fail "the settings window does not show the stored location; see $out"
  echo "BrontelX.dll (32-bit), settings window through ordinal 5: $(sed -n 's/^EditVelZidBolDBRux: /EditVelZidBolDBRux = /p' "$out")"
  echo "Screenshots of BrontelX.dll's windows: $shots"

  check_host_conditions "$build" "$host_dir" "$library" "$data"
  check_tool_end_to_end "$host_dir" "$data" "$archive_dir"
}

# The installed brontelx.exe (32-bit) in the host's folder of the end-to-end installation, where
# fbclient.dll and user\dati.ini are: users, location, info and validate on the private server, and
# exit status 3 for user 2, whose archive's server is down.
check_tool_end_to_end() {
  local host_dir=$1 data=$2 archive_dir=$3
  cp "$work/install/bin/brontelx.exe" "$host_dir/"
  local tool=$host_dir/brontelx.exe

  run_tool "$WINE32" tool-users "$tool" 0 users
  grep -qxF $'1\tNiccolò Bianchi\tCittà Srl\t'"$(windows_path "$archive_dir")\\archivio.fdb" "$work/tool-users.out" ||
    fail "brontelx.exe users does not list user 1 with company and Archivio; see $work/tool-users.out"
  run_tool "$WINE32" tool-location "$tool" 0 location 1
  [[ $(<"$work/tool-location.out") == "127.0.0.1/$port:$data/rux.fdb" ]] ||
    fail "brontelx.exe location 1 does not show the stored location; see $work/tool-location.out"
  run_tool "$WINE32" tool-info "$tool" 0 info 1
  [[ $(grep -cxF '  attaches: yes' "$work/tool-info.out") == 3 ]] ||
    fail "brontelx.exe info 1 does not show three databases that attach; see $work/tool-info.out"
  run_tool "$WINE32" tool-validate "$tool" 1 validate 1 BOL-9999 BOL-1002 BOL-1001 --format tsv
  [[ $(<"$work/tool-validate.out") == $'BOL-9999\tERR - Bolletta BOL-9999 non trovata nell\'archivio RUX.\nBOL-1002\tERR - Bolletta BOL-1002 non associata a nessuna catena di APERTURA.\nBOL-1001\tOK' ]] ||
    fail "brontelx.exe validate did not give the expected results; see $work/tool-validate.out"
  run_tool "$WINE32" tool-unreachable "$tool" 3 validate 2 BOL-1001
  grep -qF 'brontelx: cannot attach the company archive' "$work/tool-unreachable.err" ||
    fail "brontelx.exe does not say which database it could not reach; see $work/tool-unreachable.err"
  echo "brontelx.exe (32-bit) in the host's folder, databases on the server: users, location, info (3 attach)," \
    "validate (1, results as the test window's), an archive whose server is down (3)"
}

# BrontelX.dll in the conditions of real hosts (tests/wine/HostConditionsTest.cpp), in the
# end-to-end installation: the program runs in the host's folder beside the toolchain's shared
# libgcc (and the threads library it needs), which it loads before the library.
check_host_conditions() {
  local build=$1 host_dir=$2 library=$3 data=$4 runtime
  cp "$build/tests/wine/brontelx_host_conditions_tests.exe" "$host_dir/"
  for runtime in libgcc_s_dw2-1.dll libwinpthread-1.dll; do
    cp "$(i686-w64-mingw32-g++-posix -print-file-name="$runtime")" "$host_dir/" ||
      fail "the toolchain has no $runtime"
  done
  BRONTELX_LIBRARY=$library BRONTELX_USER_DATABASE=127.0.0.1/$port:$data/user.fdb \
    BRONTELX_ARCHIVE=127.0.0.1/$port:$data/archivio.fdb \
    run_gtests "$WINE32" host-conditions "$host_dir/brontelx_host_conditions_tests.exe" \
    "BrontelX.dll (32-bit) beside the shared libgcc, windows destroyed by the host, by their thread's end, by the process's exit, unloaded before a calling thread ends"
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
installed_library=$work/install/bin/BrontelX.dll
check_library_file "$installed_library"
[[ $(exports_of "$x86/host/win32/brontelx_windowdll.dll") == $'1 OpenSettingsWindow\n2 OpenTestWindow' ]] ||
  fail "the 32-bit window DLL's exports are not the undecorated names at their ordinals"

echo "=== Wine: display and prefix"
start_display
make_prefix

echo "=== 64-bit"
run_window_tests "$WINE64" "$x64" 64
run_core_tests "$WINE64" "$x64" 64
check_host "$WINE64" "$x64" 64
check_missing_client "$WINE64" "$x64" 64
check_tool_without_client "$WINE64" "$x64" 64

if [[ -z $i386_missing ]] && ! i386_runs; then
  i386_missing="no i386 code runs here, the kernel lacks IA-32 emulation: $(tail -n 1 "$work/i386.log")"
fi
if [[ -z $i386_missing ]]; then
  echo "=== 32-bit"
  run_window_tests "$WINE32" "$x86" 32
  run_core_tests "$WINE32" "$x86" 32
  check_host "$WINE32" "$x86" 32
  check_missing_client "$WINE32" "$x86" 32
  check_tool_without_client "$WINE32" "$x86" 32
  build_forwarder
  start_server
  check_fbclient "$x86"
  check_end_to_end "$x86"
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
