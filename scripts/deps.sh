#!/usr/bin/env bash
# Installs the Debian packages that one job needs, when any is missing.
# Needs root (it runs apt-get non-interactively) only when something is.
#
# usage: scripts/deps.sh [--list] main|dll|test
#   main    build the module, the stand-in host and the tools
#   dll     cross-build the module for Windows and pack it (build-dll.sh,
#           package.sh)
#   test    everything: the above, the tests, benchmarks, fuzzers, Wine
#   --list  only print the group's packages, one a line
# Each group is complete on a minimal Debian 12 (scripts/fresh-check.sh
# proves it); the main one holds no test tooling.
set -euo pipefail

main=(cmake g++ make pkg-config libcli11-dev libcairo2-dev libfontconfig-dev
      fonts-dejavu-core libgeographiclib-dev libpng-dev libimagequant-dev
      libshp-dev python-cartopy-data libproj-dev proj-data)
dll=(cmake make clang lld llvm libwine-dev zip)
test=("${main[@]}" "${dll[@]}" libgtest-dev libbenchmark-dev
      geographiclib-tools hyperfine libclang-rt-dev
      valgrind libstb-dev unzip wine64 wine32:i386 fonts-liberation
      nlohmann-json3-dev libxml2-dev clang-format
      python3-dev pybind11-dev python3-numpy python3-pytest)

list=0
[[ ${1:-} == --list ]] && { list=1; shift; }
case ${1:-} in
  main) packages=("${main[@]}") ;;
  dll) packages=("${dll[@]}") ;;
  test) packages=("${test[@]}") ;;
  *) echo "usage: $0 [--list] main|dll|test" >&2; exit 2 ;;
esac
if ((list)); then
  # Builtins only: build-dll.sh names the packages with this on a bare PATH.
  declare -A listed
  for package in "${packages[@]}"; do
    [[ -n ${listed[$package]:-} ]] || echo "$package"
    listed[$package]=1
  done
  exit 0
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
((${#missing[@]})) || exit 0

echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# The 32-bit Wine runs the host's platform, 32-bit Windows.
if [[ " ${missing[*]} " == *:i386* ]] &&
   ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
# An unreachable mirror is an error here, not a warning that leaves old lists.
apt-get update -qq --error-on=any
apt-get install -y -qq "${missing[@]}"
