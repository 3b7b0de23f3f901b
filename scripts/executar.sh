#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the program. Arguments are passed to
# the program; without a display the window cannot open, so the program then shows its front
# ends instead.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUORVEL_BUILD:-$raiz/build}"
bash "$raiz/scripts/compilar.sh"
programa="$build/quorvel2009_2010"
if [ $# -gt 0 ]; then
  exec "$programa" "$@"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  "$programa" --help
  exit 0
fi
exec "$programa"
