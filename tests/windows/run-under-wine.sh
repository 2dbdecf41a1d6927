#!/usr/bin/env bash
# Runs a Windows program under Wine, headless, in a Wine prefix of its own,
# and exits with the program's status.  Exits 77 (reported as skipped) when
# the Wine loader for the program's architecture is not installed.
#
# usage: run-under-wine.sh LOADER PREFIX PROGRAM [ARGUMENT...]
#   LOADER  the Wine loader: /usr/lib/wine/wine64 for 64-bit programs,
#           /usr/lib/wine/wine for 32-bit ones
#   PREFIX  the Wine prefix (directory), created on first use
#   PROGRAM runs in its own directory
set -euo pipefail

readonly skipped=77
if (($# < 3)); then
  echo "usage: $0 LOADER PREFIX PROGRAM [ARGUMENT...]" >&2
  exit 2
fi
loader=$1 prefix=$(realpath -m "$2") program=$3
shift 3

if [[ ! -x $loader ]]; then
  echo "SKIPPED: no Wine loader $loader (install the Wine package for this" \
    "architecture)"
  exit "$skipped"
fi
wineserver=$(dirname "$loader")/wineserver
[[ -f $program ]] || { echo "missing: $program" >&2; exit 2; }

# No display, no debug channels, no prompts to fetch Mono or Gecko.
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY= WAYLAND_DISPLAY=

# One prefix creation at a time; the registry is complete once the Wine
# server that wrote it has exited.
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [[ ! -f $prefix/.norvane-ready ]]; then
    rm -rf "$prefix"
    "$loader" wineboot --init >/dev/null 2>&1
    "$wineserver" --wait
    touch "$prefix/.norvane-ready"
  fi
) 9>"$prefix.lock"

cd "$(dirname "$program")"
status=0
"$loader" "./$(basename "$program")" "$@" || status=$?
"$wineserver" --wait
exit "$status"
