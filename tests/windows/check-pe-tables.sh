#!/usr/bin/env bash
# Checks the module DLL's tables as a host's loader meets them: it exports
# exactly vpcDLLInit, vpcDLLExit and GetModuleVersion under their plain names;
# it imports only from the host executable, GDI32.dll, KERNEL32.dll and
# msvcrt.dll; its host imports are, demangled, exactly the declarations in
# EXPECTED; the stand-in host exports each of them; and it has no sections
# that need a C runtime's start-up code (static constructors, thread-local
# storage), which nothing runs.
#
# usage: check-pe-tables.sh READOBJ UNDNAME DLL HOST_EXE EXPECTED [HOST_NAME]
#   HOST_NAME  the executable the host imports bind to (default:
#              HOST_EXE's file name)
set -euo pipefail

if (($# < 5)); then
  echo "usage: $0 READOBJ UNDNAME DLL HOST_EXE EXPECTED [HOST_NAME]" >&2
  exit 2
fi
readobj=$1 undname=$2 dll=$3 host=$4 expected=$5
host_name=${6:-$(basename "$host")}
status=0
fail() { echo "$(basename "$dll"): $*" >&2; status=1; }

# "Name: X" lines of each import table's block, then its "Symbol: Y (n)".
imports=$("$readobj" --coff-imports "$dll" | awk '
  /^  Name: / { dll = $2 } /^  Symbol: / { print dll, $2 }')
exports=$("$readobj" --coff-exports "$dll" | awk '/^  Name: ./ { print $2 }' | sort)

[[ $exports == $'GetModuleVersion\nvpcDLLExit\nvpcDLLInit' ]] ||
  fail "exports are not exactly GetModuleVersion, vpcDLLExit, vpcDLLInit:" $exports
while read -r from _; do
  case $from in
    "$host_name" | GDI32.dll | KERNEL32.dll | msvcrt.dll) ;;
    *) fail "imports from $from" ;;
  esac
done <<<"$imports"

host_imports=$(awk -v host="$host_name" '$1 == host { print $2 }' <<<"$imports" | sort)
[[ -n $host_imports ]] || fail "imports nothing from $host_name"
declarations=$("$undname" <<<"$host_imports" | grep -v '^\s*$' | grep -v '^?' | sort)
if ! diff <(sort "$expected" | grep -v '^#') <(echo "$declarations") >&2; then
  fail "host imports differ from $expected (< expected, > imported)"
fi

host_exports=$("$readobj" --coff-exports "$host" | awk '/^  Name: ./ { print $2 }' | sort)
missing=$(comm -23 <(echo "$host_imports") <(echo "$host_exports"))
[[ -z $missing ]] || fail "$(basename "$host") does not export:" $missing

sections=$("$readobj" --sections "$dll" | awk '/^    Name: / { print $2 }')
for section in $sections; do
  case $section in
    .CRT* | .tls*) fail "has a $section section, which needs start-up code" ;;
  esac
done

((status == 0)) && echo "$(basename "$dll"): exports, $(wc -l <<<"$host_imports") host imports and sections as a host expects"
exit "$status"
