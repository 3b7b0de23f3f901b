#!/usr/bin/env bash
# The main job: installs what is missing, builds the program (it alone: the tests, benchmarks and
# fuzz targets are built by scripts/testar.sh), and runs it.
#
#   scripts/executar.sh             makes the demonstration installations and migrates them with
#                                   the terminal front end (scripts/demo.sh), showing the result
#   scripts/executar.sh --janela    opens the window (needs a display)
#   scripts/executar.sh ARGS...     runs quorvel2009_2010 ARGS...
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUORVEL_BUILD:-$raiz/build}"
# The demonstration needs only the program (and Debian's tools); the window is linked into it.
bash "$raiz/scripts/compilar.sh" quorvel2009_2010
programa="$build/quorvel2009_2010"
if [ $# -eq 0 ]; then
  exec bash "$raiz/scripts/demo.sh" "$build"
fi
if [ "$1" = "--janela" ]; then
  exec "$programa"
fi
exec "$programa" "$@"
