#!/usr/bin/env bash
# scripts/build-dll.sh on a machine without the Windows toolchain: it must
# name what is missing and where it comes from, and exit 1 before building.
#
# usage: check-build-dll-without-tools.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
# A PATH with the shell, cmake and what the script itself calls, nothing else.
for tool in bash dirname cmake; do ln -s "$(command -v "$tool")" "$bin/$tool"; done

status=0
output=$(NORVANE_NO_INSTALL=1 PATH=$bin bash "$source_dir/scripts/build-dll.sh" 2>&1) ||
  status=$?
echo "$output"
[[ $status == 1 ]] || { echo "exit status $status, not 1" >&2; exit 1; }
for word in clang++ lld-link llvm-dlltool "Debian packages: " " clang " " lld " " llvm "; do
  [[ $output == *"$word"* ]] || { echo "the message does not name $word" >&2; exit 1; }
done
