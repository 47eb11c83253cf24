#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The files of make release, as a user and a release manager get them (make release-test):
# made again from a clone in a folder whose path holds a space, under another umask, time zone
# and locale, they are the same bytes (the .deb left out: Package.deb proves it); each zip's
# entries, modes, times and CR LF text; each .exe's sections, imports, version and, for the
# 32-bit one, its large-address-awareness; then each program unpacked and run under wine
# (tools/wine_test.sh says when the 32-bit one is emulated or cannot run): README.txt's example,
# which must also be what the Linux program writes, and a failure report whose position
# README.txt's way resolves with the debug archive; then the web page unpacked, served from
# 127.0.0.1 and used in Chromium (tests/web_page_test.py).
#   tests/release_test.sh SOURCE_DIR RELEASE_DIR LINUX_PROGRAM WINE64 WINE_PREFIX_STEM PYTHON
set -euo pipefail
source_dir=$1
release=$2
linux_program=$3
wine=$4
prefix_stem=$5
python=$6
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

version=$(sed -n 's/^project(wordhash VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
epoch=$(dpkg-parsechangelog -l "$source_dir/doc/changelog" -S Timestamp)
[ -s "$release/SHA256SUMS" ] || fail "no release in $release: run make release first"
(cd "$release" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"

# The same commit, released again elsewhere.
again="$scratch/an other/wordhash"
git clone -q --no-hardlinks "$source_dir" "$again"
git -C "$again" checkout -q "$(git -C "$source_dir" rev-parse HEAD)"
(umask 077 && TZ=Asia/Tokyo LANG=POSIX LC_ALL=POSIX \
  "$again/tools/release.sh" "$scratch/second release" --no-deb > /dev/null 2>&1) ||
  fail "the second make release"
for file in "$scratch/second release"/wordhash*; do
  cmp "$file" "$release/${file##*/}" || fail "${file##*/} differs between two releases"
done
cmp <(grep -v '\.deb$' "$release/SHA256SUMS") "$scratch/second release/SHA256SUMS"
echo >> "$again/README.md"
! "$again/tools/release.sh" "$scratch/refused" 2> /dev/null || fail "released with a changed file"
echo "released twice, in two folders, umasks, time zones and locales: identical"
echo "a release with a changed file: refused"

zip_time=$(TZ=UTC date -d "@$epoch" +%Y%m%d.%H%M%S)
check_zip() {  # ZIP, then its entries as they must be listed
  local zip=$release/$1 entries
  shift
  entries=$(zipinfo -1 "$zip")
  [ "$entries" = "$(printf '%s\n' "$@")" ] || fail "$zip holds: $entries"
  # Mode, no extra field, stored time: directories and programs 755, the rest 644.
  zipinfo -T "$zip" | awk -v time="$zip_time" -v zip="$zip" '
    /^[d-]r/ { mode = ($1 ~ /^d/ || $NF ~ /\.exe$/) ? "rwxr-xr-x" : "rw-r--r--"
               if (substr($1, 2) != mode || $5 !~ /^[bt]-$/ || $7 != time) {
                 print "FAILED: " zip ": " $0; bad = 1 } }
    END { exit bad }'
}
for bits in 64 32; do
  top=wordhash-$version-win$bits
  check_zip "$top.zip" "$top/" "$top/LICENSE.txt" "$top/README.txt" "$top/THIRD-PARTY.txt" \
    "$top/wordhash.exe"
  check_zip "$top-debug.zip" "$top-debug/" "$top-debug/wordhash.exe"
  mkdir -p "$scratch/un zipped"
  unzip -q "$release/$top.zip" -d "$scratch/un zipped"
  unzip -q "$release/$top-debug.zip" -d "$scratch/un zipped"
  for text in LICENSE README THIRD-PARTY; do
    file="$scratch/un zipped/$top/$text.txt"
    ! grep -q $'[^\r]$\|^$' "$file" || fail "$top/$text.txt has a line that does not end in CR LF"
  done
done
web=wordhash-$version-web
check_zip "$web.zip" "$web/" "$web/LICENSE.txt" "$web/README.txt" "$web/index.html" \
  "$web/page.js" "$web/terminal.js" "$web/wordhash.js" "$web/wordhash.wasm"
echo "zips: entries, modes, times and CR LF text: ok"

check_exe() {  # BITS OBJDUMP
  local exe="$scratch/un zipped/wordhash-$version-win$1/wordhash.exe" headers imports
  local debug="$scratch/un zipped/wordhash-$version-win$1-debug/wordhash.exe"
  headers=$(TZ=UTC "$2" -p -h "$exe")
  ! grep -q ' \.debug_' <<< "$headers" || fail "win$1: debug sections in the stripped program"
  "$2" -h "$debug" | grep -q ' \.debug_info ' || fail "win$1: no debug information"
  imports=$(sed -n 's/^\tDLL Name: //p' <<< "$headers" | sort | tr '\n' ' ')
  [ "$imports" = "KERNEL32.dll USER32.dll msvcrt.dll " ] || fail "win$1 imports $imports"
  # strip dates the header SOURCE_DATE_EPOCH: the release's time, not the link's.
  local release_time
  release_time=$(LC_ALL=C date -d "@$epoch" '+%a %b %e %H:%M:%S %Y')
  grep -qx "Time/Date[[:space:]]*$release_time" <<< "$headers" || fail "win$1: the header's time"
  [ "$1" = 64 ] || grep -q 'large address aware' <<< "$headers" || fail "win32: not LAA"
  for field in "ProductName wordhash" "ProductVersion $version" "FileVersion $version"; do
    strings -el "$exe" | grep -A1 -x "${field% *}" | grep -qx "${field#* }" ||
      fail "win$1: no $field in the version resource"
  done
  ! grep -qF "$source_dir" "$exe" "$debug" || fail "win$1: the build's path is in a program"
}
check_exe 64 x86_64-w64-mingw32-objdump
check_exe 32 i686-w64-mingw32-objdump
echo "programs: stripped, imports, no link time, version resource, large-address-awareness: ok"

# README.txt's example: its input lines, then what the program writes, each block indented.
readme="$scratch/un zipped/wordhash-$version-win64/README.txt"
block_after() { tr -d '\r' < "$readme" | awk -v head="$1" 'found && /^$/ && seen { exit }
  found && /^    / { print substr($0, 5); seen = 1 } index($0, head) { found = 1 }'; }
input=$(block_after "holding these lines:" | sed 's/$/\r/')
expected=$(block_after "makes wordhash.exe write this" | sed 's/$/\r/')
expected=${expected%$'\r'}  # the last prompt has no line end
[ "$(printf '%s\n' "$input" | "$linux_program")" = "$expected" ] ||
  fail "README.txt's example is not what the Linux program writes"

# The report's position, resolved as README.txt tells: image base plus position.
resolve() {  # BITS REPORT
  local base position
  base=$(sed -n "s/.*0x\([0-9A-F]*\) for the $1-bit.*/\1/p" <(tr -d '\r' < "$readme" | tr '\n' ' '))
  position=$(sed -n 's/.* at \([0-9A-F]\{8\}\)\.\r$/\1/p' <<< "$2")
  [ -n "$base" ] && [ -n "$position" ] || fail "win$1: no image base in README.txt, or no position"
  "$3-addr2line" -e "$scratch/un zipped/wordhash-$version-win$1-debug/wordhash.exe" \
    "$(printf '0x%X' $((0x$base + 0x$position)))"
}

export WINEDEBUG=-all
for bits in 64 32; do
  if [ "$bits" = 32 ] && [ -n "${WORDHASH_WINE32_SKIP:-}" ]; then
    echo "win32 not run: $WORDHASH_WINE32_SKIP"
    continue
  fi
  case $bits in 64) triplet=x86_64-w64-mingw32 ;; 32) triplet=i686-w64-mingw32 ;; esac
  exe="$scratch/un zipped/wordhash-$version-win$bits/wordhash.exe"
  export WINEPREFIX=$prefix_stem$bits
  output=$(printf '%s\n' "$input" | "$wine" "$exe" 2> "$scratch/error") ||
    fail "win$bits: the example ended with status $?: $(cat "$scratch/error")"
  [ "$output" = "$expected" ] && [ ! -s "$scratch/error" ] ||
    fail "win$bits: the example's output differs from README.txt's"
  status=0
  printf '%s\n' "$input" | "$wine" "$exe" > /dev/full 2> "$scratch/error" || status=$?
  report=$(cat "$scratch/error")
  first_line="^Exception EInOutError in module wordhash.exe at [0-9A-F]\{8\}.$(printf '\r')\$"
  [ "$status" = 1 ] && grep -q "$first_line" <<< "$report" || fail "win$bits: $status: $report"
  source_line=$(resolve "$bits" "$report" "$triplet")
  grep -qE '^src/app/command_driver\.cpp:[0-9]+' <<< "$source_line" ||
    fail "win$bits: the position resolves to $source_line"
  emulated=""
  [ "$bits" = 64 ] || emulated=${WORDHASH_WINE32_EMULATED:+ (emulated)}
  echo "win$bits$emulated: README.txt's example and a report resolved to $source_line: ok"
done

unzip -q "$release/$web.zip" -d "$scratch/un zipped"
status=0
"$python" "$source_dir/tests/web_page_test.py" "$scratch/un zipped/$web" "" "$linux_program" \
  "$scratch/screenshot.png" || status=$?
[ "$status" = 0 ] || [ "$status" = 77 ] || fail "the web page, unpacked and served"
