#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The four layers of src/, lowest first: each file includes only headers of its own layer and
# of the layers below it, and only the platform's seam files include the system's headers.
# Prints every include that breaks this and fails; silent when there is none.
#   tools/check_layers.sh [SRC_DIR]
set -euo pipefail
src=${1:-src}
layers=(platform console table app)
rank() {
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done
  echo -1
}

found=0
while IFS= read -r file; do
  layer=${file#"$src"/}
  layer=${layer%%/*}
  own=$(rank "$layer")
  if ((own < 0)); then
    echo "$file: not in a layer (${layers[*]})"
    found=1
    continue
  fi
  while IFS=: read -r line header; do
    included=$(sed -E 's/^#include "([^/"]+)\/.*/\1/' <<< "$header")
    if (($(rank "$included") > own)); then
      echo "$file:$line: $header points up, from $layer to $included"
      found=1
    fi
  done < <(grep -n '^#include "' "$file" | sed -E 's/^([0-9]+):/\1:/')
  if [[ "$file" != "$src"/platform/*_system.cpp ]]; then
    while IFS= read -r hit; do
      echo "$file:$hit: a system header outside the platform's seam files"
      found=1
    done < <(grep -nE '^#include <[a-z/]+\.h>' "$file" || true)
  fi
done < <(find "$src" -name '*.h' -o -name '*.cpp' | sort)
exit "$found"
