#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package as a distribution does: the distribution's build flags
# (dpkg-buildflags, with every hardening feature), no tests, and a reproducible result: the
# same commit gives bit-identical packages in any folder at any time. Writes
# BUILD_DIR/wordhash_<version>_<arch>.deb; BUILD_DIR/wordhash is the same program unstripped.
#   tools/build_package.sh SOURCE_DIR BUILD_DIR [CMAKE_OPTION...]
# A packager's options come last, for instance -DWORDHASH_STATIC_RUNTIME=OFF.
set -euo pipefail
# Nothing of the builder's settings may reach the package: file modes, messages, dates.
umask 022
export LC_ALL=C.UTF-8 TZ=UTC
source_dir=$(cd "$1" && pwd)
mkdir -p "$2"
build_dir=$(cd "$2" && pwd)
shift 2

# Time stamps come from the source, never from the clock: the newest changelog entry's, as
# Debian's tools take it, so that a clone and a release tarball give the same package.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "$source_dir/doc/changelog" -S Timestamp)}
export SOURCE_DATE_EPOCH
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
# CMake takes no CPPFLAGS. The preset keeps both folders' paths out of the program.
CXXFLAGS="$CPPFLAGS $CXXFLAGS"
export CXXFLAGS LDFLAGS

rm -f "$build_dir"/CMakeCache.txt
(cd "$source_dir" && cmake --preset package -B "$build_dir" "$@" > /dev/null)
cmake --build "$build_dir" -j "$(nproc 2> /dev/null || echo 2)" > /dev/null
(cd "$build_dir" && cpack -G DEB > /dev/null)
ls "$build_dir"/*.deb
