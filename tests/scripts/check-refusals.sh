#!/usr/bin/env bash
# Bad input to scripts/deps.sh and scripts/fresh-check.sh ends with exit 2 and
# a message saying why, before anything is installed or mounted; and the main
# job's packages hold no test tooling.
#
# usage: check-refusals.sh SOURCE_DIR
set -euo pipefail
scripts=$1/scripts
# fresh-check.sh sees a user who is not root, and the tools that would make
# a tree only refuse: a refusal that broke never builds or mounts anything.
shim=$(mktemp -d)
trap 'rm -rf "$shim"' EXIT
printf '#!/bin/sh\necho 1000\n' >"$shim/id"
for tool in mmdebstrap mount umount chroot apt-get; do
  printf '#!/bin/sh\necho "$0: not in this test" >&2; exit 99\n' >"$shim/$tool"
done
chmod +x "$shim"/*

failures=0
#      status  message              command
while read -r status message command; do
  output=$(PATH=$shim:$PATH eval "bash $scripts/$command" 2>&1) && got=0 || got=$?
  if [[ $got != "$status" || $output != *"${message//_/ }"* ]]; then
    echo "$command: exit $got, wanted $status with \"${message//_/ }\": $output" >&2
    failures=$((failures + 1))
  fi
done <<'TABLE'
2 must_run_as_root     fresh-check.sh
2 must_run_as_root     fresh-check.sh 'bash scripts/main.sh'
2 usage:               fresh-check.sh --keep
2 usage:               fresh-check.sh --data
2 no_such_directory    fresh-check.sh --data /nonexistent/wmm
2 usage:               deps.sh
2 usage:               deps.sh everything
2 usage:               deps.sh --list
0 libwine-dev          deps.sh --list dll
TABLE

# The main job builds and paints; testing and Windows tooling stay out of it.
tooling=$(bash "$scripts/deps.sh" --list main |
  grep -E '^(wine|clang|lld|llvm|valgrind|hyperfine|libgtest|libbenchmark)' || true)
[[ -z $tooling ]] || { echo "main group holds test tooling: $tooling" >&2; failures=$((failures + 1)); }

((failures == 0)) || exit 1
echo "all refusals as expected"
