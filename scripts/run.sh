#!/usr/bin/env bash
# Installs what is needed, builds, prepares the demo game folder and starts QV5 on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build QV5 -- -DCMAKE_BUILD_TYPE=RelWithDebInfo
demo=$(bash scripts/make-demo.sh "$PWD/demo" build/src/QV5)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found. Start it under a virtual X server instead:"
  echo "  xvfb-run -a build/src/QV5 --dir \"$demo\""
  exit 1
fi
exec build/src/QV5 --dir "$demo" "$@"
