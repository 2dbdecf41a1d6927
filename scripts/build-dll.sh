#!/usr/bin/env bash
# Builds the module for the host, 32-bit Windows, in the platform's own C++
# ABI with clang and lld, and the stand-in host that loads it:
#   build/win32/bin/Norvane.dll      the module, for the host's plug-in folder
#   build/win32/bin/norvane-sim.exe  the stand-in host (with the default host
#                                    executable name only)
# Neither needs anything beside it but Windows' own DLLs.
#
# usage: scripts/build-dll.sh [--host-executable NAME] [--arch i686|x86_64]
#   NAME  the file name of the host executable that exports the plug-in
#         interface (default norvane-sim.exe, the stand-in host)
# Set NORVANE_NO_INSTALL=1 to install nothing and only use what is there.
set -euo pipefail
cd "$(dirname "$0")/.."

host=norvane-sim.exe
arch=i686
while (($#)); do
  case $1 in
    --host-executable) (($# >= 2)) || { echo "$0: $1 needs a NAME" >&2; exit 2; }
      host=$2; shift 2 ;;
    --arch) (($# >= 2)) || { echo "$0: $1 needs i686 or x86_64" >&2; exit 2; }
      arch=$2; shift 2 ;;
    *) echo "usage: $0 [--host-executable NAME] [--arch i686|x86_64]" >&2
      exit 2 ;;
  esac
done
case $arch in
  i686) build=build/win32 ;;
  x86_64) build=build/win64 ;;
  *) echo "$0: --arch must be i686 or x86_64" >&2; exit 2 ;;
esac

[[ ${NORVANE_NO_INSTALL:-} == 1 ]] || bash scripts/deps.sh dll
missing=()
for tool in cmake clang++ lld-link llvm-ar llvm-dlltool llvm-nm; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
  mapfile -t packages < <(bash scripts/deps.sh --list dll)
  echo "$0: not found: ${missing[*]}; the Windows build needs the Debian" \
    "packages: ${packages[*]} (scripts/deps.sh dll installs them)" >&2
  exit 1
fi

# The stand-in host is the executable of the default name only.
stand_in=ON
[[ $host == norvane-sim.exe ]] || stand_in=OFF
cmake -S . -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="cmake/$arch-pc-windows-msvc.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DNORVANE_WERROR=ON \
  -DNORVANE_HOST_EXECUTABLE="$host" -DNORVANE_WINDOWS_HOST=$stand_in
cmake --build "$build" -j"$(nproc)"
echo "built $(pwd)/$build/bin/Norvane.dll for $host"
