#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need,
# only those that are missing (apt-get as root, through sudo otherwise);
# generates a French UTF-8 locale (the number-text test needs a decimal
# comma) when there is none; then the browser tests' node packages, pinned by
# tests/web/package-lock.json (npm ci, again only when they are missing or the
# lock file changed).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-base-private-dev libfontconfig-dev libgl-dev libgtest-dev
  fonts-liberation2
  xvfb xauth
  desktop-file-utils appstream xdotool
  locales
  emscripten chromium firefox-esr webkit2gtk-driver nodejs python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
# npm comes with some builds of nodejs; Debian's own nodejs needs the package.
command -v npm >/dev/null 2>&1 || missing+=(npm)

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

# puppeteer-core drives the system's chromium and downloads no browser; the
# variable keeps any other package from fetching one.
web=tests/web
stamp=$web/node_modules/.kestor-lock
if ! cmp -s "$web/package-lock.json" "$stamp"; then
  echo "Installing the browser tests' node packages (npm ci in $web)"
  (cd "$web" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
  cp "$web/package-lock.json" "$stamp"
fi
