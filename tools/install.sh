#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# make install and make uninstall. Install puts a build's program and documents under PREFIX,
# below DESTDIR where one is given, and records every file it wrote and every directory it
# made, at the paths where they are; uninstall removes exactly those, directories only when
# empty, so that a staged install never touches the live system's files.
#   tools/install.sh install BUILD_DIR PREFIX [DESTDIR]
#   tools/install.sh uninstall BUILD_DIR
set -euo pipefail
action=$1
build=$2
# Where the record is kept: in the build folder, unless a test keeps its own.
record=${WORDHASH_INSTALL_RECORD:-$build/installed}
files=$record-files.txt
dirs=$record-dirs.txt

case "$action" in
  install)
    prefix=$3
    destdir=${4:-}
    # A first install into scratch space tells which files an install writes.
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    DESTDIR=$scratch cmake --install "$build" --prefix "$prefix" > /dev/null
    : > "$scratch/made"
    while IFS= read -r path; do
      dir=$(dirname "$destdir$path")
      while [ ! -d "$dir" ] && ! grep -qxF "$dir" "$scratch/made"; do
        echo "$dir" >> "$scratch/made"
        dir=$(dirname "$dir")
      done
    done < "$build/install_manifest.txt"
    DESTDIR=$destdir cmake --install "$build" --prefix "$prefix"
    awk -v destdir="$destdir" '{ print destdir $0 }' "$build/install_manifest.txt" > "$files"
    sort -r "$scratch/made" > "$dirs"  # the deepest first
    ;;
  uninstall)
    [ -f "$files" ] || { echo "nothing installed from $build" >&2; exit 1; }
    xargs -d '\n' rm -fv -- < "$files"
    if [ -s "$dirs" ]; then
      xargs -d '\n' rmdir -v --ignore-fail-on-non-empty -- < "$dirs"
    fi
    rm -f "$files" "$dirs"
    ;;
  *)
    echo "usage: $0 install BUILD_DIR PREFIX [DESTDIR] | uninstall BUILD_DIR" >&2
    exit 2
    ;;
esac
