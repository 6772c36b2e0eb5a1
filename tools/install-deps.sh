#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
# Prints one line per package it installs and nothing when all are present.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libsdl2-dev libsdl2-image-dev
  libogg-dev libvorbis-dev
  libgtest-dev libgmock-dev libbenchmark-dev
)
# Other parts of the project add theirs through tools/deps.d/*.list (one package a line).
here="$(cd "$(dirname "$0")" && pwd)"
if compgen -G "$here/deps.d/*.list" >/dev/null; then
  while read -r p; do
    [ -n "$p" ] && [ "${p#\#}" = "$p" ] && packages+=("$p")
  done < <(cat "$here"/deps.d/*.list)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
log="$(mktemp)"
export DEBIAN_FRONTEND=noninteractive
updated=0
for p in "${missing[@]}"; do
  echo "installing $p"
  if ! $sudo apt-get install -y -q --no-install-recommends "$p" >"$log" 2>&1; then
    if [ $updated -eq 0 ]; then
      updated=1
      $sudo apt-get update -q >"$log" 2>&1 || true
      $sudo apt-get install -y -q --no-install-recommends "$p" >"$log" 2>&1 && continue
    fi
    echo "install-deps: apt-get could not install $p:" >&2
    tail -n 20 "$log" >&2
    rm -f "$log"
    exit 1
  fi
done
rm -f "$log"
