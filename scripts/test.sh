#!/usr/bin/env bash
# Builds everything and runs every test: once as a release build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer; then fuzzes the module's
# entry points for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

jobs=$(nproc)
cmake -S . -B build/release -DNORVANE_WERROR=ON
cmake --build build/release -j"$jobs"
ctest --test-dir build/release --output-on-failure -j"$jobs"

cmake -S . -B build/sanitize -DNORVANE_WERROR=ON -DNORVANE_SANITIZE=ON \
  -DNORVANE_BENCH=OFF
cmake --build build/sanitize -j"$jobs"
ctest --test-dir build/sanitize --output-on-failure -j"$jobs"

# The module's inputs under libFuzzer, 20 s per target.
bash scripts/fuzz.sh 20
