#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The install rules and the Debian package as a user and a distribution get them.
#   tests/package_test.sh install SOURCE_DIR BUILD_DIR VERSION
# A staged install and its uninstall, which must touch nothing outside the stage.
#   tests/package_test.sh deb SOURCE_DIR BUILD_DIR VERSION
# The package built twice, in different folders under another umask, locale and time zone,
# and compared byte for byte; checked by lintian, unpacked and its program run; a failure's
# position resolved the way the man page tells; the changelog's newest entry naming the
# project's version. Skipped (status 77) without dpkg-dev.
set -euo pipefail
mode=$1
source_dir=$(cd "$2" && pwd)
build=$(cd "$3" && pwd)
version=$4
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

if [ "$mode" = install ]; then
  # A file at the live path must survive the uninstall of a staged install.
  mkdir -p "$scratch/usr/bin" "$scratch/stage"
  echo decoy > "$scratch/usr/bin/wordhash"
  export WORDHASH_INSTALL_RECORD=$scratch/record
  "$source_dir/tools/install.sh" install "$build" "$scratch/usr" "$scratch/stage" > /dev/null
  check_installed "$scratch/stage$scratch/usr"
  [ ! -e "$scratch/stage$scratch/usr/share/lintian" ] || fail "lintian's overrides installed"
  "$source_dir/tools/install.sh" uninstall "$build" > /dev/null
  [ "$(cat "$scratch/usr/bin/wordhash")" = decoy ] || fail "the live file was touched"
  [ -z "$(ls -A "$scratch/stage")" ] || fail "left in the stage: $(find "$scratch/stage" -mindepth 1)"
  echo "staged install and uninstall: ok"
  exit 0
fi

for tool in dpkg-buildflags dpkg-shlibdeps dpkg-deb; do
  command -v "$tool" > /dev/null || { echo "SKIPPED: no $tool (Debian's dpkg-dev)"; exit 77; }
done

(umask 002 && "$source_dir/tools/build_package.sh" "$source_dir" "$scratch/one" > /dev/null)
sleep 1
(umask 077 && LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8 TZ=Pacific/Kiritimati \
  "$source_dir/tools/build_package.sh" "$source_dir" "$scratch/elsewhere/two" > /dev/null)
name=$(cd "$scratch/one" && ls wordhash_"${version}"_*.deb)
cmp "$scratch/one/$name" "$scratch/elsewhere/two/$name" || fail "two builds of $name differ"
echo "$name built twice, in different folders, umasks, locales and time zones: identical"

dpkg-deb -x "$scratch/one/$name" "$scratch/root"
check_installed "$scratch/root/usr"
dpkg-deb -f "$scratch/one/$name" Depends | grep -q libc6 || fail "dependencies were not computed"
echo "$name unpacked and run: ok"

# The man page's way to a failure's source line: addr2line on a build of the same commit.
report=$("$scratch/root/usr/bin/wordhash" < / 2>&1 > /dev/null || true)
position=$(sed -n 's/.* at \([0-9A-F]\{8\}\)\.\r$/\1/p' <<< "$report")
[ -n "$position" ] || fail "no position in the failure report"
source_line=$(addr2line -e "$scratch/one/wordhash" "0x$position")
grep -qE '^src/[a-z_/]+/command_driver\.cpp:[0-9]+' <<< "$source_line" \
  || fail "position $position resolves to $source_line, not to the command driver"
echo "failure position $position resolved: ok"

if command -v lintian > /dev/null; then
  tags=$(lintian -I -E --pedantic "$scratch/one/$name" 2> /dev/null || true)
  [ -z "$tags" ] || fail "lintian: $tags"
  echo "lintian -I -E --pedantic: clean"
else
  echo "lintian is not installed: not checked"
fi
