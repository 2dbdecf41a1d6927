#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time on
# a copy of its seed corpus (the committed corpus stays as it is).  Fails on
# the first finding: a crash, a sanitizer report, a leak, a broken property,
# or an input running longer than 10 s.  The input behind a finding is kept
# in build/fuzz/findings/.
#
# Usage: scripts/fuzz.sh [SECONDS per target, default 20] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
shift || true
build=build/fuzz
corpus=tests/fuzz/corpus

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DNORVANE_FUZZ=ON \
  -DNORVANE_TESTS=OFF -DNORVANE_BENCH=OFF -DNORVANE_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers

targets=("$@")
if ((${#targets[@]} == 0)); then
  for program in "$build"/tests/fuzz/fuzz_*; do
    targets+=("$(basename "$program")")
  done
fi

findings=$(realpath "$build")/findings
mkdir -p "$findings"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for target in "${targets[@]}"; do
  mkdir "$work/$target"
  if [[ -d $corpus/$target ]]; then
    cp -r "$corpus/$target/." "$work/$target"
  fi
  log=$work/$target.log
  if ! "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings/$target-" "$work/$target" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "$target: FINDING (input kept in $findings)" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "$target: $runs runs in ${seconds} s, $rate exec/s, no finding"
done
