#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The README's promise, checked on bare machines: a minimal Debian 12 and 13 (debootstrap
# --variant=minbase, plus make and git, which is what a newcomer has) get a fresh clone of this
# repository's HEAD. There, as a user without root, `make run` stops before building and prints
# the one apt-get line; as root, `make run` shows a scripted dialogue, then `make test` passes;
# on Debian 12, `tools/packages.sh ci` then installs everything CI needs. Needs root and
# Debian's debootstrap; the bare trees are cached in BUILD_DIR. Every mount and scratch folder
# is removed at the end, also when a check fails.
#   tools/fresh_machine.sh BUILD_DIR [RELEASE...]   (default: bookworm trixie)
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "$1" && cd "$1" && pwd)
shift
releases=("$@")
(($# > 0)) || releases=(bookworm trixie)
mirror=http://deb.debian.org/debian
[ "$(id -u)" = 0 ] || { echo "fresh-machine needs root (debootstrap, chroot, mounts)" >&2; exit 1; }

root=""
clean_up() {
  [ -n "$root" ] || return 0
  local mount
  # Innermost first, so that every mount comes off before the tree is removed.
  awk -v r="$root/" 'index($2, r) == 1 {print $2}' /proc/mounts | sort -r |
    while IFS= read -r mount; do umount -l "$mount" || true; done
  rm -rf --one-file-system "$root"
  root=""
}
trap clean_up EXIT
trap "exit 1" INT TERM  # so that the clean-up runs

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }
as_newcomer() {
  chroot --userspec=newcomer:newcomer "$root" env -i PATH=/usr/bin:/bin HOME=/home/newcomer "$@"
}
fail() { echo "FAILED on $release: $*" >&2; exit 1; }
elapsed() { echo "  $1: $((SECONDS - started)) s"; started=$SECONDS; }

bare_tree() {  # a cached tarball of the minimal system with make and git
  local tarball=$build/$release-minbase.tar.gz
  if [ ! -s "$tarball" ]; then
    local fresh=$build/$release-debootstrap
    rm -rf "$fresh"
    debootstrap --variant=minbase --include=make,git "$release" "$fresh" "$mirror" \
      > "$build/$release-debootstrap.log" 2>&1 || {
      tail -20 "$build/$release-debootstrap.log"
      rm -rf "$fresh"
      fail "debootstrap"
    }
    tar -C "$fresh" -czf "$tarball.part" . && mv "$tarball.part" "$tarball"
    rm -rf "$fresh"
  fi
  echo "$tarball"
}

enter() {  # unpacks the bare tree, mounts what programs expect, reaches the mirror as we do
  root=$build/$release-root
  rm -rf "$root"
  mkdir -p "$root"
  tar -C "$root" -xzf "$(bare_tree)"
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --rbind /dev "$root/dev"
  mount --make-rslave "$root/dev"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  # This workplace's apt settings for the mirror (stale Release dates), where there are any.
  grep -l 'Acquire::' /etc/apt/apt.conf.d/* 2> /dev/null | xargs -r cp -t "$root/etc/apt/apt.conf.d/"
  local updates=$release-updates security=$release-security
  cat > "$root/etc/apt/sources.list" << EOF
deb $mirror $release $updates main
deb ${mirror%/debian}/debian-security $security main
EOF
  in_root useradd --create-home newcomer
  git clone -q --no-hardlinks "$source_dir" "$root/home/newcomer/wordhash"
  in_root chown -R newcomer:newcomer /home/newcomer/wordhash
}

check_release() {
  local started=$SECONDS out
  enter
  out=$root/home/newcomer/out
  elapsed "bare $release, cloned"

  if as_newcomer sh -c 'cd ~/wordhash && make run' > "$out" 2>&1; then
    fail "make run without root succeeded"
  fi
  grep -q '^  sudo apt-get update && sudo apt-get install ' "$out" ||
    { cat "$out"; fail "make run without root did not print the apt-get line"; }
  [ ! -e "$root/home/newcomer/wordhash/build" ] || fail "make run without root began building"
  elapsed "make run as a user without root: stopped with the apt-get line"

  local script='0\nab\n0\nba\n2\nba\n3\n4\n'
  in_root sh -c "cd /home/newcomer/wordhash && printf '$script' | make run" > "$out" 2>&1 ||
    { tail -30 "$out"; fail "make run as root"; }
  # What it shows must end with the program's own dialogue for that input.
  in_root sh -c "printf '$script' | /home/newcomer/wordhash/build/wordhash" > "$out.expected"
  cmp -s <(tail -c "$(stat -c %s "$out.expected")" "$out") "$out.expected" ||
    { tail -30 "$out"; fail "make run did not end with the dialogue"; }
  elapsed "make run as root: installed, built and showed the dialogue"

  in_root sh -c 'cd /home/newcomer/wordhash && make test' > "$out" 2>&1 ||
    { tail -40 "$out"; fail "make test"; }
  grep -E '^100% tests passed, 0 tests failed out of [0-9]+' "$out" || fail "make test ran no tests"
  elapsed "make test after make run"

  if [ "$release" = bookworm ]; then
    in_root sh -c 'cd /home/newcomer/wordhash && tools/packages.sh ci' > "$out" 2>&1 ||
      { tail -40 "$out"; fail "tools/packages.sh ci"; }
    # A second call finds nothing missing, so says nothing.
    in_root sh -c 'cd /home/newcomer/wordhash && tools/packages.sh ci' > "$out" 2>&1 ||
      { cat "$out"; fail "tools/packages.sh ci, again"; }
    [ ! -s "$out" ] || { cat "$out"; fail "CI's packages are not all installed"; }
    elapsed "tools/packages.sh ci"
  fi
  clean_up
}

for release in "${releases[@]}"; do
  echo "== $release"
  check_release
done
echo "fresh machines: ${releases[*]} passed"
