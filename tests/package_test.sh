#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The install rules and the Debian package as a user and a distribution get them.
#   tests/package_test.sh install SOURCE_DIR BUILD_DIR VERSION
# make install and make uninstall with awkward paths, a second install, a replaced file and
# failed installs: uninstall leaves the area as it was before the install, but for a file
# the user replaced, which it keeps and names.
#   tests/package_test.sh deb SOURCE_DIR BUILD_DIR VERSION
# The package built twice, from and in different folders (one path with a space) under
# another umask, locale and time zone, and compared byte for byte; checked by lintian,
# unpacked and its program run; a failure's position resolved the way the man page tells;
# the changelog's newest entry naming the project's version. Skipped (status 77) without
# dpkg-dev.
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

# A short dialogue, which an installed program must answer as the build's own does.
printf '0\r\nab\r\n2\r\nab\r\n4\r\n' > "$scratch/input"
"$build/wordhash" < "$scratch/input" > "$scratch/expected"

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
  export WORDHASH_INSTALL_RECORD=$scratch/record
  area=$scratch/area
  # make install and uninstall on the build under test, which they must not configure again.
  make_() {
    make -s -C "$source_dir" "$1" BUILD_DIR="$build" "PREFIX=${2:-}" "DESTDIR=${3:-}" \
      "BUILD_TYPE=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")" \
      "WERROR=$(sed -n 's/^WORDHASH_WERROR:BOOL=//p' "$build/CMakeCache.txt")" > "$scratch/said" 2>&1
  }
  state() { find "$area" -printf '%p %s\n' | sort; }
  # Each case starts from an area that holds a file at the live path, which a staged install
  # must never touch, and folders that paths with a glob or .. could be taken for.
  fresh_area() {
    rm -rf "$area"
    mkdir -p "$area/usr/bin" "$area/old" "$area/gx"
    echo decoy > "$area/usr/bin/wordhash"
  }
  # name | PREFIX | DESTDIR | what else happens: again (installed twice), replaced (a user's
  # file put at an installed path), broken (share/ a dangling symlink), refused (a line feed)
  cases=(
    "staged|$area/usr|$area/stage|"
    "space|$area/my apps|$area/st age|"
    "quote|$area/it's||"
    "glob|$area/usr|$area/g*|"
    "shell syntax|$area/usr|$area/st; touch $area/INJECTED|"
    "dot-dot|$area/usr|$area/new/../old|"
    "line feed|$area/usr|$area/a"$'\n'"b|refused"
    "installed twice|$area/usr|$area/stage|again"
    "file replaced|$area/usr|$area/stage|replaced"
    "failed install|$area/usr|$area/stage|broken"
  )
  for row in "${cases[@]}"; do
    IFS='|' read -r name prefix destdir event <<< "${row//$'\n'/$'\1'}"
    destdir=${destdir//$'\1'/$'\n'}
    fresh_area
    root=${destdir:+$(realpath -m -- "$destdir")}$prefix
    [ "$event" != broken ] || { mkdir -p "$root" && ln -s "$area/nowhere" "$root/share"; }
    before=$(state)
    if ! make_ install "$prefix" "$destdir"; then
      [[ $event == refused || $event == broken ]] || { cat "$scratch/said"; fail "$name: install"; }
      [ "$(state)" = "$before" ] || fail "$name: a failed install left: $(diff <(echo "$before") <(state))"
      continue
    fi
    [[ $event != refused && $event != broken ]] || fail "$name: the install did not fail"
    check_installed "$root"
    [ ! -e "$root/share/lintian" ] || fail "lintian's overrides installed"
    [ "$event" != again ] || make_ install "$prefix" "$destdir" || fail "$name: install again"
    [ "$event" != replaced ] || echo mine > "$root/share/man/man1/wordhash.1.gz"
    make_ uninstall || { cat "$scratch/said"; fail "$name: uninstall"; }
    if [ "$event" = replaced ]; then
      grep -q "kept $root/share/man/man1/wordhash.1.gz" "$scratch/said" || fail "$name: not named"
      [ "$(cat "$root/share/man/man1/wordhash.1.gz")" = mine ] || fail "$name: the file was removed"
      rm "$root/share/man/man1/wordhash.1.gz"
      rmdir -p "$root/share/man/man1" 2> /dev/null || true
    fi
    [ "$(state)" = "$before" ] || fail "$name: uninstall left: $(diff <(echo "$before") <(state))"
  done
  echo "install and uninstall with ${#cases[@]} kinds of path: ok"
  exit 0
fi

for tool in dpkg-buildflags dpkg-shlibdeps dpkg-deb; do
  command -v "$tool" > /dev/null || { echo "SKIPPED: no $tool (Debian's dpkg-dev)"; exit 77; }
done

# The second build is of a copy of the sources in a folder whose path holds a space.
copy="$scratch/other dir"
mkdir "$copy"
tar -C "$source_dir" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$copy" -xf -
(umask 002 && "$source_dir/tools/build_package.sh" "$source_dir" "$scratch/one" > /dev/null)
sleep 1
(umask 077 && LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8 TZ=Pacific/Kiritimati \
  "$copy/tools/build_package.sh" "$copy" "$scratch/else where/two" > /dev/null)
name=$(cd "$scratch/one" && ls wordhash_"${version}"_*.deb)
cmp "$scratch/one/$name" "$scratch/else where/two/$name" || fail "two builds of $name differ"
echo "$name built twice, in folders with and without spaces, umasks, locales and time zones: identical"

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
