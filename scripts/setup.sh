#!/usr/bin/env bash
# Installs every Debian package that building, testing and playing need, when missing.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libsdl1.2-compat-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libsdl-ttf2.0-dev
  libpng-dev libvorbis-dev
  libgtest-dev libbenchmark-dev
  python3 desktop-file-utils appstream
  "$@"  # extras for optional builds, e.g. the fuzz targets' clang
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "These packages are missing; install them and run again:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
