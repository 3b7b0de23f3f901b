#!/usr/bin/env bash
# Runs every test: installs what is missing, builds, starts the tests' own Firebird server (in
# network and mount namespaces of its own, see scripts/servidor-teste.sh), runs the sanitizer
# build of the audio tests and then the whole suite through CTest inside those namespaces, so
# that the tests' "localhost:" locations reach that server and their embedded engine uses its
# configuration, security database, lock and log folders, never an installed Firebird's. CTest's
# summary line closes the output. Exit status: CTest's.
set -uo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUORVEL_BUILD:-$raiz/build}"
export QUORVEL_BUILD="$build"

bash "$raiz/scripts/compilar.sh" || exit 1

servidor="$raiz/scripts/servidor-teste.sh"
bash "$servidor" start || { echo "the tests' Firebird server did not start" >&2; exit 1; }
trap 'bash "$servidor" stop >/dev/null 2>&1' EXIT

status=0
bash "$servidor" run bash "$raiz/scripts/testes-sanitizados.sh" || status=1

bash "$raiz/scripts/fuzz.sh" 3 || status=1  # every fuzz target briefly (tests/fuzz/)
# Tests start their own windowless Qt; keep them off any real display.
export QT_QPA_PLATFORM=offscreen
cd "$build" || exit 1
bash "$servidor" run ctest --output-on-failure -j2 --timeout 900 2>&1 | tee "$build/ctest.log"
ctest_status=${PIPESTATUS[0]}
# CTest lists the failed tests after its summary; repeat the summary so that it closes the output.
echo
grep -E '% tests passed' "$build/ctest.log" | tail -n 1
[ "$ctest_status" -ne 0 ] && status=$ctest_status
exit $status
