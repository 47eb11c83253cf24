#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What each set of targets needs from Debian or Ubuntu, in one place: make run, make test and
# CI check it first and install what is missing with apt-get where they can (as root, or
# through sudo that asks no password); elsewhere they stop with the one line to run.
#   tools/packages.sh run|test|web|ci
# Outside Debian and Ubuntu (no dpkg) it checks nothing.
set -euo pipefail

run=(g++ cmake make)
# lintian and strace are used where present, not required.
test=("${run[@]}" libgtest-dev libgmock-dev dpkg-dev groff-base file)
# emscripten brings node; the browser test drives Chromium through Debian's python3.
browser=(emscripten chromium chromium-driver python3-selenium)
web=("${test[@]}" "${browser[@]}")
ci=("${test[@]}" binutils googletest libbenchmark-dev clang clang-format clang-tidy
    libclang-rt-14-dev cppcheck libc++-dev libc++abi-dev g++-multilib qemu-user strace lintian
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 wine32:i386 debootstrap zip unzip
    "${browser[@]}")

set_name=${1:-}
case "$set_name" in
  run) wanted=("${run[@]}") ;;
  test) wanted=("${test[@]}") ;;
  web) wanted=("${web[@]}") ;;
  ci) wanted=("${ci[@]}") ;;
  *) echo "usage: $0 run|test|web|ci" >&2; exit 2 ;;
esac
command -v dpkg-query > /dev/null || exit 0

missing=()
for package in "${wanted[@]}"; do
  [ "$(dpkg-query -W -f='${Status}' "$package" 2> /dev/null)" = "install ok installed" ] ||
    missing+=("$package")
done
((${#missing[@]} == 0)) && exit 0

if [ "$(id -u)" = 0 ]; then
  as_root=()
elif command -v sudo > /dev/null && sudo -n true 2> /dev/null; then
  as_root=(sudo -n)
else
  echo "make $set_name needs: ${missing[*]}" >&2
  echo "Install them, then run it again:" >&2
  [[ " ${missing[*]}" == *:i386* ]] && echo "  sudo dpkg --add-architecture i386" >&2
  echo "  sudo apt-get update && sudo apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "Installing for make $set_name: ${missing[*]}"
[[ " ${missing[*]}" == *:i386* ]] && "${as_root[@]}" dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
# An index that fails to download (a mirror caught syncing) is left out, not fatal.
"${as_root[@]}" apt-get update -q || true
install=("${as_root[@]}" apt-get install -y -q --no-install-recommends)
"${install[@]}" "${missing[@]}" && exit 0

# Multi-arch libraries must have the same version for both architectures. Where the mirror
# serves the i386 ones at another version (its security index missing, say), ask for the
# i386 version of each library the resolver names, for both architectures.
pins=()
for _ in $(seq 1 20); do
  report=$("${install[@]}" --allow-downgrades -s "${missing[@]}" "${pins[@]}" 2>&1) && break
  added=0
  for library in $(grep -oE 'Depends: [a-z0-9.+-]+:i386' <<< "$report" | sed 's/.* //; s/:i386$//' | sort -u); do
    version=$(apt-cache policy "$library:i386" | awk '/Candidate:/ {print $2}')
    [[ -n "$version" && "$version" != "(none)" && " ${pins[*]} " != *" $library:i386=$version "* ]] ||
      continue
    # Both architectures, installed or not: an amd64 library that is only pulled in later
    # would otherwise come at the newer version and conflict again.
    pins+=("$library:amd64=$version" "$library:i386=$version")
    added=1
  done
  ((added)) || { echo "$report" >&2; exit 1; }
done
echo "Aligning multi-arch versions: ${pins[*]}"
"${install[@]}" --allow-downgrades "${missing[@]}" "${pins[@]}"
