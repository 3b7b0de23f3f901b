#!/usr/bin/env bash
# Fuzzes every reader of outside data with libFuzzer, built by clang with AddressSanitizer and
# UndefinedBehaviorSanitizer in a build folder of its own (tests/fuzz/CMakeLists.txt), one target
# after the other, SECONDS each (0: no time limit, for runs bounded by -runs).
#
#   scripts/fuzz.sh SECONDS [TARGET...]        all targets when none is named
#
#   QUORVEL_FUZZ_BUILD    build folder (default build-fuzz/ beside build/)
#   QUORVEL_FUZZ_OPCOES   more libFuzzer options, e.g. "-runs=10000000"
#
# Each target starts from the seeds that build-fuzz/gerar_sementes makes from real files (lame,
# twolame, sox, mutagen, binutils-mingw-w64), the committed seeds and regression inputs under
# tests/fuzz/, and the corpus it grew in earlier runs (build-fuzz/corpus/TARGET). Prints the
# executions of every target. A finding (crash, sanitizer report, broken promise, timeout,
# memory exhaustion) is copied to tests/fuzz/regressao/TARGET/, which the normal test suite
# replays, and makes the exit status 1.
set -uo pipefail

raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUORVEL_FUZZ_BUILD:-$raiz/build-fuzz}"
todos=(id3v1 id3v2 mpeg wav info_audio ini registro versao_pe checkpoint duracao)

if [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz.sh SECONDS [TARGET...]   (targets: ${todos[*]})" >&2
  exit 2
fi
segundos="$1"
shift
alvos=("$@")
[ ${#alvos[@]} -eq 0 ] && alvos=("${todos[@]}")

cxx="$(command -v clang++-14 || command -v clang++ || true)"
cc="$(command -v clang-14 || command -v clang || true)"
if [ -z "$cxx" ] || [ -z "$cc" ]; then
  echo "fuzz: clang is missing (scripts/install-deps.sh installs it)" >&2
  exit 2
fi

# Build quietly; show the output only when it fails.
mkdir -p "$build"
if ! { cmake -S "$raiz/tests/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
         -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" &&
       ninja -C "$build" -j2; } >"$build/compilacao.log" 2>&1; then
  cat "$build/compilacao.log" >&2
  echo "fuzz: the build failed" >&2
  exit 2
fi

# Seeds from real files, made again when the maker or a committed seed changed.
sementes="$build/sementes"
marca="$sementes/.feitas"
if [ ! -f "$marca" ] || [ "$build/gerar_sementes" -nt "$marca" ] ||
   [ -n "$(find "$raiz/tests/fuzz/sementes" -newer "$marca" -print -quit)" ]; then
  rm -rf "$sementes"
  "$build/gerar_sementes" "$sementes" >"$build/sementes.log" 2>&1 || { cat "$build/sementes.log" >&2; exit 2; }
  touch "$marca"
fi

# Scratch files of the targets live in memory when /dev/shm is there, and go away at the end.
rascunho="$(mktemp -d /dev/shm/quorvel-fuzz.XXXXXX 2>/dev/null || mktemp -d)"
trap 'rm -rf "$rascunho"' EXIT
export QUORVEL_FUZZ_PASTA="$rascunho"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

achados_total=0
for alvo in "${alvos[@]}"; do
  programa="$build/fuzz_$alvo"
  if [ ! -x "$programa" ]; then
    echo "fuzz: no target named $alvo (targets: ${todos[*]})" >&2
    exit 2
  fi
  corpus="$build/corpus/$alvo"
  achados="$build/achados/$alvo"
  regressao="$raiz/tests/fuzz/regressao/$alvo"
  mkdir -p "$corpus" "$achados"
  rm -f "$achados"/*
  case "$alvo" in
    id3v1|id3v2|mpeg|wav|info_audio) limite=(-max_len=12288) ;;
    *) limite=() ;;
  esac
  pastas=("$corpus")
  for p in "$sementes/$alvo" "$raiz/tests/fuzz/sementes/$alvo" "$regressao"; do
    [ -d "$p" ] && pastas+=("$p")
  done
  log="$build/fuzz_$alvo.log"
  inicio=$(date +%s)
  # shellcheck disable=SC2086
  "$programa" -max_total_time="$segundos" -timeout=25 -rss_limit_mb=4096 "${limite[@]}" \
    -print_final_stats=1 -artifact_prefix="$achados/" ${QUORVEL_FUZZ_OPCOES:-} "${pastas[@]}" >"$log" 2>&1
  status=$?
  execucoes=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*$')
  duracao=$(( $(date +%s) - inicio ))
  if [ $status -eq 0 ]; then
    printf 'fuzz: %-10s %12s executions in %5d s: ok\n' "$alvo" "${execucoes:-?}" "$duracao"
    continue
  fi
  achados_total=$((achados_total + 1))
  printf 'fuzz: %-10s %12s executions in %5d s: FINDING (status %d)\n' "$alvo" "${execucoes:-?}" "$duracao" "$status"
  grep -E '^\*\*\* fuzz target|ERROR: |SUMMARY: ' "$log" | head -n 5 | sed 's/^/  /'
  mkdir -p "$regressao"
  for f in "$achados"/*; do
    [ -f "$f" ] || continue
    cp "$f" "$regressao/"
    echo "  regression input: ${regressao#"$raiz/"}/$(basename "$f")"
  done
  echo "  log: $log"
done
[ $achados_total -eq 0 ] || { echo "fuzz: $achados_total target(s) with findings" >&2; exit 1; }
exit 0
