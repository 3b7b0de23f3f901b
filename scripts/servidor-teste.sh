#!/usr/bin/env bash
# Starts or stops a real Firebird server on 127.0.0.1:3050 for the tests of "localhost:"
# locations, without systemd. SYSDBA's password becomes "quindorex".
#
#   scripts/servidor-teste.sh start   # idempotent: nothing to do when the server answers
#   scripts/servidor-teste.sh stop    # stops only the server this script started
#
# The server runs as the user firebird; the files it opens must be that user's (the test helper
# hands them over), and so must its lock folder /tmp/firebird.
set -uo pipefail

SENHA="quindorex"
PORTA=3050
SEGURANCA="${QUORVEL_FB_SEGURANCA:-/var/lib/firebird/3.0/system/security3.fdb}"
SERVIDOR="${QUORVEL_FB_SERVIDOR:-/usr/sbin/firebird}"
ESTADO="${QUORVEL_FB_ESTADO:-/tmp/quorvel-servidor-teste}"
PIDFILE="$ESTADO/firebird.pid"
LOG="$ESTADO/firebird.log"

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

responde() {
  (exec 3<>"/dev/tcp/127.0.0.1/$PORTA") 2>/dev/null
}

pid_nosso() {
  [ -f "$PIDFILE" ] || return 1
  local pid
  pid="$(cat "$PIDFILE" 2>/dev/null)"
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && echo "$pid"
}

como_firebird() {
  $SUDO setpriv --reuid=firebird --regid=firebird --init-groups "$@"
}

start() {
  if responde; then
    echo "Firebird server already answers on 127.0.0.1:$PORTA"
    return 0
  fi
  for p in "$SERVIDOR" /usr/bin/isql-fb; do
    [ -x "$p" ] || { echo "missing $p: run scripts/install-deps.sh" >&2; return 1; }
  done
  id firebird >/dev/null 2>&1 || { echo "the user firebird does not exist" >&2; return 1; }
  $SUDO mkdir -p "$ESTADO"
  $SUDO chmod 0755 "$ESTADO"

  # The lock folder belongs to the server's user (an embedded use by root may have made it).
  $SUDO mkdir -p /tmp/firebird
  $SUDO chown -R firebird:firebird /tmp/firebird
  $SUDO chmod 0770 /tmp/firebird

  # The password is set in the security database while no server holds it.
  if ! printf "CREATE OR ALTER USER SYSDBA PASSWORD '%s';\nCOMMIT;\n" "$SENHA" |
       como_firebird /usr/bin/isql-fb -q -user SYSDBA "$SEGURANCA" >"$ESTADO/isql.log" 2>&1; then
    echo "could not set the SYSDBA password:" >&2
    cat "$ESTADO/isql.log" >&2
    return 1
  fi

  $SUDO touch "$LOG"
  $SUDO chown firebird:firebird "$LOG"
  # setsid keeps the server out of the caller's process group and terminal.
  $SUDO setsid setpriv --reuid=firebird --regid=firebird --init-groups "$SERVIDOR" \
    >>"$LOG" 2>&1 </dev/null &
  echo $! | $SUDO tee "$PIDFILE" >/dev/null

  for _ in $(seq 1 150); do
    if responde; then
      # Record the process that listens, whatever setsid did about forking.
      local ouvinte
      ouvinte="$($SUDO ss -ltnpH "sport = :$PORTA" 2>/dev/null | grep -o 'pid=[0-9]*' | head -n1 | cut -d= -f2)"
      [ -n "$ouvinte" ] && echo "$ouvinte" | $SUDO tee "$PIDFILE" >/dev/null
      echo "Firebird server answers on 127.0.0.1:$PORTA (pid $(cat "$PIDFILE"))"
      return 0
    fi
    if ! pid_nosso >/dev/null && ! pgrep -u firebird -x firebird >/dev/null; then
      echo "the Firebird server ended at start:" >&2
      tail -n 20 "$LOG" >&2
      return 1
    fi
    sleep 0.2
  done
  echo "the Firebird server did not answer on port $PORTA" >&2
  tail -n 20 "$LOG" >&2
  return 1
}

stop() {
  local pid
  if ! pid="$(pid_nosso)"; then
    $SUDO rm -f "$PIDFILE"
    echo "no test server of ours is running"
    return 0
  fi
  $SUDO kill -TERM "$pid"
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "the Firebird server (pid $pid) did not stop" >&2
    return 1
  fi
  $SUDO rm -f "$PIDFILE"
  echo "Firebird server stopped"
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
