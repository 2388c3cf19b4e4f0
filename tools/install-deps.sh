#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need,
# only those that are missing, and generates a French UTF-8 locale (the
# number-text test needs a decimal comma) when there is none. apt-get and
# locale-gen as root, through sudo otherwise.
set -euo pipefail
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-base-private-dev libfontconfig-dev libgl-dev libgtest-dev
  fonts-liberation2
  xvfb xauth
  desktop-file-utils appstream xdotool
  locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qix 'fr_FR\.utf-\?8'; then
  echo "Generating the locale fr_FR.UTF-8"
  $sudo sed -i -E 's/^# *(fr_FR\.UTF-8 UTF-8)/\1/' /etc/locale.gen
  grep -q '^fr_FR\.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
