#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need.
# Quick when everything is present: it asks dpkg only, and calls apt-get only
# for what is missing.
#   scripts/setup.sh            what building and testing need
#   scripts/setup.sh --writer   LibreOffice Writer with its windows, which opens the stationery
#                               documents (the editor's run script asks for it)
# The tests print the stationery documents through LibreOffice; its headless build is enough for
# them, and is installed unless the full Writer is there already.
set -euo pipefail

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

packages=(
  build-essential g++ clang cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-image-formats-plugins
  libgl-dev libxkbcommon-dev
  libjpeg62-turbo-dev libjpeg-turbo-progs
  libpng-dev libheif-dev libwebp-dev liblcms2-dev
  libheif-examples webp liblcms2-utils
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libclang-rt-dev
  xvfb xauth xdotool
  libtiff-tools libtiff-dev imagemagick python3-pil poppler-utils
  libvips-dev libvips-tools libmagickwand-dev
  fonts-dejavu-core
)
if [ "${1:-}" = --writer ]; then
  packages+=(libreoffice-writer)
elif ! installed libreoffice-writer; then
  packages+=(libreoffice-writer-nogui)
fi

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
