#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# when any of them is missing (xdg-utils opens the help and the mail
# command with the desktop, and libfile-mimeinfo-perl tells it a class
# file's type; the desktop-entry test reads and checks what the install
# gives the desktop with sqlite3, desktop-file-utils and shared-mime-info;
# clang is the second compiler CI builds with; the USB-stick tests make a
# FAT image with dosfstools and mount it with fusefat; the package test
# checks the Debian package with lintian and its AppStream description with
# appstream, and reads its changelog with dpkg-dev).
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
  lintian appstream dpkg-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# Another apt at work (an automatic upgrade, a second install) holds the
# package locks: the install waits up to this long for them.
WAIT=600
INSTALL=(apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=$WAIT "${missing[@]}")

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Installing them needs root, and there is no sudo here. Run as root (e.g. after su -):" >&2
    echo "  apt-get update && DEBIAN_FRONTEND=noninteractive ${INSTALL[*]}" >&2
    echo "then this command again." >&2
    exit 1
  fi
  SUDO=(sudo)
fi
echo "Installing: ${missing[*]}"
# apt-get update waits for no lock of its own (the package lists'), so it
# is tried again while another apt holds that lock (told in English, which
# is what is looked for).
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
for (( waited = 0; ; waited += 5 )); do
  if "${SUDO[@]}" env LC_ALL=C apt-get update -qq 2>"$errors"; then
    cat "$errors" >&2
    break
  fi
  if ! grep -q "Could not get lock" "$errors" || [ $waited -ge $WAIT ]; then
    cat "$errors" >&2
    exit 1
  fi
  [ $waited -eq 0 ] && echo "Waiting for another apt to finish ..."
  sleep 5
done
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive "${INSTALL[@]}"
