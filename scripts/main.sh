#!/usr/bin/env bash
# Builds Norvane and shows the compass page for the default vessel: the
# stand-in host loads the module, paints one page, prints its text and writes
# it as build/release/page.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

cmake -S . -B build/release -DNORVANE_WERROR=ON
cmake --build build/release -j"$(nproc)"

page="$PWD/build/release/page.png"
# Twice the default surface, so the text is easy to read.
build/release/bin/norvane-sim --size 512x512 --png "$page"
echo "page image: $page"
