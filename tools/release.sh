#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# make release: what a user downloads, built from the commit checked out, into OUT_DIR:
#   wordhash-V-win64.zip, wordhash-V-win32.zip  each program stripped, with README.txt,
#                                               LICENSE.txt and THIRD-PARTY.txt (CR LF)
#   wordhash-V-win64-debug.zip, ...-win32-...   the same programs with their debug information
#   wordhash-V-web.zip                          the web page with its program, README.txt and
#                                               LICENSE.txt
#   wordhash-V.tar.gz                           the commit's tracked files
#   wordhash_V_ARCH.deb                         what make package makes (left out by --no-deb)
#   SHA256SUMS                                  over all of them
# Every time stamp is that of the changelog's newest entry, which must name version V: the same
# commit gives the same bytes in any folder, under any umask, time zone and locale.
#   tools/release.sh [OUT_DIR] [--no-deb]   (build-release)
set -euo pipefail
umask 022
export LC_ALL=C.UTF-8 TZ=UTC
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$top/build-release}" && cd "${1:-$top/build-release}" && pwd)
cd "$top"
fail() { echo "release: $*" >&2; exit 1; }

[ -z "$(git status --porcelain --untracked-files=no)" ] ||
  fail "tracked files have uncommitted changes: commit or stash them first"
version=$(sed -n 's/^project(wordhash VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$(dpkg-parsechangelog -l doc/changelog -S Version)" = "$version" ] ||
  fail "the newest entry of doc/changelog is not version $version"
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l doc/changelog -S Timestamp)
export SOURCE_DATE_EPOCH
rm -rf "${out:?}"/* "$out/stage"

# A folder's files as one zip: sorted, modes 644 and 755, every entry at SOURCE_DATE_EPOCH, no
# owners or extra fields.
zip_folder() {
  (cd "$out/stage" &&
    find "$1" -type d -exec chmod 755 {} + && find "$1" -type f -exec chmod 644 {} + &&
    { [ ! -e "$1"/wordhash.exe ] || chmod 755 "$1"/wordhash.exe; } && find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} + &&
    find "$1" | sort | zip -X -q "$out/$1.zip" -@)
}
text_file() { sed 's/\r*$/\r/' "$1" > "$2"; }  # CR LF line ends, for Notepad

for bits in 64 32; do
  case $bits in 64) triplet=x86_64-w64-mingw32 ;; 32) triplet=i686-w64-mingw32 ;; esac
  cmake --workflow --preset "win$bits-release" > "$out/win$bits.log" 2>&1 ||
    { cat "$out/win$bits.log"; fail "the $bits-bit program did not build"; }
  program=$top/build-win$bits-release/wordhash.exe
  folder=wordhash-$version-win$bits
  mkdir -p "$out/stage/$folder" "$out/stage/$folder-debug"
  "$triplet-strip" -o "$out/stage/$folder/wordhash.exe" "$program"  # dated SOURCE_DATE_EPOCH
  text_file doc/windows/README.txt "$out/stage/$folder/README.txt"
  text_file LICENSE "$out/stage/$folder/LICENSE.txt"
  text_file doc/windows/THIRD-PARTY.txt "$out/stage/$folder/THIRD-PARTY.txt"
  cp "$program" "$out/stage/$folder-debug/wordhash.exe"
  zip_folder "$folder"
  zip_folder "$folder-debug"
  rm "$out/win$bits.log"
done

cmake --workflow --preset web > "$out/web.log" 2>&1 ||
  { cat "$out/web.log"; fail "the web page did not build"; }
cp -R build-web/page "$out/stage/wordhash-$version-web"
zip_folder "wordhash-$version-web"
rm "$out/web.log"

# The tracked files under wordhash-V/, owned by root, modes as git keeps them.
mkdir -p "$out/stage/source"
git archive --format=tar --prefix="wordhash-$version/" HEAD | tar -x -C "$out/stage/source"
tar -C "$out/stage/source" --sort=name --format=gnu --mtime="@$SOURCE_DATE_EPOCH" --owner=0 \
  --group=0 --numeric-owner --mode=u=rwX,go=rX -cf - "wordhash-$version" |
  gzip -9n > "$out/wordhash-$version.tar.gz"

if [ "${2:-}" != --no-deb ]; then
  tools/build_package.sh . build-package > "$out/package.log" 2>&1 ||
    { cat "$out/package.log"; fail "the package did not build"; }
  rm "$out/package.log"
  cp build-package/wordhash_"$version"_*.deb "$out/"
fi
rm -rf "$out/stage"
(cd "$out" && sha256sum -- wordhash* > SHA256SUMS && ls -l)
