#!/usr/bin/env bash
# Fresh Debian 12 roots for trying the README commands as a new user would (as root).
#
#   scripts/raiz-debian.sh criar DIR            a minimal Debian 12 (debootstrap's minbase) with
#                                               git and ca-certificates, and the package sources
#                                               of a standard installation
#   scripts/raiz-debian.sh entrar DIR [CMD...]  runs CMD (a login shell by default) as root in
#                                               DIR, with /proc, /sys and /dev mounted in a mount
#                                               namespace of its own: they go away with it
#
# For example:
#   bash scripts/raiz-debian.sh criar /work/roots/limpa
#   git clone "$PWD" /work/roots/limpa/root/quorvel
#   bash scripts/raiz-debian.sh entrar /work/roots/limpa bash -c 'cd /root/quorvel && bash scripts/testar.sh'
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

criar() {
  local destino="$1"
  bash "$raiz/scripts/install-deps.sh" verificacao
  debootstrap --variant=minbase --include=git,ca-certificates bookworm "$destino" http://deb.debian.org/debian
  cat >"$destino/etc/apt/sources.list" <<'FONTES'
deb http://deb.debian.org/debian bookworm main
deb http://deb.debian.org/debian bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
FONTES
}

entrar() {
  local destino="$1"
  shift
  [ -d "$destino/etc" ] || { echo "$destino is not a root file system" >&2; exit 2; }
  [ $# -gt 0 ] || set -- bash -l
  unshare --mount --propagation private -- bash -c '
    destino="$1"; shift
    mount -t proc proc "$destino/proc"
    mount --rbind /sys "$destino/sys"
    mount --rbind /dev "$destino/dev"
    exec chroot "$destino" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"
  ' _ "$destino" "$@"
}

case "${1:-}" in
  criar) [ $# -eq 2 ] || { echo "usage: $0 criar DIR" >&2; exit 2; }; criar "$2" ;;
  entrar) [ $# -ge 2 ] || { echo "usage: $0 entrar DIR [CMD...]" >&2; exit 2; }; shift; entrar "$@" ;;
  *) echo "usage: $0 criar DIR | entrar DIR [CMD...]" >&2; exit 2 ;;
esac
