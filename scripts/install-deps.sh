#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

PACKAGES=(
  # toolchain
  g++ cmake ninja-build pkg-config make
  # window
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libgl-dev
  # Firebird: client library and headers, embedded engine, server and its utilities
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-server firebird3.0-utils
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
)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# The tests reach the loopback Firebird server as "localhost", and the server binds to it: the
# name must resolve. A bare root file system may come without /etc/hosts.
if ! getent hosts localhost >/dev/null 2>&1; then
  echo "127.0.0.1 localhost" | $SUDO tee -a /etc/hosts >/dev/null
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
# The server package tries to start its service; in containers without an init system that fails
# harmlessly. A policy-rc.d that forbids starting services keeps the install quiet and clean.
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
