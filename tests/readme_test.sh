#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs every example of README.md that starts the program (a fenced block whose first line is
# `$ ` and a command using build/wordhash) and compares what it prints with the block's
# other lines. CRs are left out on both sides; report positions, which differ by build, are
# masked.
#   tests/readme_test.sh README WORDHASH
set -euo pipefail
readme=$1
program=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/build"
ln -s "$program" "$scratch/build/wordhash"

mask() { sed -E 's/ at [0-9A-F]{8}\./ at XXXXXXXX./'; }

examples=0
failures=0
in_block=0
command=""
expected=""
while IFS= read -r line; do
  if [[ $line == '```'* ]]; then
    if ((in_block)) && [ -n "$command" ]; then
      actual=$(cd "$scratch" && bash -c "$command" 2>&1 | tr -d '\r' | mask || true)
      if [ "$actual" != "$(printf '%s' "$expected" | mask)" ]; then
        echo "FAILED: $command"
        diff <(printf '%s\n' "$expected" | mask) <(printf '%s\n' "$actual") || true
        failures=$((failures + 1))
      fi
      examples=$((examples + 1))
    fi
    in_block=$((1 - in_block))
    command=""
    expected=""
  elif ((in_block)) && [ -z "$command" ] && [ -z "$expected" ] && [[ $line == '$ '*build/wordhash* ]]; then
    command=${line#\$ }
  elif ((in_block)) && [ -n "$command" ]; then
    expected+="${expected:+$'\n'}$line"
  fi
done < "$readme"

echo "$examples examples run, $failures failed"
((examples > 0 && failures == 0))
