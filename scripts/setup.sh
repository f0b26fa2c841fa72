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
  clang time
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
# (its last lines are shown when it fails). Nothing is fetched when all are there.
brontelx_install_packages() {
  local missing=() package
  (($# > 0)) || set -- "${BRONTELX_PACKAGES[@]}"
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  ((${#missing[@]} > 0)) || return 0

  local log=$BRONTELX_ROOT/build/apt.log
  mkdir -p "$BRONTELX_ROOT/build"
  echo "Installing ${#missing[@]} Debian packages (apt's output in $log)"
  if ! ( brontelx_run_apt "${missing[@]}" ) >>"$log" 2>&1; then
    tail -n 20 "$log" >&2
    echo "Installing packages failed; apt's whole output is in $log" >&2
    return 1
  fi
  for package in "${missing[@]}"; do
    echo "  installed $package $(dpkg-query -W -f='${Version}' "$package" 2>/dev/null)"
  done
}

# apt-get update and install of the packages given; run in a subshell of its own. Installing
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
  brontelx_as_root apt-get update
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
