#!/usr/bin/env bash
# The install rules and the Debian package as a user gets them: installed into a prefix,
# packaged, unpacked into a scratch root, and the installed program run.
#   tests/package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

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
  warnings=$(zcat "$page" | groff -man -Tutf8 -ww -t 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "groff warns: $warnings"
}

cmake --install "$build" --prefix "$scratch/prefix" > /dev/null
check_installed "$scratch/prefix"
echo "installed with cmake --install: ok"

cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" > /dev/null
deb=$scratch/package/wordhash_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb")"
dpkg-deb -x "$deb" "$scratch/root"
check_installed "$scratch/root/usr"
dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "dependencies were not computed"
echo "package $(basename "$deb") unpacked and run: ok"

if command -v lintian > /dev/null; then
  lintian --fail-on error,warning "$deb" || fail "lintian"
  echo "lintian: clean"
else
  echo "lintian is not installed: not checked"
fi
