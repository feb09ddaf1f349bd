#!/usr/bin/env bash
# Installs what is needed, builds and runs every test: a plain build, then the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
bash scripts/build.sh build-test all -- -DCMAKE_BUILD_TYPE=Debug
(cd build-test && ctest --output-on-failure -j"$(nproc)")
if [ "${QV5_SKIP_SANITIZE:-0}" != 1 ]; then
  bash scripts/build.sh build-asan all -- -DCMAKE_BUILD_TYPE=Debug -DQV5_SANITIZE=ON
  (cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j"$(nproc)")
fi
