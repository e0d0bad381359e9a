#!/usr/bin/env bash
# Installs what Orvanta needs to build, run and test on Debian 12, skipping what is already there.
# Usage: bash scripts/setup.sh [extra-package ...]
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-private-dev libgl-dev libicu-dev libudev-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-ipafont-gothic "$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO=sudo
  else
    echo "Orvanta needs these Debian packages: ${missing[*]}" >&2
    echo "Install them as root (apt-get install ${missing[*]}), then run this again." >&2
    exit 1
  fi
else
  SUDO=
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
