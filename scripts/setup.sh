#!/usr/bin/env bash
# Installs what building, running and testing Kurvex need on Debian; does nothing when all is there.
# Recommended packages are not installed, so a recommendation the tests rely on is listed here.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  libmuparser-dev libeigen3-dev libgsl-dev
  libwmf-bin emf2svg
  # Print tests render the printed PDF page to look at its pixels (pdftoppm).
  poppler-utils
  # libwmf only recommends its fonts, but wmf2svg fails without them ("failed to load *any* font").
  fonts-urw-base35
  fonts-liberation fonts-dejavu-core
  locales
  # The report document test reads the written OpenDocument file back.
  unzip
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The number-text tests also run under a German process locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  $SUDO locale-gen >/dev/null
fi
