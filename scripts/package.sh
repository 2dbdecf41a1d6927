#!/usr/bin/env bash
# Builds the module for 32-bit and 64-bit Windows and packs each into a
# release archive with its user's guide and the version:
#   build/dist/Norvane-<version>-win32.zip
#   build/dist/Norvane-<version>-win64.zip
#
# usage: scripts/package.sh [--host-executable NAME] [--from DIR32 DIR64]
#                           [--out DIR]
#   NAME        the host executable the DLLs bind to (default norvane-sim.exe)
#   DIR32/64    pack the DLLs already built there (DIR/bin/Norvane.dll) for
#               NAME, instead of building them
#   DIR         where the archives go (default build/dist)
set -euo pipefail
cd "$(dirname "$0")/.."

host=norvane-sim.exe
from=()
out=build/dist
while (($#)); do
  case $1 in
    --host-executable) host=${2:?NAME}; shift 2 ;;
    --from) from=("${2:?DIR32}" "${3:?DIR64}"); shift 3 ;;
    --out) out=${2:?DIR}; shift 2 ;;
    *) echo "usage: $0 [--host-executable NAME] [--from DIR32 DIR64]" \
         "[--out DIR]" >&2; exit 2 ;;
  esac
done
command -v zip >/dev/null || { echo "$0: zip not found (Debian zip)" >&2; exit 1; }

version=$(sed -n 's/^project(Norvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
if ((${#from[@]} == 0)); then
  bash scripts/build-dll.sh --host-executable "$host" --arch i686
  bash scripts/build-dll.sh --host-executable "$host" --arch x86_64
  from=(build/win32 build/win64)
fi
mkdir -p "$out"
out=$(realpath "$out")

pack() {  # pack BUILD_DIR PLATFORM SUFFIX
  local dll=$1/bin/Norvane.dll
  [[ -f $dll ]] || { echo "$0: no $dll" >&2; exit 1; }
  local stage
  stage=$(mktemp -d)
  cp "$dll" "$stage/Norvane.dll"
  sed -e "s/@VERSION@/$version/g" -e "s/@PLATFORM@/$2/g" \
      -e "s/@HOST_EXECUTABLE@/$host/g" docs/user-guide.txt.in |
    sed 's/$/\r/' >"$stage/Norvane.txt"
  printf '%s\r\n' "$version" >"$stage/VERSION"
  local archive=$out/Norvane-$version-$3.zip
  rm -f "$archive"
  (cd "$stage" && zip -q -X "$archive" Norvane.dll Norvane.txt VERSION)
  rm -rf "$stage"
  echo "packed $archive"
}
pack "${from[0]}" "32-bit Windows" win32
pack "${from[1]}" "64-bit Windows" win64
