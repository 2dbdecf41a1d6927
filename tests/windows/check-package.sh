#!/usr/bin/env bash
# scripts/package.sh packs the DLLs of two cross builds; each archive holds
# exactly the DLL, its user's guide and the version, the guide names the host
# executable and the version, and the packed DLL's tables are as a host
# expects.
#
# usage: check-package.sh SOURCE_DIR BUILD32 BUILD64 READOBJ UNDNAME
set -euo pipefail
source_dir=$1 build32=$2 build64=$3 readobj=$4 undname=$5
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

bash "$source_dir/scripts/package.sh" --from "$build32" "$build64" --out "$work"
version=$(sed -n 's/^project(Norvane VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
for pair in win32:i686:"$build32" win64:x86_64:"$build64"; do
  IFS=: read -r platform arch build <<<"$pair"
  archive=$work/Norvane-$version-$platform.zip
  mkdir "$work/$platform"
  (cd "$work/$platform" && cmake -E tar xf "$archive")
  listing=$(cd "$work/$platform" && ls)
  [[ $listing == $'Norvane.dll\nNorvane.txt\nVERSION' ]] ||
    { echo "$archive holds:" $listing >&2; exit 1; }
  grep -q "^    norvane-sim.exe" "$work/$platform/Norvane.txt" ||
    { echo "the guide does not name the host executable" >&2; exit 1; }
  [[ $(tr -d '\r' <"$work/$platform/VERSION") == "$version" ]] ||
    { echo "VERSION is not $version" >&2; exit 1; }
  bash "$here/check-pe-tables.sh" "$readobj" "$undname" \
    "$work/$platform/Norvane.dll" "$build/bin/norvane-sim.exe" \
    "$here/host-interface-$arch.txt"
done
