#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Line coverage of src/ from the counts a coverage build's test run left behind.
#   tools/coverage_summary.sh BUILD_DIR [MINIMUM_PERCENT]
# A header's inline code is counted in every file that includes it; its best count is kept.
set -euo pipefail
build=$(cd "$1" && pwd)
minimum=${2:-0}
source_root=$(cd "$(dirname "$0")/.." && pwd)/src/

cd "$build"
find . -name '*.gcda' -print0 |
  while IFS= read -r -d '' counts; do
    gcov -n -o "$(dirname "$counts")" "$counts" 2>/dev/null
  done |
  awk -v root="$source_root" -v minimum="$minimum" '
    /^File / { file = substr($2, 2, length($2) - 2); next }
    /^Lines executed:/ && index(file, root) == 1 {
      split($2, parts, ":"); percent = parts[2] + 0; total = $4 + 0
      covered = int(percent * total / 100 + 0.5)
      if (!(file in lines) || covered > hit[file]) { lines[file] = total; hit[file] = covered }
    }
    END {
      for (file in lines) {
        all += lines[file]; done += hit[file]
        printf "%6.1f%%  %4d/%-4d  %s\n", 100 * hit[file] / lines[file], hit[file], lines[file], substr(file, length(root) + 1) | "sort -k4"
      }
      close("sort -k4")
      printf "line coverage of src/: %.1f%% (%d of %d lines)\n", 100 * done / all, done, all
      if (100 * done / all < minimum) { printf "below the minimum of %s%%\n", minimum; exit 1 }
    }'
