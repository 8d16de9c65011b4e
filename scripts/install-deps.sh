#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, run and test.
# Idempotent: packages already present are skipped, and the package lists
# are refreshed only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang clang-format
  libgtest-dev libgmock-dev googletest libbenchmark-dev rapidjson-dev
  libzip-dev libpugixml-dev libxlsxwriter-dev python3-openpyxl python3-odf
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n libgl-dev
  fonts-ipafont fonts-ipafont-gothic fonts-ipafont-mincho
  xvfb xauth imagemagick poppler-utils time
  cups cups-bsd cups-client printer-driver-cups-pdf
  desktop-file-utils appstream xdotool
  dbus-daemon dbus-x11 at-spi2-core python3-pyatspi
  pandoc dpkg-dev lintian file
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

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
