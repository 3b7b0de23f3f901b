#!/usr/bin/env bash
# The tests' own Firebird server, in network and mount namespaces of its own.
#
#   scripts/servidor-teste.sh start          starts it (nothing to do when it already runs)
#   scripts/servidor-teste.sh run CMD [ARG]  runs CMD inside its namespaces, in the current
#                                            folder, with the tests' Firebird environment
#   scripts/servidor-teste.sh stop           stops it; its namespaces go with it
#   scripts/servidor-teste.sh status         says whether it runs
#
# Inside the namespaces 127.0.0.1:3050 and ::1:3050 are the tests' own: the machine's port 3050,
# and any Firebird service that listens there, are never touched. Everything the server and the
# embedded engine of the test programs read or write lives in one folder, $QUORVEL_SERVIDOR_TESTE
# (default: servidor-teste in the build folder):
#
#   raiz/        FIREBIRD: firebird.conf, plugins.conf, databases.conf, fbintl.conf and the
#                security database security3.fdb (SYSDBA / quindorex)
#   lock/        FIREBIRD_LOCK: the lock files
#   log/         the engine's log, firebird3.0.log
#   servidor/    the server program, unpacked from Debian's firebird3.0-server package when the
#                machine does not have it: the tests need its program, not its system service
#   firebird.pid, servidor.out
#
# Debian's build of Firebird takes some paths from what it was compiled with, whatever FIREBIRD
# says: the log folder (/var/log/firebird), the character set list (intl/fbintl.conf, a link to
# /etc/firebird/3.0) and the default security database folder (/var/lib/firebird). Inside the
# mount namespace those folders (where they exist), /tmp/firebird and /etc/hosts are covered by
# the tests' own, so no process of the tests can read or write the installed service's files.
# In the tests' /etc/hosts localhost is always 127.0.0.1 too; the server listens on both
# loopback addresses where the system allows a dual-stack socket, on 127.0.0.1 otherwise.
set -uo pipefail

raiz_projeto="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUORVEL_BUILD:-$raiz_projeto/build}"
ESTADO="${QUORVEL_SERVIDOR_TESTE:-$build/servidor-teste}"
SENHA="quindorex"
PORTA=3050
PIDFILE="$ESTADO/firebird.pid"
SAIDA="$ESTADO/servidor.out"

falha() { echo "servidor-teste: $*" >&2; exit 1; }

baixar_servidor() {  # version
  (cd "$ESTADO/pacote" && apt-get download -q "firebird3.0-server=$1") >"$ESTADO/pacote/apt.log" 2>&1
}

# The server program: the machine's when the server package is installed (only its program is
# used), otherwise the same Debian package's program unpacked into the tests' folder.
programa_servidor() {
  if [ -x /usr/sbin/firebird ]; then
    echo /usr/sbin/firebird
    return
  fi
  local destino="$ESTADO/servidor"
  if [ ! -x "$destino/usr/sbin/firebird" ]; then
    local versao
    versao="$(dpkg-query -W -f='${Version}' libfbclient2 2>/dev/null)" ||
      falha "libfbclient2 is not installed: run scripts/install-deps.sh"
    rm -rf "$destino" "$ESTADO/pacote"
    mkdir -p "$ESTADO/pacote"
    # apt's package lists may be gone (a cleaned image): read them anew once.
    if ! baixar_servidor "$versao" && ! { apt-get update -qq >/dev/null 2>&1 && baixar_servidor "$versao"; }; then
      cat "$ESTADO/pacote/apt.log" >&2
      falha "could not download Debian's firebird3.0-server $versao (for its server program)"
    fi
    dpkg-deb -x "$ESTADO"/pacote/firebird3.0-server_*.deb "$destino" || falha "could not unpack firebird3.0-server"
    rm -rf "$ESTADO/pacote"
  fi
  echo "$destino/usr/sbin/firebird"
}

# Whether this system lets one socket take both IPv4 and IPv6 connections.
dupla_pilha() {
  /usr/bin/python3 - <<'PY' 2>/dev/null
import socket, sys
try:
    s = socket.socket(socket.AF_INET6, socket.SOCK_STREAM)
    s.setsockopt(socket.IPPROTO_IPV6, socket.IPV6_V6ONLY, 0)
    s.bind(("::", 0))
    if s.getsockopt(socket.IPPROTO_IPV6, socket.IPV6_V6ONLY) != 0:
        sys.exit(1)
except OSError:
    sys.exit(1)
PY
}

preparar_pasta() {
  mkdir -p "$ESTADO/raiz" "$ESTADO/lock" "$ESTADO/log" "$ESTADO/vazio"
  chmod 0755 "$ESTADO" "$ESTADO/raiz"
  local endereco="127.0.0.1"
  dupla_pilha && endereco="::"
  cat >"$ESTADO/raiz/firebird.conf" <<EOF
# The tests' Firebird server: its own security database, the loopback of its own namespace.
SecurityDatabase = $ESTADO/raiz/security3.fdb
RemoteServicePort = $PORTA
RemoteBindAddress = $endereco
IPv6V6Only = 0
UdfAccess = None
EOF
  cat >"$ESTADO/raiz/databases.conf" <<EOF
security.db = $ESTADO/raiz/security3.fdb
{
	RemoteAccess = false
}
EOF
  : >"$ESTADO/raiz/plugins.conf"
  : >"$ESTADO/raiz/fbtrace.conf"
  # The character sets the databases of a Brazilian station may use (the engine's own ones,
  # NONE, OCTETS, ASCII, UNICODE_FSS and UTF8, need no entry).
  cat >"$ESTADO/raiz/fbintl.conf" <<'EOF'
intl_module = builtin {
    icu_versions = default
}
intl_module = fbintl {
    filename = $(dir_intl)/fbintl
    icu_versions = default
}
charset = WIN1252 {
    intl_module = fbintl
    collation = WIN1252
    collation = PXW_INTL
    collation = PXW_INTL850
    collation = PXW_NORDAN4
    collation = PXW_SPAN
    collation = PXW_SWEDFIN
    collation = WIN_PTBR
    collation = WIN1252_UNICODE
}
charset = ISO8859_1 {
    intl_module = fbintl
    collation = ISO8859_1
    collation = DA_DA
    collation = DE_DE
    collation = DU_NL
    collation = EN_UK
    collation = EN_US
    collation = ES_ES
    collation = ES_ES_CI_AI
    collation = FI_FI
    collation = FR_CA
    collation = FR_FR
    collation = FR_FR_CI_AI
    collation = IS_IS
    collation = IT_IT
    collation = NO_NO
    collation = SV_SV
    collation = PT_BR
    collation = PT_PT
    collation = ISO8859_1_UNICODE
}
EOF
  # Every name the machine knows, with localhost also on 127.0.0.1.
  {
    echo "127.0.0.1 localhost"
    [ -f /etc/hosts ] && cat /etc/hosts
  } >"$ESTADO/hosts"
}

# The environment of every Firebird user inside the namespaces.
ambiente_firebird() {
  export FIREBIRD="$ESTADO/raiz" FIREBIRD_LOCK="$ESTADO/lock"
}

# Runs as the first process of the new namespaces: covers the installed service's folders,
# makes the security database when missing, then becomes the server.
dentro_do_namespace() {
  local programa="$1"
  ip link set lo up || falha "cannot bring the namespace's loopback up"
  local cobrir_pastas=1
  if [ -e "$ESTADO/propagacao-herdada" ]; then
    # A trial mount inside the tests' folder: when it joins a shared peer group, every mount made
    # here would also appear outside the namespace and stay there. It is undone at once (the
    # unmount propagates the same way) and nothing of the machine is covered.
    mkdir -p "$ESTADO/sonda" "$ESTADO/sonda-alvo"
    mount --bind "$ESTADO/sonda" "$ESTADO/sonda-alvo" || falha "cannot mount in the namespace"
    if awk -v alvo="$ESTADO/sonda-alvo" '$5 == alvo && / shared:/' /proc/self/mountinfo | grep -q .; then
      cobrir_pastas=0
      echo "servidor-teste: mounts made here would be seen outside the namespace; the machine's Firebird folders stay uncovered (the tests' own configuration, security database and lock folder still apply)" >&2
    fi
    umount "$ESTADO/sonda-alvo"
  fi
  cobrir() {  # folder or file of the machine, the tests' own
    [ "$cobrir_pastas" -eq 1 ] && [ -e "$1" ] || return 0
    mount --bind "$2" "$1" || falha "cannot cover $1"
  }
  cobrir /etc/hosts "$ESTADO/hosts"
  cobrir /etc/firebird/3.0 "$ESTADO/raiz"
  cobrir /var/lib/firebird "$ESTADO/vazio"
  cobrir /var/log/firebird "$ESTADO/log"
  cobrir /tmp/firebird "$ESTADO/lock"
  ambiente_firebird
  if [ ! -s "$ESTADO/raiz/security3.fdb" ]; then
    rm -f "$ESTADO/raiz/security3.fdb"
    printf "CREATE DATABASE '%s';\n" "$ESTADO/raiz/security3.fdb" | isql-fb -q -user SYSDBA ||
      falha "cannot create the security database"
    printf "CREATE USER SYSDBA PASSWORD '%s';\nCOMMIT;\n" "$SENHA" | isql-fb -q -user SYSDBA security.db ||
      falha "cannot set SYSDBA's password in the tests' security database"
  fi
  exec "$programa"
}

pid_servidor() {
  [ -f "$PIDFILE" ] || return 1
  local pid
  pid="$(cat "$PIDFILE" 2>/dev/null)"
  [ -n "$pid" ] && [ -d "/proc/$pid" ] || return 1
  # The process must still be our server (a pid may be reused).
  case "$(readlink "/proc/$pid/exe" 2>/dev/null)" in
    */firebird) ;;
    *) return 1 ;;
  esac
  grep -qx "FIREBIRD=$ESTADO/raiz" <(tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null) || return 1
  echo "$pid"
}

entrar() {  # pid, command...: the command inside the server's namespaces, in the current folder
  # (--root: the server's root folder, which a chroot has moved)
  local pid="$1"
  shift
  local opcoes=(--target "$pid" --net --mount --root)
  [ "$(id -u)" -eq 0 ] || opcoes+=(--user --preserve-credentials)
  nsenter "${opcoes[@]}" -- /usr/bin/env -C "$PWD" "$@"
}

responde() {  # pid, address
  entrar "$1" bash -c "(exec 3<>/dev/tcp/$2/$PORTA)" 2>/dev/null
}

start() {
  local pid
  if pid="$(pid_servidor)"; then
    echo "the tests' Firebird server runs (pid $pid)"
    return 0
  fi
  command -v isql-fb >/dev/null || falha "isql-fb is missing: run scripts/install-deps.sh"
  local programa
  programa="$(programa_servidor)" || exit 1
  preparar_pasta

  # Root makes plain namespaces; anyone else a user namespace of their own where allowed. The
  # mounts are private to the namespace, so nothing covered there is seen outside. In a chroot
  # whose root is not a mount point they cannot be made private: the namespace then checks how
  # its mounts would propagate before covering anything (see dentro_do_namespace).
  local unshare_opcoes=(--net --mount)
  [ "$(id -u)" -eq 0 ] || unshare_opcoes+=(--user --map-root-user)
  if unshare "${unshare_opcoes[@]}" --propagation private true 2>/dev/null; then
    unshare_opcoes+=(--propagation private)
    rm -f "$ESTADO/propagacao-herdada"
  else
    unshare_opcoes+=(--propagation unchanged)
    : >"$ESTADO/propagacao-herdada"
  fi
  : >"$SAIDA"
  # setsid keeps the server out of the caller's process group and terminal; unshare and bash
  # exec into the server, so the pid is the server's.
  setsid unshare "${unshare_opcoes[@]}" -- bash "${BASH_SOURCE[0]}" _namespace "$programa" \
    >>"$SAIDA" 2>&1 </dev/null &
  pid=$!
  echo "$pid" >"$PIDFILE"

  for _ in $(seq 1 300); do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "servidor-teste: the tests' Firebird server ended at start:" >&2
      tail -n 20 "$SAIDA" "$ESTADO/log/firebird3.0.log" 2>/dev/null >&2
      rm -f "$PIDFILE"
      return 1
    fi
    # (-ef: the same file, whatever path a chroot's /proc shows for it)
    if [ "/proc/$pid/exe" -ef "$programa" ] && responde "$pid" 127.0.0.1 &&
       responde "$pid" localhost; then
      local onde="127.0.0.1"
      responde "$pid" ::1 && onde="127.0.0.1 and ::1"
      echo "the tests' Firebird server answers on $onde port $PORTA in its own namespace (pid $pid)"
      return 0
    fi
    sleep 0.1
  done
  echo "servidor-teste: the tests' Firebird server did not answer on port $PORTA" >&2
  tail -n 20 "$SAIDA" "$ESTADO/log/firebird3.0.log" 2>/dev/null >&2
  stop >/dev/null
  return 1
}

run() {
  [ $# -gt 0 ] || falha "run needs a command"
  local pid
  pid="$(pid_servidor)" || falha "the tests' Firebird server does not run (scripts/servidor-teste.sh start)"
  ambiente_firebird
  entrar "$pid" "$@"
}

stop() {
  local pid
  if ! pid="$(pid_servidor)"; then
    rm -f "$PIDFILE"
    echo "the tests' Firebird server does not run"
    return 0
  fi
  kill -TERM "$pid"
  for _ in $(seq 1 100); do
    [ -d "/proc/$pid" ] || break
    sleep 0.1
  done
  if [ -d "/proc/$pid" ]; then
    kill -KILL "$pid" 2>/dev/null
    sleep 0.2
  fi
  rm -f "$PIDFILE"
  echo "the tests' Firebird server stopped"
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  run) shift; run "$@" ;;
  status)
    if pid="$(pid_servidor)"; then echo "the tests' Firebird server runs (pid $pid)"; else echo "the tests' Firebird server does not run"; exit 1; fi ;;
  _namespace) dentro_do_namespace "$2" ;;
  *) echo "usage: $0 start|run CMD [ARG...]|stop|status" >&2; exit 2 ;;
esac
