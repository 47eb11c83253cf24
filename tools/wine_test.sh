#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Both Windows programs' tests under wine (make wine-test), or the release's (make
# release-test), from a configured build folder.
# The 32-bit program needs wine's i386 loader, which needs a kernel that runs i386 code. Where
# this one does not, and we are root, qemu-i386 is registered for i386 programs through
# binfmt_misc for this run only, and the 32-bit tests run emulated: only the core of them, as
# each start takes over a minute there. Where it cannot be set up, they report themselves
# skipped with the reason.
#   tools/wine_test.sh BUILD_DIR [LABEL]   (wine; release: make release-test)
set -euo pipefail
build=$1
label=${2:-wine}
binfmt=/proc/sys/fs/binfmt_misc
entry=wordhash-i386
loader=$(sed -n 's/^WINE64:FILEPATH=//p' "$build/CMakeCache.txt")
loader=${loader%64}

runs_i386() { "$loader" --version > /dev/null 2>&1; }

mounted=0
registered=0
clean_up() {
  ((registered)) && echo -1 > "$binfmt/$entry"
  ((mounted)) && umount "$binfmt"
  return 0
}
trap clean_up EXIT
trap "exit 1" INT TERM  # so that the clean-up runs

why=""
register_qemu() {  # sets why when it cannot
  local qemu
  qemu=$(command -v qemu-i386) || { why="no qemu-i386 (Debian's qemu-user)"; return 1; }
  [ "$(id -u)" = 0 ] || { why="registering qemu-i386 needs root"; return 1; }
  if ! mountpoint -q "$binfmt"; then
    mount -t binfmt_misc binfmt_misc "$binfmt" || { why="binfmt_misc cannot be mounted"; return 1; }
    mounted=1
  fi
  # An i386 ELF executable or shared object (type 2 or 3, machine 3 or 6), whatever its ABI byte.
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf ':%s:M::%s:%s:%s:\n' "$entry" "$magic" "$mask" "$qemu" \
    > "$binfmt/register" 2> /dev/null || { why="binfmt_misc refused the registration"; return 1; }
  registered=1
}

if [ ! -x "$loader" ]; then
  export WORDHASH_WINE32_SKIP="no 32-bit wine loader at $loader (Debian's wine32:i386)"
elif ! runs_i386; then
  if register_qemu && runs_i386; then
    echo "This kernel runs no i386 code: the 32-bit tests run under qemu-i386, their core only."
    export WORDHASH_WINE32_EMULATED=1
  else
    export WORDHASH_WINE32_SKIP="this kernel runs no i386 code, and ${why:-the loader did not start under qemu-i386}"
  fi
fi
[ -n "${WORDHASH_WINE32_SKIP:-}" ] && echo "The 32-bit tests are skipped: $WORDHASH_WINE32_SKIP"
ctest --test-dir "$build" -L "^$label\$" --output-on-failure --no-tests=error
