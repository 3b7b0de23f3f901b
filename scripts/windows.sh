#!/usr/bin/env bash
# The Windows build, made and tested on this Debian machine:
#  1. installs what it needs (the project's Debian packages, MinGW-w64 with POSIX threads, Wine);
#  2. cross-builds into build-windows/ (QUORVEL_BUILD_WINDOWS) the core libraries,
#     quorvel2009_2010.exe (terminal front end and --info-audio; no window) and the test programs
#     that need neither a database server nor the window;
#  3. builds the same tests for Linux in build/ (QUORVEL_BUILD) and runs them there recording the
#     steps of the audio tools (sox, lame, twolame, mutagen, binutils) that the Windows tests
#     replay;
#  4. writes the registry keys of the registry test with `wine reg add`, runs the Windows tests
#     under Wine (a Wine prefix of its own in build-windows/wine, no display) and compares
#     quorvel2009_2010.exe --info-audio with the Linux program's output on a set of audio files.
# Exit status: 0 when everything built and passed.
set -uo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUORVEL_BUILD:-$raiz/build}"
bw="${QUORVEL_BUILD_WINDOWS:-$raiz/build-windows}"
jobs="${QUORVEL_JOBS:-2}"

# ---- 1. packages (Debian's only; nothing is installed when everything is there)
PACOTES_WINDOWS=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 wine firebird-dev googletest)
bash "$raiz/scripts/install-deps.sh" || exit 1
faltam=()
for p in "${PACOTES_WINDOWS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltam+=("$p")
done
if [ ${#faltam[@]} -gt 0 ]; then
  echo "Installing: ${faltam[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends "${faltam[@]}" || exit 1
fi

export WINEPREFIX="$bw/wine" WINEDEBUG=-all WINEARCH=win64
# Wine reads and writes names in the locale's encoding: UTF-8, as the files of the tests are.
export LC_ALL=C.UTF-8

# ---- 2. the cross build
mkdir -p "$bw/ibase"
# Only the client library's header is needed (the library is loaded at run time); a folder of
# its own keeps the rest of /usr/include out of the cross compiler's way.
cp /usr/include/ibase.h "$bw/ibase/"
cmake -S "$raiz" -B "$bw" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/windows-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
  -DQUORVEL_GUI=OFF -DQUORVEL_BENCH=OFF -DFBCLIENT_INCLUDE_DIR="$bw/ibase" >/dev/null || exit 1
ninja -C "$bw" -j"$jobs" || exit 1

# ---- 3. the Linux side: the program and the same tests, run recording the tools' steps
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
fi
programas=(platform audio music)
alvos=(quorvel2009_2010)
for t in "${programas[@]}"; do alvos+=("test_$t"); done
ninja -C "$build" -j"$jobs" "${alvos[@]}" || exit 1

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the Wine prefix $WINEPREFIX"
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  wineserver -w
fi

gravacoes="$bw/gravacoes"
rm -rf "$gravacoes" && mkdir -p "$gravacoes"
passaram=0
falharam=0
for t in "${programas[@]}"; do
  # The suites of the Windows program: the Linux program runs the same ones.
  suites=$(wine "$bw/tests/test_$t.exe" --gtest_list_tests </dev/null | tr -d '\r' | grep -E '^[A-Za-z0-9_]+\.$' |
           sed 's/$/*/' | paste -sd: -)
  echo "Recording the tools' steps of test_$t on Linux"
  if ! QUORVEL_GRAVAR_FERRAMENTAS="$gravacoes" "$build/tests/test_$t" --gtest_brief=1 \
       --gtest_filter="$suites" >"$bw/gravacao-$t.log" 2>&1; then
    echo "test_$t failed on Linux while recording (the Windows run will miss recordings):" >&2
    tail -n 30 "$bw/gravacao-$t.log" >&2
  fi
done

# ---- 4. the Windows tests under Wine
# Keys of the registry test: a 64-bit installation's key, and a key that only a 32-bit
# installation wrote (redirected to WOW6432Node).
chave='HKLM\Software\Quorvel Teste'
wine reg delete "$chave" /f /reg:64 >/dev/null 2>&1
wine reg delete "$chave" /f /reg:32 >/dev/null 2>&1
wine reg add "$chave\\Firebird Server\\Instances" /v DefaultInstance /d 'C:\Programas\Firebird Descrição' /f /reg:64 >/dev/null &&
wine reg add "$chave\\Firebird Server\\Instances" /v Versao /t REG_DWORD /d 10 /f /reg:64 >/dev/null &&
wine reg add "$chave\\InterBase\\CurrentVersion" /v RootDirectory /d 'C:\Borland\InterBase' /f /reg:32 >/dev/null ||
  { echo "wine reg add failed" >&2; exit 1; }

export QUORVEL_FERRAMENTAS_GRAVADAS="$(winepath -w "$gravacoes")"
(cd "$bw" && ctest --output-on-failure -j"$jobs" 2>&1 | tee "$bw/ctest.log")
ok=$(grep -oE '[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$bw/ctest.log" | tail -n 1)
total=$(echo "$ok" | sed -E 's/.* out of ([0-9]+)/\1/')
ruins=$(echo "$ok" | sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/')
if [ -z "$ok" ]; then falharam=$((falharam + 1)); else passaram=$((passaram + total - ruins)); falharam=$((falharam + ruins)); fi

# ---- --info-audio: the same JSON on both systems
if bash "$raiz/scripts/comparar-info-audio.sh" "$build/quorvel2009_2010" "$bw/quorvel2009_2010.exe" "$bw/info-audio"; then
  passaram=$((passaram + 1))
else
  falharam=$((falharam + 1))
fi

# ---- the terminal front end under Wine, where no Firebird client exists: the checkpoint beside
# the .exe is read (its question is asked), the three connections fail and the run's first use
# of the database tells why, exit status 2.
terminal() {
  local t="$bw/terminal"
  rm -rf "$t" && mkdir -p "$t/2009" "$t/2010" || return 1
  printf 'C:\\Dados\\BASE2009.FDB\r\n' >"$t/2009/Base.ini"
  printf '[BANCO]\r\ncaminho=C:\\Dados\\AUDIO.FDB\r\n' >"$t/2010/BaseAudio.ini"
  printf '[BANCO]\r\ncaminho=localhost:C:\\Dados\\ADM.FDB\r\n' >"$t/2010/BaseAdm.ini"
  printf '[SEQ]\r\nsTabela=TB_GENERO\r\nsCodigo=5\r\n' >"$t/Seq.ini"
  cp "$bw/quorvel2009_2010.exe" "$t/" || return 1
  wine "$t/quorvel2009_2010.exe" --sem-janela --pasta-2009 "$(winepath -w "$t/2009")" \
    --pasta-2010 "$(winepath -w "$t/2010")" --tabelas Genero --sim </dev/null >"$t/saida.txt" 2>"$t/erros.txt"
  local status=$?
  local falhas=0
  [ "$status" -eq 2 ] || { echo "terminal: exit status $status, not 2" >&2; falhas=1; }
  for esperado in \
    'Brivona Rovozozi [pergunta]: Já existe um processo iniciado.' \
    'Quorvel 2009-2010 [informação]: Não foi possível conectar com a BaseAdm 2010.' \
    'Quorvel 2009-2010 [erro]: Database not open (A biblioteca cliente do Firebird não foi encontrada (fbclient.dll'; do
    grep -qF "$esperado" "$t/erros.txt" || { echo "terminal: missing: $esperado" >&2; falhas=1; }
  done
  [ "$falhas" -eq 0 ] || { cat "$t/erros.txt" >&2; return 1; }
  echo "terminal front end: the checkpoint beside the .exe read, the missing client reported"
}
if terminal; then passaram=$((passaram + 1)); else falharam=$((falharam + 1)); fi

echo
echo "Windows: $passaram passed, $falharam failed"
[ "$falharam" -eq 0 ]
