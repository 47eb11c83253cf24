#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The four layers of src/, lowest first: each file includes only headers of its own layer and
# of the layers below it, and only the platform's seam files include the system's headers.
# Prints every include that breaks this and fails; silent when there is none.
#   tools/check_layers.sh [SRC_DIR]
set -euo pipefail
src=${1:-src}
files=$(find "$src" -name '*.h' -o -name '*.cpp' | sort)
[ -n "$files" ] || exit 0
# One grep over the tree; awk judges each include line (-H names the file even for one).
# shellcheck disable=SC2086
grep -HnE '^#include ' $files /dev/null | awk -v src="$src/" '
  BEGIN { split("platform console table app", order, " "); for (i in order) rank[order[i]] = i }
  function layer_of(path) { sub(/\/.*/, "", path); return path }
  {
    split($0, part, ":"); file = part[1]; line = part[2]
    header = substr($0, length(file) + length(line) + 3)
    own = layer_of(substr(file, length(src) + 1))
    if (!(own in rank)) { print file ": not in a layer (platform console table app)"; found = 1; next }
    if (header ~ /^#include "[^\/"]+\//) {
      included = header; sub(/^#include "/, "", included); included = layer_of(included)
      if (included in rank && rank[included] > rank[own]) {
        print file ":" line ": " header " points up, from " own " to " included; found = 1
      }
    } else if (header ~ /^#include <[a-z\/]+\.h>/ && file !~ /\/platform\/[^\/]*_system\.cpp$/) {
      print file ":" line ": " header ": a system header outside the platform seam files"; found = 1
    }
  }
  END { exit found }'
