#!/usr/bin/env bash
# A private Firebird server for the tests, bound to 127.0.0.1 on a free port.
#
#   scripts/fbserver.sh start DIR   starts it with DIR as its root folder and prints its port
#   scripts/fbserver.sh stop DIR    stops the server started with that folder
#
# DIR receives links to the packaged engine files, a copy of the character-set library in intl/, a
# firebird.conf and databases.conf of its own, a copy of the packaged plugins.conf, and a security
# database of its own in which SYSDBA's password is "quillbank", the password every connection of
# the library sends (BRONTELX_FB_SERVER_PASSWORD sets another, for a server that must refuse them).
# The system's Firebird configuration and databases are left as they are.
# The server uses the lock folder in FIREBIRD_LOCK (DIR/lock when unset): test processes that open
# the same database files with the embedded engine must use the same folder, so that the engine and
# the server see each other's locks.
set -euo pipefail

# The packaged engine's root folder (/usr/lib/<architecture>/firebird/3.0), where its package put it.
PACKAGED=$(dpkg -L firebird3.0-server-core 2>/dev/null | sed -n 's|/plugins/libEngine12\.so$||p' | head -n 1)
readonly PACKAGED
[[ -n $PACKAGED ]] || { echo "fbserver.sh: firebird3.0-server-core is not installed" >&2; exit 1; }
readonly SERVER=/usr/sbin/firebird
readonly PASSWORD=${BRONTELX_FB_SERVER_PASSWORD:-quillbank}

die() {
  echo "fbserver.sh: $*" >&2
  exit 1
}

# True when something accepts connections on 127.0.0.1:$1.
port_open() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# The pid in DIR/firebird.pid when it is still that server's process.
running_pid() {
  local dir=$1 pid
  [[ -f $dir/firebird.pid ]] || return 1
  pid=$(<"$dir/firebird.pid")
  [[ $pid =~ ^[0-9]+$ ]] && kill -0 "$pid" 2>/dev/null &&
    [[ $(readlink "/proc/$pid/exe" 2>/dev/null) == "$SERVER" ]] || return 1
  echo "$pid"
}

write_config() {
  local dir=$1 port=$2
  cat >"$dir/firebird.conf" <<EOF
# Private test server: loopback only, its own port and security database.
RemoteBindAddress = 127.0.0.1
RemoteServicePort = $port
ServerMode = Super
SecurityDatabase = $dir/security3.fdb
AuthServer = Srp
UserManager = Srp
EOF
  cat >"$dir/databases.conf" <<EOF
security.db = $dir/security3.fdb
{
	RemoteAccess = false
}
EOF
}

# Creates the security database with the embedded engine of this root folder. The Srp plugin
# creates its own tables when the first user is added.
create_security_database() {
  local dir=$1 script
  script=$(mktemp)
  cat >"$script" <<EOF
CREATE DATABASE '$dir/security3.fdb' USER 'SYSDBA';
CREATE USER SYSDBA PASSWORD '$PASSWORD' USING PLUGIN Srp;
COMMIT;
EOF
  if ! FIREBIRD=$dir isql-fb -q -b -i "$script" >"$dir/security.log" 2>&1; then
    rm -f "$script" "$dir/security3.fdb"
    die "cannot create the security database: $(cat "$dir/security.log")"
  fi
  rm -f "$script"
}

start() {
  local dir=$1 pid port attempt
  [[ -x $SERVER ]] || die "$SERVER is missing (package firebird3.0-server)"
  command -v isql-fb >/dev/null || die "isql-fb is missing (package firebird3.0-utils)"
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  if pid=$(running_pid "$dir"); then
    cat "$dir/port"
    return 0
  fi
  export FIREBIRD_LOCK=${FIREBIRD_LOCK:-$dir/lock}
  mkdir -p "$FIREBIRD_LOCK"

  local item
  for item in plugins UDF firebird.msg; do
    ln -sfn "$PACKAGED/$item" "$dir/$item"
  done
  # The character sets (WIN1252 and the rest) load from intl/ of the root folder, and the engine
  # does not load a linked module: a real folder with a copy of the library.
  [[ -L $dir/intl ]] && rm "$dir/intl"
  mkdir -p "$dir/intl"
  cp -u "$PACKAGED/intl/libfbintl.so" "$dir/intl/libfbintl.so"
  cp "$PACKAGED/plugins.conf" "$dir/plugins.conf"
  # The embedded engine that creates the security database reads this root folder too.
  write_config "$dir" 0
  [[ -f $dir/security3.fdb ]] || create_security_database "$dir"

  # Pick a port nobody listens on; should another program take it first, the server exits and
  # the next attempt picks another.
  for attempt in $(seq 1 20); do
    port=$((20000 + RANDOM % 40000))
    port_open "$port" && continue
    write_config "$dir" "$port"
    FIREBIRD=$dir "$SERVER" </dev/null >>"$dir/server.out" 2>&1 &
    pid=$!
    echo "$pid" >"$dir/firebird.pid"
    for _ in $(seq 1 100); do
      if ! kill -0 "$pid" 2>/dev/null; then
        break
      fi
      if port_open "$port"; then
        echo "$port" >"$dir/port"
        echo "$port"
        return 0
      fi
      sleep 0.1
    done
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -f "$dir/firebird.pid"
    echo "fbserver.sh: attempt $attempt on port $port failed" >&2
  done
  die "the server did not start; see $dir/firebird.log and $dir/server.out"
}

stop() {
  local dir=$1 pid
  [[ -d $dir ]] || return 0
  if pid=$(running_pid "$dir"); then
    kill -TERM "$pid"
    for _ in $(seq 1 100); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
      echo "fbserver.sh: server $pid did not stop in 10 s, killing it" >&2
      kill -KILL "$pid" 2>/dev/null || true
      # Gone only once it has exited: until then it holds its database files, and an engine of
      # another kind cannot open them.
      while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
    fi
  fi
  rm -f "$dir/firebird.pid"
}

[[ $# -eq 2 ]] || die "usage: fbserver.sh start|stop DIR"
case $1 in
  start) start "$2" ;;
  stop) stop "$2" ;;
  *) die "usage: fbserver.sh start|stop DIR" ;;
esac
