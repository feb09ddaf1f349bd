#!/usr/bin/env bash
# build.sh DIR [TARGET] -- [cmake options...]: configures DIR and builds TARGET (default: all).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
target=all
if [ $# -gt 0 ] && [ "$1" != "--" ]; then
  target=$1
  shift
fi
[ $# -gt 0 ] && [ "$1" = "--" ] && shift
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" --target "$target" -- -j"$(nproc)"
