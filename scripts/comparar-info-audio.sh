#!/usr/bin/env bash
# Makes a set of audio files with Debian's tools and compares what the Linux program and the
# Windows program (under Wine) print for them with --info-audio: the same JSON lines, byte for
# byte, and the same exit status.
#   bash scripts/comparar-info-audio.sh LINUX_PROGRAM WINDOWS_EXE WORK_FOLDER
# Wine's environment (WINEPREFIX, WINEDEBUG) comes from the caller.
set -uo pipefail
linux="$1"
windows="$2"
pasta="$3"

rm -rf "$pasta" && mkdir -p "$pasta" && cd "$pasta" || exit 1
export LC_ALL=C.UTF-8

# A frequency sweep without random dither: the same file at every run.
tom() { sox -D -n -r "$2" -c "$3" -b 16 -e signed-integer -t wav "$1" synth "$4" sine 200-4000 vol 0.5; }
{
  tom tom44.wav 44100 2 3
  tom tom22.wav 22050 1 2
  tom tom8.wav 8000 1 2
  lame --quiet -b 128 tom44.wav cbr.mp3
  lame --quiet -V 2 tom44.wav vbr.mp3
  lame --quiet -m m --resample 22.05 -b 64 tom22.wav mono22.mp3
  lame --quiet --resample 8 -b 16 tom8.wav mpeg25.mp3
  lame --quiet -b 320 tom44.wav 'Canção Ação.mp3'
  twolame --quiet -b 192 tom44.wav camada2.mp3
  sox -D -n -r 22050 -c 1 -b 8 -e unsigned-integer voz8.wav synth 1.5 sine 440
  sox -D -n -r 8000 -c 1 -e a-law alaw.wav synth 2.5 sine 440
  cp cbr.mp3 marcada.mp3
  /usr/bin/python3 - marcada.mp3 <<'PY'
import sys
import mutagen.id3 as m
t = m.ID3()
t.add(m.TIT2(encoding=1, text="Canção \\ \"x\""))
t.add(m.TPE1(encoding=0, text="Artista Ação"))
t.add(m.TALB(encoding=0, text="Álbum"))
t.add(m.TCON(encoding=0, text="(13)Pop"))
t.add(m.TRCK(encoding=0, text="7/12"))
t.add(m.TYER(encoding=0, text="2009"))
t.add(m.COMM(encoding=0, lang="por", desc="", text="comentário"))
t.save(sys.argv[1], v2_version=3, v1=2)
PY
  printf 'isto nao e audio\n' > texto.mp3
} >comandos.log 2>&1 || { echo "making the audio files failed:" >&2; cat comandos.log >&2; exit 1; }

arquivos=(cbr.mp3 vbr.mp3 mono22.mp3 mpeg25.mp3 'Canção Ação.mp3' camada2.mp3 marcada.mp3 texto.mp3
          tom44.wav voz8.wav alaw.wav falta.mp3 FALTA.WAV)
"$linux" --info-audio "${arquivos[@]}" >linux.json 2>linux.err
status_linux=$?
wine "$windows" --info-audio "${arquivos[@]}" </dev/null >windows.json 2>windows.err
status_windows=$?

falhas=0
if ! cmp -s linux.json windows.json; then
  echo "--info-audio: the Windows output differs from the Linux output:" >&2
  diff linux.json windows.json | head -n 20 >&2
  falhas=1
fi
if [ "$status_linux" -ne "$status_windows" ]; then
  echo "--info-audio: exit status $status_windows on Windows, $status_linux on Linux" >&2
  falhas=1
fi
linhas=$(wc -l <linux.json)
if [ "$linhas" -ne "${#arquivos[@]}" ]; then
  echo "--info-audio: $linhas lines for ${#arquivos[@]} files" >&2
  falhas=1
fi
[ "$falhas" -eq 0 ] && echo "--info-audio: the same JSON on Windows and Linux for ${#arquivos[@]} files"
exit "$falhas"
