#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# make install and make uninstall. Install puts a build's program and documents under PREFIX,
# below DESTDIR where one is given, and records each file it wrote with its checksum and each
# directory it made, by their resolved paths; installing again adds to the record. Uninstall
# removes a file only while it is still what the install wrote, and a directory only when the
# install made it and it is empty; a path that no longer resolves to itself (a symlink put in
# its way) is never followed. A failed install removes what it wrote before it failed.
#   tools/install.sh install BUILD_DIR PREFIX [DESTDIR]
#   tools/install.sh uninstall BUILD_DIR
set -euo pipefail
export LC_ALL=C  # sort puts a directory before everything below it
action=${1:-}
build=${2:-}
# Where the record is kept: in the build folder, unless a test keeps its own.
record=${WORDHASH_INSTALL_RECORD:-$build/installed.txt}

resolved() { realpath -m -- "$1"; }
still_itself() { [ ! -L "$1" ] && [ "$(realpath -e -- "$1" 2> /dev/null)" = "$1" ]; }
checksum() { sha256sum < "$1" | cut -c1-64; }

# The directories below which PATH would be made: those that do not exist yet, deepest first.
missing_dirs() {
  local dir
  dir=$(dirname -- "$1")
  while [ ! -e "$dir" ] && [ ! -L "$dir" ]; do
    printf '%s\n' "$dir"
    dir=$(dirname -- "$dir")
  done
}

install() {
  local prefix=$1 destdir=${2:-}
  case "$prefix$destdir$build$record" in
    *$'\n'*)
      echo "install: a path holds a line feed; nothing was installed" >&2
      exit 1
      ;;
  esac
  prefix=$(resolved "$prefix")
  [ -z "$destdir" ] || destdir=$(resolved "$destdir")

  # An install into scratch space tells which files the real one writes.
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  DESTDIR=$scratch cmake --install "$build" --prefix "$prefix" > /dev/null
  local files=() made=() path
  while IFS= read -r path || [ -n "$path" ]; do  # CMake ends its last line with no LF
    path=$destdir${path#"$scratch"}
    files+=("$path")
    mapfile -t -O "${#made[@]}" made < <(missing_dirs "$path")
  done < "$build/install_manifest.txt"
  mapfile -t made < <(printf '%s\n' "${made[@]}" | sort -ru)
  local -A existed=()
  for path in "${files[@]}"; do
    [ ! -e "$path" ] || existed[$path]=1
  done

  if ! DESTDIR=$destdir cmake --install "$build" --prefix "$prefix"; then
    echo "install failed; removing what it wrote:" >&2
    for path in "${files[@]}"; do
      [ -n "${existed[$path]:-}" ] || rm -fv -- "$path" >&2
    done
    for path in "${made[@]}"; do
      [ -z "$path" ] || rmdir -v -- "$path" >&2 2> /dev/null || true
    done
    exit 1
  fi

  local entries=()
  for path in "${files[@]}"; do
    entries+=("F $(checksum "$path") $path")
  done
  for path in "${made[@]}"; do
    [ -z "$path" ] || entries+=("D $path")
  done
  # A path installed again keeps only its newest checksum; a directory, its one line.
  {
    [ ! -f "$record" ] || cat -- "$record"
    printf '%s\n' "${entries[@]}"
  } | awk '{ path = substr($0, 1, 1) == "F" ? substr($0, 68) : substr($0, 3)
             key = substr($0, 1, 1) path; if (!(key in line)) order[++n] = key; line[key] = $0 }
           END { for (i = 1; i <= n; i++) print line[order[i]] }' > "$record.new"
  mv -- "$record.new" "$record"
}

uninstall() {
  [ -s "$record" ] || { echo "nothing installed from $build" >&2; exit 1; }
  local line path
  while IFS= read -r line; do
    [ "${line:0:1}" = F ] || continue
    path=${line:67}
    if [ ! -e "$path" ] && [ ! -L "$path" ]; then
      continue
    elif still_itself "$path" && [ -f "$path" ] && [ "$(checksum "$path")" = "${line:2:64}" ]; then
      rm -v -- "$path"
    else
      echo "kept $path: it is no longer what the install wrote" >&2
    fi
  done < "$record"
  # The deepest directories first, each only when empty.
  while IFS= read -r path; do
    if still_itself "$path" && [ -d "$path" ] && [ -z "$(ls -A -- "$path")" ]; then
      rmdir -v -- "$path"
    fi
  done < <(sed -n 's/^D //p' "$record" | sort -r)
  rm -f -- "$record"
}

case "$action" in
  install) install "${3:?PREFIX}" "${4:-}" ;;
  uninstall) uninstall ;;
  *)
    echo "usage: $0 install BUILD_DIR PREFIX [DESTDIR] | uninstall BUILD_DIR" >&2
    exit 2
    ;;
esac
