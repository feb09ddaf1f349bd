#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Quiet and quick
# when everything is already there.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config git qt6-base-dev libgl-dev
  libsqlite3-dev sqlite3 libtinyxml2-dev libarchive-dev libssl-dev libcurl4-openssl-dev
  libgtest-dev xvfb xauth vorbis-tools python3 libasound2-dev
  fonts-ipafont-gothic
  desktop-file-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
