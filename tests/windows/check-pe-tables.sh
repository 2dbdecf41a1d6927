#!/usr/bin/env bash
# Reads the export and import tables of the module DLL as the Windows loader
# will: the DLL must be a DLL of the expected format with an entry point,
# export exactly vpcDLLInit, vpcDLLExit and GetModuleVersion by their plain
# names, import from nothing but the host executable, GDI32.dll,
# KERNEL32.dll and msvcrt.dll (so no compiler runtime DLL has to ship beside
# it), and find every name it imports from the host among the host's exports.
#
# usage: check-pe-tables.sh OBJDUMP MODULE.dll HOST.exe FORMAT
#   FORMAT is "PE32" for 32-bit Windows, "PE32+" for 64-bit.
# Exits 0 when everything holds, 1 with the reasons otherwise, 2 for bad use.
set -euo pipefail

if (($# != 4)); then
  echo "usage: $0 OBJDUMP MODULE.dll HOST.exe PE32|PE32+" >&2
  exit 2
fi
objdump=$1 module=$2 host=$3 format=$4
for file in "$module" "$host"; do
  [[ -f $file ]] || { echo "missing: $file" >&2; exit 2; }
done

module_dump=$("$objdump" -p "$module")
host_dump=$("$objdump" -p "$host")
host_name=$(basename "$host")
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Names in the "[Ordinal/Name Pointer] Table" of an objdump -p listing.
exports() {
  awk '/^\[Ordinal\/Name Pointer\] Table/ { table = 1; next }
       table && /^[ \t]*\[ *[0-9]+\]/ { print $NF; next }
       table { table = 0 }' <<<"$1" | LC_ALL=C sort
}

# "DLL Name" entries of the import tables, lower-cased (Windows compares
# module names without case).
import_dlls() {
  sed -n 's/^[ \t]*DLL Name: //p' <<<"$1" | tr 'A-Z' 'a-z' | LC_ALL=C sort
}

# Names imported from one DLL: the rows after its "DLL Name" line.
imports_from() {
  awk -v dll="$2" '
    /^[ \t]*DLL Name: / { inside = (tolower($3) == tolower(dll)); next }
    inside && /^[ \t]*[0-9a-f]+[ \t]+[0-9]+[ \t]+/ { print $3; next }
    inside && /^[ \t]*$/ { inside = 0 }' <<<"$1" | LC_ALL=C sort
}

magic=$(awk '$1 == "Magic" { print $3 }' <<<"$module_dump")
[[ $magic == "($format)" ]] || fail "$module is $magic, not ($format)"

characteristics=$(awk '$1 == "Characteristics" { print $2; exit }' <<<"$module_dump")
((characteristics & 0x2000)) || fail "$module is not marked as a DLL"

entry=$(awk '$1 == "AddressOfEntryPoint" { print $2 }' <<<"$module_dump")
((16#${entry:-0} != 0)) || fail "$module has no entry point"

expected_exports=$(printf '%s\n' GetModuleVersion vpcDLLExit vpcDLLInit)
actual_exports=$(exports "$module_dump")
[[ $actual_exports == "$expected_exports" ]] ||
  fail "exports are [$(echo $actual_exports)], expected [$(echo $expected_exports)]"

expected_dlls=$(printf '%s\n' "$host_name" gdi32.dll kernel32.dll msvcrt.dll |
  tr 'A-Z' 'a-z' | LC_ALL=C sort)
actual_dlls=$(import_dlls "$module_dump")
[[ $actual_dlls == "$expected_dlls" ]] ||
  fail "imports from [$(echo $actual_dlls)], expected [$(echo $expected_dlls)]"

host_exports=$(exports "$host_dump")
from_host=$(imports_from "$module_dump" "$host_name")
[[ -n $from_host ]] || fail "$module imports nothing from $host_name"
missing=$(LC_ALL=C comm -23 <(echo "$from_host") <(echo "$host_exports"))
[[ -z $missing ]] || fail "$host_name does not export [$(echo $missing)]"

if ((failures)); then
  echo "--- $module:"
  grep -E 'DLL Name|^[[:space:]]*\[ *[0-9]+\] [^+]' <<<"$module_dump" || true
  exit 1
fi
echo "$module: $format DLL; exports [$(echo $actual_exports)];" \
  "imports from [$(echo $actual_dlls)]; all $(wc -l <<<"$from_host") host" \
  "imports exported by $host_name"
