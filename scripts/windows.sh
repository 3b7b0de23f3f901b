#!/usr/bin/env bash
# The Windows build, made and tested on this Debian machine:
#  1. installs what it needs (the project's Debian packages, MinGW-w64 with POSIX threads, Wine);
#  2. cross-builds into build-windows/ (QUORVEL_BUILD_WINDOWS) the core libraries,
#     quorvel2009_2010.exe (the native window; the terminal front end and --info-audio from a
#     console), its console launcher quorvel2009_2010.com, the test programs that need no database
#     server, and the installer (CPack's NSIS generator);
#  3. builds the same tests for Linux in build/ (QUORVEL_BUILD) and runs them there recording the
#     steps of the audio tools (sox, lame, twolame, mutagen, binutils) that the Windows tests
#     replay;
#  4. writes the registry keys of the registry test with `wine reg add`, runs the Windows tests
#     under Wine (a Wine prefix of its own in build-windows/wine, no display) and compares
#     quorvel2009_2010.exe --info-audio with the Linux program's output on a set of audio files;
#  5. tries the console launcher (output, input and exit status through files and cmd.exe), drives
#     the window under Wine on an Xvfb display (test_janela_win32, which also captures
#     build-windows/janela.png), and installs, runs and uninstalls the installer silently.
# Exit status: 0 when everything built and passed.
set -uo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUORVEL_BUILD:-$raiz/build}"
bw="${QUORVEL_BUILD_WINDOWS:-$raiz/build-windows}"
jobs="${QUORVEL_JOBS:-2}"

# ---- 1. packages (Debian's only; nothing is installed when everything is there)
PACOTES_WINDOWS=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 wine firebird-dev googletest nsis xvfb xauth)
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
# The installer: build-windows/quorvel2009-2010-<version>-win64.exe
(cd "$bw" && cpack -G NSIS >"$bw/cpack.log" 2>&1) || { cat "$bw/cpack.log" >&2; exit 1; }
instalador_exe=$(ls -t "$bw"/quorvel2009-2010-*-win64.exe 2>/dev/null | head -n 1)

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

# ---- the console launcher: quorvel2009_2010.com runs the program beside it with the same
# arguments and standard streams and ends with its status. First with a stand-in program that
# echoes its input and ends with the status asked for, then with the program itself, directly and
# through cmd.exe's redirections.
janela_z() { printf 'Z:%s' "$1" | tr '/' '\\'; }
console() {
  local c="$bw/console" falhas=0 status
  rm -rf "$c" && mkdir -p "$c/eco" || return 1
  cp "$bw/quorvel2009_2010.com" "$c/eco/" && cp "$bw/tests/test_status.exe" "$c/eco/quorvel2009_2010.exe" || return 1
  printf 'linha um\r\nlinha dois \xc3\xa7\n' >"$c/entrada.txt"
  for esperado in 0 1 2; do
    wine "$c/eco/quorvel2009_2010.com" "$esperado" "dois termos" <"$c/entrada.txt" >"$c/saida$esperado.txt" 2>"$c/erros$esperado.txt"
    status=$?
    [ "$status" -eq "$esperado" ] || { echo "console: status $status, not $esperado" >&2; falhas=1; }
    cmp -s "$c/entrada.txt" "$c/saida$esperado.txt" || { echo "console: the input did not come through" >&2; falhas=1; }
    grep -qF "args: [$esperado] [dois termos]" "$c/erros$esperado.txt" || { echo "console: arguments lost" >&2; falhas=1; }
  done
  # The program: --help on standard output with status 0, a wrong option 2, --info-audio into a
  # file through cmd.exe's redirection, the same lines as the .exe prints.
  cp "$bw/quorvel2009_2010.exe" "$bw/quorvel2009_2010.com" "$c/" || return 1
  wine "$c/quorvel2009_2010.com" --help >"$c/ajuda.txt" 2>/dev/null; status=$?
  [ "$status" -eq 0 ] && grep -q -- '--sem-janela' "$c/ajuda.txt" || { echo "console: --help (status $status)" >&2; falhas=1; }
  wine "$c/quorvel2009_2010.com" --nao-existe >/dev/null 2>"$c/uso.txt"; status=$?
  [ "$status" -eq 2 ] && grep -q -- '--info-audio' "$c/uso.txt" || { echo "console: a wrong option (status $status)" >&2; falhas=1; }
  local mp3; mp3="$(janela_z "$bw/info-audio/cbr.mp3")"
  wine "$bw/quorvel2009_2010.exe" --info-audio "$mp3" >"$c/direto.json" 2>/dev/null
  wine cmd /c "$(janela_z "$c/quorvel2009_2010") --info-audio $mp3 > $(janela_z "$c/cmd.json")" </dev/null >/dev/null 2>&1
  status=$?
  [ "$status" -eq 0 ] && [ -s "$c/direto.json" ] && cmp -s "$c/direto.json" "$c/cmd.json" ||
    { echo "console: --info-audio through cmd.exe (status $status)" >&2; falhas=1; }
  # A run's question read from a file: not a terminal, so answered No as the terminal front end does.
  [ "$falhas" -eq 0 ] && echo "console launcher: statuses 0/1/2, input, output and cmd.exe redirections"
  [ "$falhas" -eq 0 ]
}
if console; then passaram=$((passaram + 1)); else falharam=$((falharam + 1)); fi

# ---- the window, driven from outside under Wine on a display of its own (Xvfb). Wine's server
# of this prefix is let go first: a server started without a display would keep the desktop
# without one. With no window manager on Xvfb, Wine draws the windows' frames itself.
janela() {
  wineserver -w
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  wineserver -w
  rm -f "$bw/janela.bmp"
  xvfb-run -a -s "-screen 0 1280x800x24" env QUORVEL_CAPTURA_JANELA="$(janela_z "$bw/janela.bmp")" \
    wine "$bw/tests/test_janela_win32.exe" --gtest_brief=1 >"$bw/janela.log" 2>&1
  local status=$?
  wineserver -w
  grep -vE '^X connection|FS volume label' "$bw/janela.log"
  [ -f "$bw/janela.bmp" ] && python3 "$raiz/scripts/bmp-para-png.py" "$bw/janela.bmp" "$bw/janela.png"
  [ "$status" -eq 0 ]
}
if janela; then passaram=$((passaram + 1)); else falharam=$((falharam + 1)); fi

# ---- the installer: a silent install into Program Files with its Start-menu shortcut and its
# entry in Apps & features; the installed program analyses a file and keeps its checkpoint in
# %LOCALAPPDATA%\Quorvel2009-2010; a silent uninstall leaves nothing in Program Files.
instalador() {
  local falhas=0 status
  [ -n "$instalador_exe" ] || { echo "installer: not built" >&2; return 1; }
  local pf="$WINEPREFIX/drive_c/Program Files/Quorvel 2009-2010"
  local pfw='C:\Program Files\Quorvel 2009-2010'
  local atalho="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvel 2009-2010/Quorvel 2009-2010.lnk"
  local chave='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel 2009-2010'
  chmod +x "$instalador_exe"
  wine "$instalador_exe" /S; status=$?
  wineserver -w
  [ "$status" -eq 0 ] || { echo "installer: status $status" >&2; return 1; }
  for f in quorvel2009_2010.exe quorvel2009_2010.com Uninstall.exe; do
    [ -f "$pf/$f" ] || { echo "installer: $f is missing from Program Files" >&2; falhas=1; }
  done
  [ -f "$atalho" ] || { echo "installer: no Start-menu shortcut" >&2; falhas=1; }
  wine reg query "$chave" /v UninstallString /reg:64 2>/dev/null | grep -q 'Uninstall.exe' ||
    { echo "installer: no entry in Apps & features" >&2; falhas=1; }
  wine reg query "$chave" /v DisplayVersion /reg:64 2>/dev/null | grep -q "$(basename "$instalador_exe" | sed -E 's/quorvel2009-2010-(.*)-win64.exe/\1/')" ||
    { echo "installer: the version is not the project's" >&2; falhas=1; }

  local mp3; mp3="$(janela_z "$bw/info-audio/cbr.mp3")"
  wine "$pfw\quorvel2009_2010.com" --info-audio "$mp3" >"$bw/instalado.json" 2>/dev/null; status=$?
  [ "$status" -eq 0 ] && cmp -s "$bw/instalado.json" "$bw/console/direto.json" ||
    { echo "installer: the installed program's --info-audio (status $status)" >&2; falhas=1; }

  # The checkpoint of the installed program: read from the user's local application data.
  local dados; dados="$(wine cmd /c echo %LOCALAPPDATA% </dev/null 2>/dev/null | tr -d '\r')"
  local dadosu; dadosu="$(winepath -u "$dados" 2>/dev/null)/Quorvel2009-2010"
  mkdir -p "$dadosu" && printf '[SEQ]\r\nsTabela=TB_GENERO\r\nsCodigo=5\r\n' >"$dadosu/Seq.ini"
  local t="$bw/terminal"
  wine "$pfw\quorvel2009_2010.com" --sem-janela --pasta-2009 "$(janela_z "$t/2009")" --pasta-2010 "$(janela_z "$t/2010")" \
    --tabelas Genero --sim </dev/null >/dev/null 2>"$bw/instalado-erros.txt"; status=$?
  [ "$status" -eq 2 ] && grep -qF 'Já existe um processo iniciado.' "$bw/instalado-erros.txt" ||
    { echo "installer: the checkpoint in $dados\\Quorvel2009-2010 was not read (status $status)" >&2; falhas=1; }
  [ ! -e "$pf/Seq.ini" ] || { echo "installer: the program wrote into Program Files" >&2; falhas=1; }
  rm -rf "$dadosu"

  wine "$pfw\Uninstall.exe" /S; wineserver -w
  [ ! -e "$pf" ] || { echo "installer: the uninstaller left $(ls "$pf")" >&2; falhas=1; }
  [ ! -e "$atalho" ] || { echo "installer: the shortcut stayed" >&2; falhas=1; }
  ! wine reg query "$chave" /reg:64 >/dev/null 2>&1 || { echo "installer: the Apps & features entry stayed" >&2; falhas=1; }
  [ "$falhas" -eq 0 ] && echo "installer: silent install, the installed program, its checkpoint folder, silent uninstall"
  [ "$falhas" -eq 0 ]
}
if instalador; then passaram=$((passaram + 1)); else falharam=$((falharam + 1)); fi

echo
echo "Windows: $passaram passed, $falharam failed"
[ "$falharam" -eq 0 ]
