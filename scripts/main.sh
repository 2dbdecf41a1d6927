#!/usr/bin/env bash
# Builds Norvane and shows the compass page for the default vessel: the
# stand-in host loads the module, paints one page, prints its text and writes
# it as build/main/page.png.  Installs only what that build needs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh main

cmake -S . -B build/main -DNORVANE_WERROR=ON -DNORVANE_TESTS=OFF \
  -DNORVANE_BENCH=OFF
cmake --build build/main -j"$(nproc)"

page="$PWD/build/main/page.png"
# Twice the default surface, so the text is easy to read.
build/main/bin/norvane-sim --size 512x512 --png "$page"
echo "page image: $page"
