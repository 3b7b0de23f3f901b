#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent: when everything is present it only checks and returns.
#
#   scripts/install-deps.sh                 what the build, the program and the tests need
#   scripts/install-deps.sh verificacao     also what scripts/raiz-debian.sh needs to make
#                                           fresh Debian roots for trying the README commands
set -euo pipefail

PACKAGES=(
  # toolchain
  g++ cmake ninja-build pkg-config make
  # window
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libgl-dev
  # Firebird: client library and headers, embedded engine, utilities. Not the server package:
  # it would install and start a system service; the tests run its program from a folder of
  # their own (scripts/servidor-teste.sh).
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
  # tests
  libgtest-dev xvfb xauth fonts-dejavu-core fonts-liberation2
  # audio tools for the audio tests (encoders and an independent tag reader)
  lame sox libsox-fmt-mp3 twolame python3 python3-mutagen
  # a real toolchain that makes Windows executables with version resources
  binutils-mingw-w64-x86-64
  # fuzzing: clang with libFuzzer and the sanitizers' runtime (scripts/fuzz.sh)
  clang-14 libclang-rt-14-dev
  # misc
  procps iproute2 netcat-openbsd
  # benchmarks: counting the synchronous writes of the program (bench_musicas)
  strace
)
for grupo in "$@"; do
  case "$grupo" in
    verificacao) PACKAGES+=(debootstrap) ;;
    *) echo "unknown package group: $grupo" >&2; exit 2 ;;
  esac
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# A Debian system names localhost in /etc/hosts; a bare root file system (debootstrap's) comes
# without the file. The tests' namespace covers it with a copy of its own, which needs it there.
if [ ! -e /etc/hosts ]; then
  printf '127.0.0.1\tlocalhost\n::1\t\tlocalhost ip6-localhost ip6-loopback\nff02::1\t\tip6-allnodes\nff02::2\t\tip6-allrouters\n' |
    $SUDO tee /etc/hosts >/dev/null
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# None of these packages is a service, but a maintainer script may still try to start one; in a
# root without an init system that fails noisily. A policy-rc.d that forbids starting services
# keeps the install quiet and clean.
policy=/usr/sbin/policy-rc.d
made_policy=0
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$policy" >/dev/null
  $SUDO chmod +x "$policy"
  made_policy=1
fi
trap '[ $made_policy -eq 1 ] && $SUDO rm -f "$policy"' EXIT
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
