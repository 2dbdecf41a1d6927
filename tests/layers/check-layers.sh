#!/bin/bash
# check-layers.sh ROOT: holds the sources under ROOT to the project's layers.
#
# Each folder below is one layer; a file may include from its own folder and
# from folders of lower layers only.  Folders of one layer never include each
# other.  The module's folders include C headers (<....h>) only, as the
# Windows target has no C++ library, but for platform's recording stand-ins,
# which serve the native builds.  Prints every offending include as
# FILE:LINE: what is wrong, and exits 1 if there is any.
set -uo pipefail
root=${1:?usage: check-layers.sh ROOT}
cd "$root" || exit 2

# folder rank: lower ranks are lower layers.
layers='common 0
platform 0
model 1
host 2
display 3
module 4
tools/common 5
tools/model 6
sim 7
tools/field 7
tools/chart 7
tools/python 8'
module_folders=' common platform model host display module '

# The layer folder a path lies in (the longest that matches), or nothing.
layer_of() {
  local path=$1 best='' folder rank
  while read -r folder rank; do
    if [[ $path == "$folder"/* && ${#folder} -gt ${#best} ]]; then
      best=$folder
    fi
  done <<<"$layers"
  printf '%s' "$best"
}

rank_of() {
  local folder rank
  while read -r folder rank; do
    [[ $folder == "$1" ]] && { printf '%s' "$rank"; return; }
  done <<<"$layers"
}

failures=0
fail() {
  echo "$1"
  failures=$((failures + 1))
}

folders=()
for folder in $(cut -d' ' -f1 <<<"$layers"); do
  [[ -d $folder ]] && folders+=("$folder")
done
files=$(find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.hpp' -o -name '*.h' \) | sort)
for file in $files; do
  own=$(layer_of "$file")
  own_rank=$(rank_of "$own")
  stand_in=false
  [[ $own == platform && $(basename "$file") == StandIn* ]] && stand_in=true
  while IFS=: read -r line text; do
    if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
      target=${BASH_REMATCH[1]}
      top=${target%%/*}
      [[ $target == */* && -d $top ]] || continue  # beside the file
      theirs=$(layer_of "$target")
      if [[ -z $theirs ]]; then
        fail "$file:$line: includes $target, which is in no layer"
      elif [[ $theirs != "$own" && $(rank_of "$theirs") -ge $own_rank ]]; then
        fail "$file:$line: $own includes $target from $theirs, not a lower layer"
      fi
    elif [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]+)\> ]]; then
      header=${BASH_REMATCH[1]}
      if [[ $module_folders == *" $own "* && $stand_in == false &&
            $header != *.h ]]; then
        fail "$file:$line: the module's $own includes the C++ header <$header>"
      fi
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file" || true)
done

# A tool's file belongs to one of the tools' layers.
if [[ -d tools ]]; then
  while read -r file; do
    [[ -n $(layer_of "$file") ]] || fail "$file: in no layer of tools/"
  done < <(find tools -type f \( -name '*.cpp' -o -name '*.hpp' -o -name '*.h' \) | sort)
fi

if ((failures > 0)); then
  echo "$failures include(s) break the layers"
  exit 1
fi
