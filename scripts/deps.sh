#!/usr/bin/env bash
# Installs the Debian packages the build, the tools and the tests need, when
# any is missing.  Needs root (it runs apt-get non-interactively).
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libgtest-dev libbenchmark-dev
  libcli11-dev libcairo2-dev libfontconfig-dev fonts-dejavu-core
  libgeographiclib-dev geographiclib-tools
  hyperfine
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 fonts-liberation
  clang libclang-rt-dev valgrind
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
