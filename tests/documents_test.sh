#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The documents' claims that a program can check:
# - every example of the Markdown documents and the man page that starts the program (a block
#   whose first line is `$ ` and a command using wordhash) prints what the block shows, CRs
#   left out and report positions masked;
# - each table against its source, both ways: the man page's codes against error_codes.h,
#   README's commands against the program's menu, INSTALL.md's options against `cmake -LH`
#   and its packages against tools/packages.sh, CONTRIBUTING.md's targets against `make help`;
# - each document's sentences, 20 words at most on average (where python3 is installed).
#   tests/documents_test.sh SOURCE_DIR BUILD_DIR WORDHASH MAN_PAGE CMAKE
set -euo pipefail
source_dir=$1
build=$2
program=$3
man_page=$4
cmake=$5
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/build"
ln -s "$program" "$scratch/build/wordhash"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
mask() { sed -E 's/ at [0-9A-F]{8}\./ at XXXXXXXX./'; }

# A document's examples, as lines: each block's command, then what it prints.
markdown_blocks() { awk '/^```/ { print "```"; next } { print }' "$1"; }
man_blocks() {  # the .nf blocks of EXAMPLES, with roff's escapes undone
  sed -n '/^\.SH EXAMPLES/,/^\.SH /p' "$1" |
    awk '/^\.nf/ { print "```"; next } /^\.fi/ { print "```"; next } !/^\./' |
    sed -e 's/\\(rs/\\/g' -e 's/\\-/-/g' -e 's/\\ / /g' -e 's/\\&//g'
}
examples=0
run_examples() {  # NAME, then the blocks on standard input
  local in_block=0 command="" expected="" line actual
  while IFS= read -r line; do
    if [ "$line" = '```' ]; then
      if ((in_block)) && [ -n "$command" ]; then
        actual=$(cd "$scratch" && PATH="$scratch/build:$PATH" bash -c "$command" 2>&1 |
          tr -d '\r' | mask || true)
        [ "$actual" = "$(printf '%s' "$expected" | mask)" ] ||
          fail "$1: $command"$'\n'"$(diff <(printf '%s\n' "$expected" | mask) - <<< "$actual")"
        examples=$((examples + 1))
      fi
      in_block=$((1 - in_block)) command="" expected=""
    elif ((in_block)) && [ -z "$command$expected" ] && [[ $line == '$ '*wordhash* ]]; then
      command=${line#\$ }
    elif ((in_block)) && [ -n "$command" ]; then
      expected+="${expected:+$'\n'}$line"
    fi
  done
}
for document in README.md INSTALL.md CONTRIBUTING.md doc/performance.md; do
  run_examples "$document" < <(markdown_blocks "$source_dir/$document")
done
run_examples "the man page" < <(man_blocks "$man_page")
((examples >= 3)) || fail "only $examples examples found"

# Two lists, one a line each, must hold the same items.
same() {  # WHAT, LIST, SOURCE'S LIST
  local missing extra
  missing=$(comm -13 <(sort -u <<< "$2") <(sort -u <<< "$3") | tr '\n' ' ')
  extra=$(comm -23 <(sort -u <<< "$2") <(sort -u <<< "$3") | tr '\n' ' ')
  [ -z "$missing$extra" ] || fail "$1: missing ${missing:-none}; not in the source ${extra:-none}"
}
# A Markdown table's column N, from the table whose header starts with HEADER.
column() {  # FILE HEADER N
  sed -n "/^| $2 |/,/^\$/p" "$1" | tail -n +3 | grep '^|' |
    awk -F'|' -v n="$(($3 + 1))" '{ gsub(/^ +| +$|`/, "", $n); print $n }'
}

# The man page's codes: each row's message is the program's, and the codes listed as having a
# meaning of their own are the program's.
codes_header=$source_dir/src/platform/error_codes.h
declare -A value message
while read -r name number; do value[$name]=$number; done < <(
  sed -nE 's/.*constexpr std::int32_t (k[A-Za-z]+) = ([0-9]+);/\1 \2/p' "$codes_header")
own=()
while IFS='|' read -r name text; do
  message[${value[$name]}]=${text:-I/O error ${value[$name]}}
  own+=("${value[$name]}")
done < <(sed -nE 's/.*OwnCode\{(k[A-Za-z]+), "([^"]*)"\}.*/\1|\2/p' "$codes_header")
rows=$(sed -n '/^\.TS/,/^\.TE/p' "$man_page" | grep -E $'^[0-9]+\t' | sed -E 's/ \(.*|:.*//')
while IFS=$'\t' read -r code text; do
  [ "$text" = "${message[$code]:-}" ] ||
    fail "the man page: code $code is '$text', not '${message[$code]:-}'"
done <<< "$rows"
grep -qF "($(printf '%s, ' "${own[@]}" | sed 's/, $//'))" "$man_page" ||
  fail "the man page does not list the codes ${own[*]}"

readme=$source_dir/README.md
same "README.md's commands" "$(paste -d ' ' <(column "$readme" key 1) <(column "$readme" key 2))" \
  "$("$program" < /dev/null | sed -n 's/^\([0-9]\) - \(.*\)\r$/\1 \2/p')"
same "INSTALL.md's options" "$(column "$source_dir/INSTALL.md" option 1)" \
  "$("$cmake" -LA -N "$build" | sed -nE 's/^(WORDHASH_[A-Z0-9_]+|BUILD_TESTING):.*/\1/p')"
targets=$(column "$source_dir/CONTRIBUTING.md" target 1 | sed 's/^make //')
same "CONTRIBUTING.md's targets" "$targets" \
  "$(make -s -C "$source_dir" help | sed -nE 's/^([a-z0-9-]+) .*/\1/p')"
# Each set of packages adds to the ones above it.
eval "$(sed -n '/^run=/,/^set_name=/p' "$source_dir/tools/packages.sh" | grep -v '^set_name=')"
listed() { column "$source_dir/INSTALL.md" set 2 | sed -n "$1p" | tr ' ' '\n'; }
added() { comm -23 <(printf '%s\n' "$@" | sort -u) <(printf '%s\n' "${earlier[@]}" | sort -u); }
earlier=()
check_set() {  # ROW NAME
  local -n packages=$2
  same "INSTALL.md's $2 packages" "$(listed "$1")" "$(added "${packages[@]}")"
  earlier+=("${packages[@]}")
}
check_set 1 run
check_set 2 test
check_set 3 web
check_set 4 ci

# Plain sentences: 20 words a sentence at most, on average over each document's prose.
if command -v python3 > /dev/null; then
  (cd "$source_dir" && python3 tools/sentence_lengths.py --most 20 README.md INSTALL.md \
    CONTRIBUTING.md doc/performance.md doc/wordhash.1.in doc/windows/README.txt web/README.txt) ||
    fail "a document's sentences are too long"
else
  echo "sentence lengths not counted: no python3"
fi

echo "$examples examples run, the tables compared, $failures failed"
((failures == 0))
