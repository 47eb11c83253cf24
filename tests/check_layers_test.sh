#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The layer check passes on the tree and catches an upward include and a system header out of
# place, each put into a copy of it.
#   tests/check_layers_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
check=$source_dir/tools/check_layers.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

"$check" "$source_dir/src" || { echo "FAILED: the tree itself breaks its layers"; exit 1; }

expect_caught() {  # FILE LINE: the line added to a copy of src/ must fail the check
  rm -rf "$scratch/src"
  cp -r "$source_dir/src" "$scratch/src"
  echo "$2" >> "$scratch/src/$1"
  if "$check" "$scratch/src" > "$scratch/found"; then
    echo "FAILED: not caught: $2 in $1"
    exit 1
  fi
  grep -q "$1" "$scratch/found" || { echo "FAILED: not named: $1"; exit 1; }
}
expect_caught table/word.cpp '#include "app/program.h"'
expect_caught console/console_io.cpp '#include "table/word.h"'
expect_caught table/word.cpp '#include <unistd.h>'
echo "layers: upward includes and misplaced system headers caught"
