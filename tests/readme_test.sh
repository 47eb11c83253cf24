#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs every example of README.md that starts the program (a fenced block whose first line is
# `$ ` and a command using build/wordhash) and compares what it prints with the block's
# other lines. CRs are left out on both sides; report positions, which differ by build, are
# masked. Then checks the README's table of codes against the program's (ERROR_CODES_H).
#   tests/readme_test.sh README WORDHASH ERROR_CODES_H
set -euo pipefail
readme=$1
program=$2
codes_header=$3
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

# Each numbered row of the code table gives the program's message for its code, and the codes
# that an errno is moved clear of are listed as the program has them.
declare -A value message
while read -r name number; do
  value[$name]=$number
done < <(sed -nE 's/.*constexpr std::int32_t (k[A-Za-z]+) = ([0-9]+);/\1 \2/p' "$codes_header")
codes=()
while IFS='|' read -r name text; do
  message[${value[$name]}]=$text
  codes+=("${value[$name]}")
done < <(sed -nE 's/.*OwnCode\{(k[A-Za-z]+), "([^"]*)"\}.*/\1|\2/p' "$codes_header")
rows=0
while IFS='|' read -r _ code text _; do
  code=${code// /}
  text=$(sed -E 's/^ +| +$//g' <<< "$text")
  expected=${message[$code]:-}
  [ -n "$expected" ] || expected="I/O error $code"
  rows=$((rows + 1))
  if [ "$text" != "$expected" ]; then
    echo "FAILED: the README gives code $code the message '$text', the program '$expected'"
    failures=$((failures + 1))
  fi
done < <(sed -n '/^| code | message |/,/^$/p' "$readme" | grep -E '^\| [0-9]+ \| ')
listed="($(printf '%s, ' "${codes[@]}" | sed 's/, $//'))"
if ((rows == 0)) || ! grep -qF "$listed" "$readme"; then
  echo "FAILED: the README does not list the codes $listed"
  failures=$((failures + 1))
fi

echo "$examples examples run, $rows code rows checked, $failures failed"
((examples > 0 && failures == 0))
