#!/usr/bin/env bash
# Builds Norvane and shows the field for a default point.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

cmake -S . -B build/release -DNORVANE_WERROR=ON
cmake --build build/release -j"$(nproc)"
