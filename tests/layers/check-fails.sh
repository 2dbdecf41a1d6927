#!/bin/bash
# check-fails.sh CHECK: the layering check, given trees that each break the
# layers in one way, must fail and name the offending include; given a tree
# that keeps them, it must pass.
set -euo pipefail
check=${1:?usage: check-fails.sh CHECK}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A tree whose every folder includes only from below, and C headers in the
# module.
make_tree() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree"/{common,platform,model,host,display,module} \
    "$work/tree"/tools/{common,model,field,chart} "$work/tree"/{sim,testsupport}
  cd "$work/tree"
  echo '#include <math.h>' >common/Pi.hpp
  echo '#include "common/Pi.hpp"' >model/FieldModel.hpp
  printf '#include <vector>\n#include "platform/Gdi.hpp"\n' >platform/StandInGdi.cpp
  echo '#include "model/FieldModel.hpp"' >display/Norvane.hpp
  echo '#include "display/Norvane.hpp"' >module/ModuleExports.cpp
  printf '#include <string>\n#include "model/FieldModel.hpp"\n' >tools/model/LoadedModel.hpp
  echo '#include "tools/model/LoadedModel.hpp"' >tools/field/FieldTool.cpp
  echo '#include "module/ModuleExports.hpp"' >sim/LifeCycle.hpp
  cd - >/dev/null
}

# expect_failure WHAT FILE LINE: the check fails on the tree with LINE
# appended to FILE, naming FILE.
expect_failure() {
  make_tree
  echo "$3" >>"$work/tree/$2"
  if output=$(bash "$check" "$work/tree"); then
    echo "passed a tree where $1" >&2
    exit 1
  fi
  [[ $output == *"$2:"* ]] || { echo "did not name $2 where $1: $output" >&2; exit 1; }
}

make_tree
bash "$check" "$work/tree" || { echo "failed a tree that keeps the layers" >&2; exit 1; }

expect_failure "the module's top is included from below" \
  host/HostApi.hpp '#include "module/ModuleEntry.hpp"'
expect_failure "platform includes common, a folder of its layer" \
  platform/Gdi.hpp '#include "common/Pi.hpp"'
expect_failure "the display includes the tools" \
  display/Norvane.cpp '#include "tools/common/Angles.hpp"'
expect_failure "one tool includes the other" \
  tools/chart/ChartRun.cpp '#include "tools/field/FieldTool.hpp"'
expect_failure "the stand-in host includes a tool" \
  sim/Options.cpp '#include "tools/field/Grid.hpp"'
expect_failure "the tools' model includes the tools' top" \
  tools/model/LoadedModel.cpp '#include "tools/chart/ChartRun.hpp"'
expect_failure "the module's model includes a C++ header" \
  model/FieldModel.cpp '#include <vector>'
expect_failure "platform's seam includes a C++ header" \
  platform/Loader.hpp '#include <string>'
expect_failure "a layer includes the tests" \
  model/Wmm2005.cpp '#include "testsupport/RandomPoints.hpp"'
expect_failure "a tool's file lies in no layer" \
  tools/Angles.hpp '#include "common/Pi.hpp"'
echo "the check fails on every broken tree and passes the sound one"
