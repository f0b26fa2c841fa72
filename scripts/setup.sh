# shellcheck shell=bash
# Set-up shared by the scripts (test, demo, bench, fuzz, test-windows); sourced by them, not run on
# its own.

BRONTELX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly BRONTELX_ROOT

# Everything the build, the tests, the benchmarks and the demo need; all are Debian 12 packages.
readonly BRONTELX_PACKAGES=(
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils firebird3.0-server
  qt6-base-dev fonts-dejavu-core fonts-wine xvfb xauth
  cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev
  clang time pkgconf
)

# The command prefix that runs a command as root: nothing for root, sudo otherwise; fails with a
# message when neither can.
brontelx_as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "Run as root or install sudo: '$*' needs root." >&2
    return 1
  fi
}

# Installs the packages given (BRONTELX_PACKAGES when none are) that are missing, with sudo when
# not root, and prints one line per package installed; apt's whole output goes to build/apt.log
# (its last lines are shown when it fails). Nothing is fetched when all are there. A mirror whose
# index lags behind its files or release file can make both steps fail for a while: the package
# index is fetched again when it could not be fetched whole, and the installation is tried again on
# a fresh index when a package file could not be fetched. Nothing installed is ever downgraded or
# pinned. With BRONTELX_QUIET_FAILURE set, a failure prints nothing (the caller reports it, with
# brontelx_apt_first_error).
brontelx_install_packages() {
  local missing=() package
  (($# > 0)) || set -- "${BRONTELX_PACKAGES[@]}"
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  ((${#missing[@]} > 0)) || return 0

  local log=$BRONTELX_ROOT/build/apt.log attempt
  mkdir -p "$BRONTELX_ROOT/build"
  echo "Installing ${#missing[@]} Debian packages (apt's output in $log)"
  for attempt in 1 2; do
    brontelx_apt_update "$log"
    brontelx_apt_mark "$log"
    ( brontelx_run_apt "${missing[@]}" ) >>"$log" 2>&1 && break
    # Only a package file that a lagging mirror no longer serves is worth a second try.
    if ((attempt == 2)) || ! brontelx_apt_since_mark "$log" | grep -q '^E: Failed to fetch'; then
      if [[ -z ${BRONTELX_QUIET_FAILURE:-} ]]; then
        tail -n 20 "$log" >&2
        echo "Installing packages failed ($(brontelx_apt_first_error "$log")); apt's whole output is in $log" >&2
      fi
      return 1
    fi
    brontelx_apt_updated=
  done
  for package in "${missing[@]}"; do
    echo "  installed $package $(dpkg-query -W -f='${Version}' "$package" 2>/dev/null)"
  done
}

# apt-get update, once per run of a script, into the log $1. A run that failed or could not fetch
# every index (a mirror in the middle of a sync, a network hiccup) is repeated after a pause, up to
# three times in all; after that apt goes on with the indexes it has, and an installation fails
# later only if a package needs what is missing.
brontelx_apt_updated=
brontelx_apt_update() {
  local log=$1 attempt status
  [[ -z $brontelx_apt_updated ]] || return 0
  for attempt in 1 2 3; do
    brontelx_apt_mark "$log"
    status=0
    brontelx_as_root apt-get update >>"$log" 2>&1 || status=$?
    if ((status == 0)) &&
      ! brontelx_apt_since_mark "$log" | grep -qE '^[WE]: (Failed to fetch|Some index files failed to download)'; then
      break
    fi
    if ((attempt == 3)); then
      echo "apt-get update did not fetch every package index ($(brontelx_apt_first_error "$log")); going on with those it has"
      break
    fi
    sleep $((attempt * 10))
  done
  brontelx_apt_updated=1
}

# A line in the log $1 that marks where the next apt command's output starts.
brontelx_apt_mark() {
  echo "=== $(date -u '+%F %T') ===" >>"$1"
}

# The log $1 from its last mark on.
brontelx_apt_since_mark() {
  tac "$1" | sed '/^=== [0-9-]* [0-9:]* ===$/q' | tac
}

# apt's first error line since the last mark of the log $1; its first warning when it wrote no
# error, its last line when neither.
brontelx_apt_first_error() {
  local output
  output=$(brontelx_apt_since_mark "$1")
  grep -m 1 '^E: ' <<<"$output" || grep -m 1 '^W: ' <<<"$output" || tail -n 1 <<<"$output"
}

# apt-get install of the packages given; run in a subshell of its own. Installing
# firebird3.0-server would start the system's Firebird service, which the tests do not use: a
# policy-rc.d that refuses service starts keeps it stopped while the packages install, and goes
# again however the subshell ends (an interruption included).
brontelx_run_apt() {
  local policy=/usr/sbin/policy-rc.d
  if [[ " $* " == *" firebird3.0-server "* && ! -e $policy ]]; then
    # Expanded now: the trap may run after this function has returned.
    trap "brontelx_as_root rm -f $policy" EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    trap 'exit 129' HUP
    printf '#!/bin/sh\nexit 101\n' | brontelx_as_root tee "$policy" >/dev/null
    brontelx_as_root chmod 755 "$policy"
  fi
  brontelx_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$@"
}

# The embedded Firebird engine keeps its lock files in FIREBIRD_LOCK (a folder under /tmp that only
# root may write otherwise). The tests, the demo and the private test server share one folder, so
# that the engine of a test process and the server notice when both open the same database file.
brontelx_set_lock_folder() {
  export FIREBIRD_LOCK=${FIREBIRD_LOCK:-$BRONTELX_ROOT/build/firebird-lock}
  mkdir -p "$FIREBIRD_LOCK"
  # Shared by every user of the machine in group firebird: the setgid bit gives the lock files
  # the engine creates that group (see docs/FIREBIRD.md). Only root can give a folder the group.
  if [[ $EUID -eq 0 ]] && getent group firebird >/dev/null; then
    chgrp firebird "$FIREBIRD_LOCK" && chmod 2770 "$FIREBIRD_LOCK"
  fi
}

# What every command does first: packages, the lock folder, and the project root as working folder.
brontelx_prepare() {
  brontelx_install_packages
  brontelx_set_lock_folder
  cd "$BRONTELX_ROOT"
}
