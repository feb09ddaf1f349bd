#!/usr/bin/env bash
# fuzz.sh TARGET|all [SECONDS]: builds the libFuzzer target (every target of
# fuzz/CMakeLists.txt with "all") in build-fuzz with clang and runs each for
# SECONDS (default 60) on a scratch copy of its corpus fuzz/corpus/TARGET/,
# so that a run never grows the committed corpus. fuzz/TARGET.dict, when
# there, is the run's dictionary; fuzz/TARGET.options, when there, holds more
# libFuzzer options (a -max_len of its own, say). Exits non-zero when a target
# found anything (crash, leak, timeout, out of memory): the input that did it
# is kept in build-fuzz/findings/TARGET/, the run's output in
# build-fuzz/logs/TARGET.log.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 1 ]; then
  echo "usage: $0 TARGET|all [SECONDS]" >&2
  exit 2
fi
seconds=${2:-60}
dir=${QV5_FUZZ_BUILD_DIR:-build-fuzz}
mapfile -t known < <(sed -n 's/^qv5_fuzz_target(\([A-Za-z0-9_]*\) .*/\1/p' fuzz/CMakeLists.txt)
if [ "$1" = all ]; then
  targets=("${known[@]}")
else
  if ! printf '%s\n' "${known[@]}" | grep -qx -- "$1"; then
    echo "no fuzz target $1 (there are: ${known[*]})" >&2
    exit 2
  fi
  targets=("$1")
fi

launcher=()
[ -n "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] &&
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER="$CMAKE_CXX_COMPILER_LAUNCHER"
    -DCMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER:-$CMAKE_CXX_COMPILER_LAUNCHER}")
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DQV5_BUILD_FUZZERS=ON -DQV5_BUILD_TESTS=OFF \
  "${launcher[@]}" >/dev/null
cmake --build "$dir" --target "${targets[@]}" -- -j"$(nproc)"

# A smaller quarantine than AddressSanitizer's 256 MB: freed memory is still
# checked for a while, and the inputs run at twice the rate (fewer fresh
# pages). Leaks are findings.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
failed=()
for t in "${targets[@]}"; do
  work="$dir/corpus/$t"
  findings="$dir/findings/$t/"
  log="$dir/logs/$t.log"
  rm -rf "$work"
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  cp -r fuzz/corpus/"$t"/. "$work"/
  options=(-max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048
    -print_final_stats=1 -artifact_prefix="$findings")
  [ -f fuzz/"$t".dict ] && options+=(-dict=fuzz/"$t".dict)
  # shellcheck disable=SC2207 # one option per word
  [ -f fuzz/"$t".options ] && options+=($(grep -v '^#' fuzz/"$t".options))
  echo "fuzzing $t for ${seconds}s"
  if "$dir/fuzz/$t" "${options[@]}" "$work" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "$t: ${runs:-?} inputs, ${rate:-?} a second, nothing found"
  else
    failed+=("$t")
    tail -n 60 "$log"
    echo "$t: FOUND something (input in $findings, output in $log)" >&2
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found something in: ${failed[*]}" >&2
  exit 1
fi
