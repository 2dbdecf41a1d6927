#!/usr/bin/env bash
# Checks that the Windows objects keep their floating-point work inside the
# module's floating-point scope: in every function that enters a
# FloatingPointScope, no instruction that computes in floating point (SSE
# arithmetic, comparison or conversion, or an x87 instruction other than
# the environment's own) lies before the first call that enters the scope
# or after the last call that leaves it.  Such an instruction would run in
# the host's floating-point environment.  The scan goes by address, which is
# the order of the code the compiler laid out for a straight-line function
# such as Update; it fails too when no function enters a scope, so that it
# cannot pass on objects that it does not understand.
#
# usage: check-fp-scope.sh OBJDUMP BUILD_DIR
#   BUILD_DIR  a Windows cross build; every *.obj below it is read
set -euo pipefail

if (($# != 2)); then
  echo "usage: $0 OBJDUMP BUILD_DIR" >&2
  exit 2
fi
objdump=$1 dir=$2
mapfile -t objects < <(find "$dir" -name '*.obj' | sort)
if ((${#objects[@]} == 0)); then
  echo "no objects in $dir" >&2
  exit 1
fi

"$objdump" -dr --no-show-raw-insn "${objects[@]}" | awk '
  function finish(    i) {
    if (enter) {
      ++scoped
      for (i = 1; i <= n; ++i) {
        if (fp[i] && (i < enter || i > leave)) {
          print file ": " name ": outside the scope: " text[i]
          ++bad
        }
      }
    }
    n = 0; enter = 0; leave = 0
  }
  # Mnemonics in the assembler syntax llvm-objdump prints.
  function computes(op) {
    if (op ~ /^(fnstenv|fldenv|fldcw|fnstcw|fnstsw|fnclex|fninit|fwait|fxsave|fxrstor|fnsave|frstor)$/) return 0
    if (op ~ /^f/) return 1
    if (op ~ /^v?cvt/) return 1
    if (op ~ /^v?(add|sub|mul|div|sqrt|min|max|round|rcp|rsqrt|hadd|hsub|addsub|dp)[sp][sd]$/) return 1
    if (op ~ /^v?u?comis[sd]$/ || op ~ /^v?cmp[a-z]*[sp][sd]$/) return 1
    if (op ~ /^vfn?m(add|sub)/) return 1
    return 0
  }
  /file format/ { finish(); file = $1; sub(/:$/, "", file); next }
  /^[0-9a-f]+ <.*>:$/ { finish(); name = substr($2, 2, length($2) - 3); next }
  /IMAGE_REL_.*\?\?0FloatingPointScope@/ { if (!enter) enter = n; next }
  /IMAGE_REL_.*\?\?1FloatingPointScope@/ { leave = n; next }
  /^ *[0-9a-f]+:/ {
    ++n
    text[n] = $0
    gsub(/[ \t]+/, " ", text[n])
    fp[n] = computes($2)
  }
  END {
    finish()
    if (scoped == 0) {
      print "no function enters a FloatingPointScope"
      exit 1
    }
    printf "%d functions enter a FloatingPointScope; %d instructions outside it\n", scoped, bad
    exit bad > 0
  }'
