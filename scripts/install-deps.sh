#!/usr/bin/env bash
# Installs every Debian package VELT02 needs to build, run and test. Idempotent; run as root.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config ccache
  firebird3.0-server-core libfbclient2 firebird-dev firebird3.0-utils
  qt6-base-dev
  libzip-dev zipcmp zipmerge ziptool
  libxlsxwriter-dev libshp-dev shapelib
  libgtest-dev libgmock-dev libbenchmark-dev
  poppler-utils fonts-dejavu-core zip unzip xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
