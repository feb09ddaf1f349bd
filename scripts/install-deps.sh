#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Quiet and quick
# when everything is already there.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config git qt6-base-dev libgl-dev
  libsqlite3-dev sqlite3 libtinyxml2-dev libarchive-dev libssl-dev libcurl4-openssl-dev
  libxml2-dev
  libgtest-dev xvfb xauth vorbis-tools python3 libasound2-dev
  # man: the test of the installed manual page
  man-db
  fonts-ipafont-gothic
  # Korean names in the library check's screenshot
  fonts-nanum
  # lupdate/lrelease and their CMake functions: the English catalogue
  qt6-l10n-tools qt6-tools-dev
  wine wine64 g++-mingw-w64-x86-64-posix locales
  # bsdtar: the baseline of bench/install_bench
  libarchive-tools
  # desktop-file-validate: the test of the installed desktop entry
  desktop-file-utils
  # scripts/fuzz.sh: clang, and its libFuzzer and sanitizer runtimes, which
  # clang only recommends
  clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# Windows programs run under Wine in this locale (the demo and the tests too).
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  echo "making the locale ja_JP.UTF-8"
  $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
