# SPDX-License-Identifier: MIT
# Thin wrapper over CMake: `make run` and `make test` work on a fresh clone; every other target
# is one workflow preset of CMakePresets.json (`cmake --workflow --preset NAME` does the same)
# or a script. Each builds in a folder of its own, so none changes build/. `make help` lists
# them. Lines that start with `#-` document a variable for `make help`.
#- BUILD_DIR       the folder of make run, test and install (build)
BUILD_DIR ?= build
#- BUILD_TYPE      its CMake build type (Release)
BUILD_TYPE ?= Release
#- WERROR          ON makes warnings errors, as the developers and CI build (OFF)
WERROR ?= OFF
#- PREFIX, DESTDIR where make install puts the files (/usr/local, none)
PREFIX ?= /usr/local
#- JOBS            parallel build and test jobs (the number of cores)
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
#- STATIC_RUNTIME  OFF: make bench measures the program on the shared C++ runtime (ON)
STATIC_RUNTIME ?= ON
#- BENCH_GIB       1: make bench adds the 1 GiB word (about 5 GiB of disk, minutes)
#- FUZZ_SECONDS    how long make fuzz runs (60)
FUZZ_SECONDS ?= 60
#- MUTANTS         how many faults make mutants tries (60)
MUTANTS ?= 60
#- FRESH_RELEASES  the Debian releases of make fresh-machine (bookworm trixie)
FRESH_RELEASES ?= bookworm trixie

# The presets take these from the environment: WORDHASH_ is a prefix of our own, so that a
# stray WERROR in a user's environment changes nothing.
export WORDHASH_WERROR = $(WERROR)
export WORDHASH_STATIC_RUNTIME = $(STATIC_RUNTIME)
export CMAKE_BUILD_PARALLEL_LEVEL = $(JOBS)
export CTEST_PARALLEL_LEVEL = $(JOBS)
export WORDHASH_FUZZ_SECONDS = $(FUZZ_SECONDS)
export WORDHASH_BENCH_GIB = $(BENCH_GIB)
workflow = cmake --workflow --preset

.PHONY: help all build run test install uninstall package windows wine-test release release-test \
        bench fuzz sanitize lint coverage libcxx-test test32 web mutants fresh-machine clean

help:  ## this list, then the variables the targets take
	@grep -E '^[a-z0-9-]+:.*## ' $(MAKEFILE_LIST) | sed 's/:.*## /\t/' | expand -t 14
	@echo; sed -n 's/^#- //p' $(MAKEFILE_LIST)

# Configures build/ when it is new, or when BUILD_TYPE or WERROR differ from what it has.
define configure
	@grep -qx 'CMAKE_BUILD_TYPE:STRING=$(BUILD_TYPE)' $(BUILD_DIR)/CMakeCache.txt 2>/dev/null && \
	  grep -qx 'WORDHASH_WERROR:BOOL=$(WERROR)' $(BUILD_DIR)/CMakeCache.txt || \
	  cmake --preset default -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DWORDHASH_WERROR=$(WERROR) $(1)
endef

all: build

build:  ## the program and the tests, in build/
	@tools/packages.sh test
	$(call configure)
# A build/ that `make run` configured before GoogleTest was installed has no tests yet.
	@grep -qx 'WORDHASH_TESTS_ADDED:INTERNAL=ON' $(BUILD_DIR)/CMakeCache.txt || cmake $(BUILD_DIR) > /dev/null
	cmake --build $(BUILD_DIR)

# Only the program is built, and its build says nothing unless it fails.
run:  ## build only the program, then start it on this terminal
	@tools/packages.sh run
	@mkdir -p $(BUILD_DIR)
	$(call configure,> $(BUILD_DIR)/configure.log 2>&1 || { cat $(BUILD_DIR)/configure.log; exit 1; })
	@cmake --build $(BUILD_DIR) --target wordhash > $(BUILD_DIR)/run-build.log 2>&1 \
	  || { cat $(BUILD_DIR)/run-build.log; exit 1; }
	@./$(BUILD_DIR)/wordhash

test: build  ## build everything, then run every test through CTest
	ctest --preset default --test-dir $(BUILD_DIR)

# The paths reach the script through the environment, never through the shell's parsing: a
# space, a quote, a glob or a semicolon in them stays what it is.
install: export WORDHASH_PREFIX = $(value PREFIX)
install: export WORDHASH_DESTDIR = $(value DESTDIR)
install:  ## install the program and its man page under PREFIX (/usr/local), below DESTDIR if given
	$(call configure)
	cmake --build $(BUILD_DIR) --target wordhash documentation
	tools/install.sh install $(BUILD_DIR) "$$WORDHASH_PREFIX" "$$WORDHASH_DESTDIR"

uninstall:  ## remove what `make install` wrote and is unchanged, and the folders it made, if empty
	tools/install.sh uninstall $(BUILD_DIR)

package:  ## the Debian package, build-package/wordhash_<version>_<arch>.deb (no tests built)
	tools/build_package.sh . build-package
windows:  ## the Windows programs, build-win64/ and build-win32/wordhash.exe (mingw-w64)
	$(workflow) win64 && $(workflow) win32
wine-test: windows  ## both .exe files' tests under wine, in build-wine/ (32-bit: emulated where need be)
	$(workflow) wine && tools/wine_test.sh build-wine
web:  ## the program in a web page, build-web/page/ (emscripten), tested under node and in Chromium
	@tools/packages.sh web
	$(workflow) web && $(workflow) web-test
release:  ## the downloads, reproducibly, in build-release/: Windows and web zips, source tarball, .deb, SHA256SUMS
	tools/release.sh build-release
release-test:  ## make release's files made again and compared, and run under wine and in Chromium
	$(workflow) wine && tools/wine_test.sh build-wine release
bench:  ## micro-benchmarks, then the program against its floor and its yardstick, in build-bench/
	$(workflow) bench
fuzz:  ## libFuzzer on whole dialogues for FUZZ_SECONDS (60), in build-fuzz/
	$(workflow) fuzz
sanitize:  ## every test under the address, undefined-behaviour and leak sanitizers
	$(workflow) sanitize
lint:  ## layers, clang-format, clang-tidy and cppcheck; any finding fails
	$(workflow) lint
coverage:  ## line coverage of src/ by every test (gcov); fails below 95 %
	find build-coverage -name '*.gcda' -delete 2>/dev/null; $(workflow) coverage && tools/coverage_summary.sh build-coverage 95
libcxx-test:  ## every test built with clang and LLVM's libc++ (GoogleTest from /usr/src/googletest)
	$(workflow) libcxx
test32:  ## every test built as 32-bit x86 code (g++ -m32), natively or under qemu-i386
	$(workflow) i386
fresh-machine:  ## the two commands on bare Debian 12 and 13 trees, and CI's set-up on 12 (root)
	tools/fresh_machine.sh build-fresh $(FRESH_RELEASES)
mutants:  ## MUTANTS (60) one-line faults in src/, each built and tested: which the tests catch
	tools/mutants.sh $(MUTANTS)
clean:  ## remove every build folder
	rm -rf $(BUILD_DIR) build-*
