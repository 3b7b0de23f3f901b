#!/usr/bin/env bash
# Installs what is missing, then configures and builds the program, the tests and the benchmarks
# in build/ (or $QUORVEL_BUILD).
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUORVEL_BUILD:-$raiz/build}"
bash "$raiz/scripts/install-deps.sh"
cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$build" -j"$(nproc)"
