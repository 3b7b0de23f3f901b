#!/usr/bin/env bash
# Makes a small demonstration pair of installations and migrates it with the terminal front end:
# a 2009 database with every table filled, music and jingle files (real MP3 files with ID3v2 tags)
# in the 2009 folder layout, an empty 2010 installation; then the migration, then what it made.
#
#   scripts/demo.sh [BUILD_DIR]
#
# Everything lives in $QUORVEL_DEMO (default ~/.quorvel/demo), made anew at every call, with its
# own drive folder (QUORVEL_UNIDADES) and its own copy of the program, so that the demo's
# checkpoint file and files never mix with real ones.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-${QUORVEL_BUILD:-$raiz/build}}"
demo="${QUORVEL_DEMO:-$HOME/.quorvel/demo}"
fixtures="$raiz/tests/fixtures"

case "$demo" in ""|"/") echo "QUORVEL_DEMO must name a folder of its own" >&2; exit 2 ;; esac
rm -rf "$demo"
export QUORVEL_UNIDADES="$demo/unidades"
# The demo's embedded engine (isql-fb and the program) keeps its lock files in the demo's folder:
# the default /tmp/firebird, made by root here, would shut out a Firebird service installed later.
export FIREBIRD_LOCK="$demo/firebird-lock"
mkdir -p "$FIREBIRD_LOCK"
c="$QUORVEL_UNIDADES/c"
d="$QUORVEL_UNIDADES/d"
mkdir -p "$c/Dados" "$c/Musicas" "$c/Comercial" "$d/Musicas" "$d/Radio2009" "$d/Radio2010" "$demo/programa"
cp "$build/quorvel2009_2010" "$demo/programa/"

# Texts go into the databases as Windows-1252, as the installations keep them.
para1252() { iconv -f UTF-8 -t WINDOWS-1252; }
de1252() { iconv -f WINDOWS-1252 -t UTF-8; }

# A database made from a schema, then filled (SQL dialect 1, no default character set).
criar_base() {
  local arquivo="$1" esquema="$2" dados="${3:-}"
  {
    echo "SET SQL DIALECT 1;"
    echo "CREATE DATABASE '$arquivo' USER 'SYSDBA' PASSWORD 'quindorex' PAGE_SIZE 8192;"
    grep -v -i '^SET SQL DIALECT' "$esquema"
    printf '%s\n' "$dados" | para1252
    echo "COMMIT;"
  } >"$demo/criar.sql"
  if ! isql-fb -q -b -i "$demo/criar.sql" >"$demo/criar.log" 2>&1; then
    echo "could not create $arquivo:" >&2
    grep -v 'DATE data type\|SQL warning code' "$demo/criar.log" >&2
    exit 1
  fi
}

consultar() {  # database, SELECT
  printf 'SET LIST OFF;\n%s\n' "$2" | isql-fb -q -user SYSDBA -password quindorex "$1" 2>&1 | de1252 | sed '/^$/d'
}

# Audio: a few seconds of tone, encoded, tagged as the station's software tags its files.
mp3() {  # file, seconds, frequency, then "FRAME=text" pairs
  local arquivo="$1" segundos="$2" freq="$3"
  shift 3
  sox -q -n -r 44100 -c 2 "$demo/tom.wav" synth "$segundos" sine "$freq" vol 0.3
  lame --quiet -b 128 "$demo/tom.wav" "$arquivo"
  /usr/bin/python3 - "$arquivo" "$@" <<'PY'
import sys
import mutagen.id3 as m
tag = m.ID3()
for par in sys.argv[2:]:
    quadro, texto = par.split("=", 1)
    classe = getattr(m, quadro, None) or type(quadro, (m.TextFrame,), {})
    tag.add(classe(encoding=1, text=[texto]))
tag.save(sys.argv[1], v2_version=3)
PY
}

echo "== Making the demonstration installations in $demo"
mp3 "$c/Musicas/M0001.mp3" 3 440 TIT2="Luz" TPE1="Ana" TALB="Manhãs" TYER=2008 TRCK=1 TCON="MPB" \
  TRIT="Bossa" TVOC="Feminino" TGRA="Gravadora Sol" TLAN="Português" TEST="Acústico"
mp3 "$c/Musicas/M0002.mp3" 4 550 TIT2="Mar Aberto" TPE1="Banda Azul" TALB="Ondas" TYER=2007 TCON="Rock" \
  TRIT="Rock" TVOC="Masculino" TLAN="Português"
mp3 "$d/Musicas/M0003.mp3" 2 660 TIT2="Noite" TPE1="Coral" TCON="Samba" TRIT="Samba" TVOC="Coral"
mp3 "$c/Comercial/V0001.mp3" 2 880 TIT2="Abertura"
mp3 "$c/Comercial/V0002.mp3" 1 990 TIT2="Chamada"
rm -f "$demo/tom.wav"

criar_base "$c/Dados/BASE2009.FDB" "$fixtures/base2009.sql" "
INSERT INTO TB_AGENDA VALUES (1, 'José da Conceição', '11 5555-0001', NULL, '11 99999-0001', 'Rua Água Branca, 100', 'São Paulo', 'SP', '01234-000', 'jose@radio.example', NULL, 5, 12, NULL, NULL, 'Ligar cedo', 'Lapa');
INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_TELEFONE) VALUES (2, 'Padaria Pão Quente', '11 5555-0002');
INSERT INTO TB_AVANCOMANUAL VALUES (1, '06:00:00', '09:00:00', 'S', 'S', 'S', 'S', 'S', 'S', 'N');
INSERT INTO TB_PERFILBOTOES VALUES (3, 'Manhã', 12);
INSERT INTO TB_PERFILBOTOES VALUES (8, 'Tarde', 24);
INSERT INTO TB_BOTONEIRA VALUES (1, 'C:\Comercial\V0001.mp3', 'Abertura', 'N', 'F1', 1, 3, 'V', NULL, 0);
INSERT INTO TB_GENERO VALUES (1, 'MPB');
INSERT INTO TB_GENERO VALUES (2, 'Rock');
INSERT INTO TB_GENERO VALUES (5, 'Samba');
INSERT INTO TB_MUSICAS VALUES (1, 'Luz', 'Ana', 'Ana Souza', 1, 'C:', 'M0001', 'mp3', '00:03');
INSERT INTO TB_MUSICAS VALUES (2, 'Mar Aberto', 'Banda Azul', 'J. Lima', 2, 'C:', 'M0002', 'mp3', '00:04');
INSERT INTO TB_MUSICAS VALUES (3, 'Noite: ao vivo', 'Coral', NULL, 5, 'D:', 'M0003', 'mp3', '00:02');
INSERT INTO TB_MUSICAS VALUES (4, 'Sem arquivo', 'Ninguém', NULL, 1, 'C:', 'M0004', 'mp3', '03:00');
INSERT INTO TB_ECAD VALUES (1, '2009-11-02', '08:00:00', 1);
INSERT INTO TB_ECAD VALUES (2, '2009-11-02', '08:04:00', 2);
INSERT INTO TB_ECAD VALUES (3, '2009-11-02', '08:09:00', 3);
INSERT INTO TB_ECAD VALUES (4, '2009-11-03', '10:00:00', 99);
INSERT INTO TB_IRRADIACAO VALUES (1, 'CT-1', 'Padaria Pão Quente', 'B1', 'C0042', '00:30', 'C', '2009-03-15', '08:15:00');
INSERT INTO TB_PROGAUTO VALUES (1, '2009-01-01', '2009-12-31', '06:00', '12:00', 'S', 'A1');
INSERT INTO TB_PROGAUTO VALUES (2, '2009-01-01', '2009-12-31', '12:00', '18:00', 'C', 'A2');
INSERT INTO TB_VINHETAS VALUES (1, 'V0001', 'Abertura', '0:02', 'mp3', 'V');
INSERT INTO TB_VINHETAS VALUES (2, 'V0002', 'Chamada: Natal?', '0:01,5', 'mp3', 'C');
"
criar_base "$c/Dados/AUDIO.FDB" "$fixtures/base2010_audio.sql"
criar_base "$c/Dados/ADM.FDB" "$fixtures/base2010_adm.sql"
printf 'C:\\Dados\\BASE2009.FDB\r\n' >"$d/Radio2009/Base.ini"
printf '[BANCO]\r\ncaminho=C:\\Dados\\AUDIO.FDB\r\n' >"$d/Radio2010/BaseAudio.ini"
printf '[BANCO]\r\ncaminho=C:\\Dados\\ADM.FDB\r\n' >"$d/Radio2010/BaseAdm.ini"

echo
echo "== Migrating: quorvel2009_2010 --sem-janela --pasta-2009 'D:\\Radio2009' --pasta-2010 'D:\\Radio2010' --sim"
status=0
"$demo/programa/quorvel2009_2010" --sem-janela --pasta-2009 'D:\Radio2009' --pasta-2010 'D:\Radio2010' --sim \
  || status=$?

echo
echo "== The 2010 audio database"
consultar "$c/Dados/AUDIO.FDB" "SELECT MUS_CODIGO, CAST(MUS_NOME AS VARCHAR(16)) MUS_NOME, CAST(MUS_INTERPRETE AS VARCHAR(12)) MUS_INTERPRETE, MUS_TEMPO, MUS_SEGUNDOS, CAST(MUS_ARQUIVO AS VARCHAR(34)) MUS_ARQUIVO FROM TB_MUSICAS ORDER BY MUS_CODIGO;"
consultar "$c/Dados/AUDIO.FDB" "SELECT PAS_CODIGO, CAST(PAS_PATH AS VARCHAR(40)) PAS_PATH FROM TB_PASTAS ORDER BY PAS_CODIGO;"
consultar "$c/Dados/AUDIO.FDB" "SELECT ECA_CODIGO, ECA_DATA, ECA_HORA, MUS_CODIGO FROM TB_ECAD ORDER BY ECA_CODIGO;"
consultar "$c/Dados/AUDIO.FDB" "SELECT VIN_CODIGO, CAST(VIN_NOME AS VARCHAR(20)) VIN_NOME, CAST(VIN_ARQUIVO AS VARCHAR(24)) VIN_ARQUIVO, VIN_TEMPO, VIN_SEGUNDOS FROM TB_VINHETAS ORDER BY VIN_CODIGO;"
echo "== The 2010 administration database"
consultar "$c/Dados/ADM.FDB" "SELECT AGE_CODIGO, CAST(AGE_NOME AS VARCHAR(24)) AGE_NOME, CAST(AGE_CIDADE AS VARCHAR(16)) AGE_CIDADE FROM TB_AGENDA ORDER BY AGE_CODIGO;"
echo "== The files of the 2010 installation (drive D: is $d)"
(cd "$d" && find Radio2010 Musicas -type f | sort)
echo
echo "The demonstration ended with exit status $status (0 success, 1 stopped, 2 refused or error)."
exit "$status"
