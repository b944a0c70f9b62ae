#!/usr/bin/env bash
# Installs the Debian packages Wavetrap builds, runs and tests with. Safe to run again:
# packages already present are not touched, and apt-get runs only when something is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config git python3
  qt6-base-dev libgl-dev
  libcurl4-openssl-dev libmpg123-dev libpulse-dev libogg-dev libavcodec-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  nlohmann-json3-dev
  lhasa nginx-light icecast2 ffmpeg lame mp3val streamripper
  desktop-file-utils appstream lintian
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
