#!/usr/bin/env bash
# Installs what is missing, then configures and builds in build/ (or $QUORVEL_BUILD): every
# target (the program, the tests, the benchmarks and the fuzz targets), or only the targets named.
#
#   scripts/compilar.sh                     everything (what scripts/testar.sh needs)
#   scripts/compilar.sh quorvel2009_2010    the program alone (what scripts/executar.sh runs)
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUORVEL_BUILD:-$raiz/build}"
bash "$raiz/scripts/install-deps.sh"
cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$build" -j"$(nproc)" "$@"
