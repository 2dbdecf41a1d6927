#!/usr/bin/env bash
# Builds the module for the host, 32-bit Windows, with MinGW-w64:
#   build/win32/bin/Norvane.dll      the module, for the host's plug-in folder
#   build/win32/bin/norvane-sim.exe  the stand-in host that loads it
# Neither needs a compiler runtime DLL beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake \
  -DCMAKE_BUILD_TYPE=Release -DNORVANE_WERROR=ON
cmake --build build/win32 -j"$(nproc)"
echo "built $(pwd)/build/win32/bin/Norvane.dll"
