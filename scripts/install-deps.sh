#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vorn Basic need.
# Asks apt only for what is missing.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libgtest-dev libgmock-dev
  libbenchmark-dev
  libcli11-dev
  libfreetype-dev libfontconfig-dev libpng-dev
  libedit-dev
  qt6-base-dev
  libxcb1-dev qt6-wayland libqt6svg6 xvfb xdotool xclip
  xfonts-shinonome fonts-ipafont-gothic
  python3 scdoc
  dpkg-dev fakeroot file lintian desktop-file-utils
  # the fuzz targets (scripts/fuzz.sh): clang with libFuzzer and the sanitizers
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
