#!/usr/bin/env bash
# Builds everything and runs every test: once as a release build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer; then fuzzes the module's
# entry points for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test

jobs=$(nproc)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# Runs one build's tests; prints how many passed (skipped ones do not count).
run_tests() {
  ctest --test-dir "$1" --output-on-failure -j"$jobs" | tee "$logs/$2" >&2 || exit 1
  local total skipped
  total=$(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$logs/$2")
  skipped=$(grep -c '(Skipped)$' "$logs/$2" || true)
  echo $((total - skipped))
}

cmake -S . -B build/release -DNORVANE_WERROR=ON -DNORVANE_PYTHON=ON
cmake --build build/release -j"$jobs"
release=$(run_tests build/release release)

cmake -S . -B build/sanitize -DNORVANE_WERROR=ON -DNORVANE_SANITIZE=ON \
  -DNORVANE_BENCH=OFF
cmake --build build/sanitize -j"$jobs"
sanitize=$(run_tests build/sanitize sanitize)

# The module's inputs under libFuzzer, 20 s per target.
bash scripts/fuzz.sh 20 | tee "$logs/fuzz"
fuzzed=$(grep -c 'no finding$' "$logs/fuzz" || true)

echo "release $release, sanitizers $sanitize, fuzz targets $fuzzed"
echo "all: $((release + sanitize + fuzzed)) passed, 0 failed"
