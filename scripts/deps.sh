#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# when any of them is missing (xdg-utils opens the help and the mail
# command with the desktop, and libfile-mimeinfo-perl tells it a class
# file's type; the desktop-entry test reads and checks what the install
# gives the desktop with sqlite3, desktop-file-utils and shared-mime-info;
# clang is the second compiler CI builds with; the USB-stick tests make a
# FAT image with dosfstools and mount it with fusefat).
set -euo pipefail

PACKAGES=(
  build-essential clang cmake pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev qt6-translations-l10n
  libsqlite3-dev libjpeg-dev libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 poppler-utils
  cups printer-driver-cups-pdf
  xdg-utils libfile-mimeinfo-perl sqlite3 desktop-file-utils shared-mime-info
  fusefat dosfstools
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
