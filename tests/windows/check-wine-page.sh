#!/usr/bin/env bash
# Runs the Windows stand-in host under Wine, which loads the module, paints a
# page through GDI and checks the plug-in contract, and holds the painted
# page to the native build's recording of the same page.  Paints the page
# again after the host has set its floating-point units to round toward zero
# and, with x87, after it has set the x87 unit to 24-bit precision, each
# before loading the module and inside the host's own Title and GetEquPos
# (where the host checks that its setting stays), and requires the same
# pixels each time.  Exits 77 (skipped) without the Wine loader.
#
# usage: check-wine-page.sh LOADER PREFIX PROGRAM DUMP CHECKER x87|- [ARG...]
#   ARG...  the page's options, as given to the native norvane-sim for DUMP
set -euo pipefail

if (($# < 6)); then
  echo "usage: $0 LOADER PREFIX PROGRAM DUMP CHECKER x87|- [ARG...]" >&2
  exit 2
fi
loader=$1 prefix=$2 program=$3 dump=$4 checker=$5 x87=$6
shift 6
here=$(dirname "$0")
work=$(mktemp -d "$(dirname "$program")/page.XXXXXX")
trap 'rm -rf "$work"' EXIT
name=$(basename "$work")

bash "$here/run-under-wine.sh" "$loader" "$prefix" "$program" "$@" \
  --bmp "$name/page.bmp"
"$checker" "$dump" "$work/page.bmp"

settings=(chop)
[[ $x87 == x87 ]] && settings+=(x87-24)
for setting in "${settings[@]}"; do
  for during in load title position; do
    in=(--fpu-in "$during") where="in the host's $during call"
    [[ $during == load ]] && in=() where="before loading the module"
    bash "$here/run-under-wine.sh" "$loader" "$prefix" "$program" "$@" \
      --fpu "$setting" "${in[@]}" --bmp "$name/page-$setting-$during.bmp"
    if ! cmp -s "$work/page.bmp" "$work/page-$setting-$during.bmp"; then
      echo "the page differs once the host has set its floating-point units" \
        "to $setting $where" >&2
      exit 1
    fi
    echo "the same page, pixel for pixel, with the floating-point units set" \
      "to $setting $where"
  done
done
