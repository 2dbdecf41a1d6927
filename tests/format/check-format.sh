#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the project's source folders
# differs from the layout in .clang-format.  `clang-format -i FILE` mends one.
#
# usage: check-format.sh CLANG_FORMAT SOURCE_DIR
set -euo pipefail
clang_format=$1
cd "$2"

unformatted=()
while IFS= read -r -d '' file; do
  "$clang_format" --dry-run -Werror "$file" >/dev/null 2>&1 ||
    unformatted+=("$file")
done < <(find bench common display host model module platform sim testsupport tests \
           tools \( -name '*.cpp' -o -name '*.hpp' -o -name '*.h' \) -print0)

if ((${#unformatted[@]})); then
  printf 'not laid out as .clang-format says: %s\n' "${unformatted[@]}" >&2
  echo "mend with: clang-format -i FILE..." >&2
  exit 1
fi
echo "every C++ file follows .clang-format"
