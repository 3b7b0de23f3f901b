#!/usr/bin/env bash
# Builds the audio tests with AddressSanitizer and UndefinedBehaviorSanitizer in a build folder of
# their own and runs them: the readers, the tag writer, the audio information record,
# --info-audio, the fuzz test (QUORVEL_FUZZ_ITERACOES inputs, 3000 by default) and the replay of
# the fuzz targets' regression inputs.
#
#   scripts/testes-sanitizados.sh [BUILD_DIR]     (default: build-sanitizado beside this script's repo)
set -euo pipefail

FONTE="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$FONTE/build-sanitizado}"

cmake -S "$FONTE" -B "$BUILD" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVEL_SANITIZE=ON -DQUORVEL_GUI=OFF -DQUORVEL_BENCH=OFF >/dev/null
ninja -C "$BUILD" -j2 test_audio test_music test_fuzz

# Any report ends the run with a failure; leaks are reported too where the sandbox allows it.
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QUORVEL_FUZZ_ITERACOES="${QUORVEL_FUZZ_ITERACOES:-3000}"

"$BUILD/tests/test_audio"
"$BUILD/tests/test_music" --gtest_filter='InfoAudio*'
"$BUILD/tests/test_fuzz"
echo "sanitized audio tests: ok"
