#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The install rules and the Debian package as a user and a distribution get them: installed
# into a prefix; the package built twice in different folders and compared byte for byte,
# checked by lintian, unpacked and its program run; a failure's position resolved the way the
# man page tells; and the changelog's newest entry naming the project's version.
#   tests/package_test.sh SOURCE_DIR BUILD_DIR VERSION
set -euo pipefail
source_dir=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
version=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

head -n 1 "$source_dir/doc/changelog" | grep -q "^wordhash ($version) " \
  || fail "the changelog's newest entry is not version $version"

# A short dialogue and its exact output.
printf '0\r\nab\r\n2\r\nab\r\n4\r\n' > "$scratch/input"
{
  printf '0 - Dobavit v hash table\r\n2 - Poisk hash table\r\n3 - Vivod hash table\r\n4 - Exit\r\n'
  printf 'Enter command: Enter Slovo: Comparies: 1\r\n3\r\n'
  printf 'Enter command: Enter Slovo: Eto slovo naideni i nahodatsa po\r\nIndex is: 3\r\nComparies: 1\r\n'
  printf 'Enter command: '
} > "$scratch/expected"

check_installed() {  # ROOT: bin/wordhash and its man page under ROOT
  local root=$1
  [ -x "$root/bin/wordhash" ] || fail "no $root/bin/wordhash"
  "$root/bin/wordhash" < "$scratch/input" > "$scratch/output" || fail "installed program failed"
  cmp "$scratch/output" "$scratch/expected" || fail "installed program's dialogue differs"
  local page=$root/share/man/man1/wordhash.1.gz
  [ -f "$page" ] || fail "no $page"
  zcat "$page" | grep -q "wordhash $version" || fail "the man page does not show version $version"
  local warnings
  warnings=$(zcat "$page" | groff -man -Tutf8 -ww -t 2>&1 > /dev/null)
  [ -z "$warnings" ] || fail "groff warns: $warnings"
}

cmake --install "$build" --prefix "$scratch/prefix" > /dev/null
check_installed "$scratch/prefix"
echo "installed with cmake --install: ok"

"$source_dir/tools/build_package.sh" "$source_dir" "$scratch/one" > /dev/null
sleep 1
"$source_dir/tools/build_package.sh" "$source_dir" "$scratch/elsewhere/two" > /dev/null
name=$(cd "$scratch/one" && ls wordhash_"${version}"_*.deb)
cmp "$scratch/one/$name" "$scratch/elsewhere/two/$name" || fail "two builds of $name differ"
echo "$name built twice in different folders: identical"

dpkg-deb -x "$scratch/one/$name" "$scratch/root"
check_installed "$scratch/root/usr"
dpkg-deb -f "$scratch/one/$name" Depends | grep -q libc6 || fail "dependencies were not computed"
echo "$name unpacked and run: ok"

# The man page's way to a failure's source line: addr2line on a build of the same commit.
report=$("$scratch/root/usr/bin/wordhash" < / 2>&1 > /dev/null || true)
position=$(sed -n 's/.* at \([0-9A-F]\{8\}\)\.\r$/\1/p' <<< "$report")
[ -n "$position" ] || fail "no position in the failure report"
addr2line -e "$scratch/one/wordhash" "0x$position" | grep -q 'command_driver\.cpp:[0-9]' \
  || fail "position $position does not resolve to the command driver"
echo "failure position $position resolved: ok"

if command -v lintian > /dev/null; then
  tags=$(lintian -I -E --pedantic "$scratch/one/$name" 2> /dev/null || true)
  [ -z "$tags" ] || fail "lintian: $tags"
  echo "lintian -I -E --pedantic: clean"
else
  echo "lintian is not installed: not checked"
fi
