#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and nothing when they are all there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-l10n-tools qt6-tools-dev-tools
  libgtest-dev libgmock-dev libbenchmark-dev
  libboost-stacktrace-dev
  mdbtools mdbtools-dev
  pxlib-dev libshp-dev libmuparser-dev
  python3 python3-dbfread python3-dbf
  clang libclang-rt-14-dev
  fonts-liberation2
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
