# SPDX-License-Identifier: MIT
# Thin wrapper over CMake: `make run` and `make test` work on a fresh clone. `make help` lists
# every target. Each target that needs options of its own builds in a folder of its own, so
# that none of them changes the build of `make run` and `make test` in build/.
# Lines that start with `#-` document a variable for `make help`.
#- BUILD_DIR       the folder of make run, test and install (build)
BUILD_DIR ?= build
#- BUILD_TYPE      its CMake build type (Release)
BUILD_TYPE ?= Release
#- WERROR          ON makes warnings errors, as the developers and CI build (OFF)
WERROR ?= OFF
#- PREFIX, DESTDIR where make install puts the files (/usr/local, none)
PREFIX ?= /usr/local
#- JOBS            parallel build jobs (the number of cores)
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
#- GTEST_SOURCE    GoogleTest's sources, for libcxx-test and test32 (/usr/src/googletest)
GTEST_SOURCE ?= /usr/src/googletest

.PHONY: help all build run test install uninstall package windows wine-test bench fuzz \
        sanitize lint coverage libcxx-test test32 mutants fresh-machine clean

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
	@# A build/ that `make run` configured before GoogleTest was installed has no tests yet.
	@grep -qx 'WORDHASH_TESTS_ADDED:INTERNAL=ON' $(BUILD_DIR)/CMakeCache.txt || cmake $(BUILD_DIR) > /dev/null
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Only the program is built, and its build says nothing unless it fails.
run:  ## build only the program, then start it on this terminal
	@tools/packages.sh run
	@mkdir -p $(BUILD_DIR)
	$(call configure,> $(BUILD_DIR)/configure.log 2>&1 || { cat $(BUILD_DIR)/configure.log; exit 1; })
	@cmake --build $(BUILD_DIR) --target wordhash -j $(JOBS) > $(BUILD_DIR)/run-build.log 2>&1 \
	  || { cat $(BUILD_DIR)/run-build.log; exit 1; }
	@./$(BUILD_DIR)/wordhash

test: build  ## build everything, then run every test through CTest
	ctest --test-dir $(BUILD_DIR) --output-on-failure --no-tests=error -j $(JOBS)

# The paths reach the script through the environment, never through the shell's parsing: a
# space, a quote, a glob or a semicolon in them stays what it is.
install: export WORDHASH_PREFIX = $(value PREFIX)
install: export WORDHASH_DESTDIR = $(value DESTDIR)
install:  ## install the program and its man page under PREFIX (/usr/local), below DESTDIR if given
	$(call configure)
	cmake --build $(BUILD_DIR) --target wordhash documentation -j $(JOBS)
	tools/install.sh install $(BUILD_DIR) "$$WORDHASH_PREFIX" "$$WORDHASH_DESTDIR"

uninstall:  ## remove what `make install` wrote and is unchanged, and the folders it made, if empty
	tools/install.sh uninstall $(BUILD_DIR)

package:  ## the Debian package, build-package/wordhash_<version>_<arch>.deb (no tests built)
	tools/build_package.sh . build-package

windows:  ## the Windows programs, build-win64/ and build-win32/wordhash.exe (mingw-w64)
	cmake --preset win64 -DWORDHASH_WERROR=$(WERROR)
	cmake --build build-win64 -j $(JOBS)
	cmake --preset win32 -DWORDHASH_WERROR=$(WERROR)
	cmake --build build-win32 -j $(JOBS)

wine-test: windows  ## both .exe files' tests under wine, in build-wine/ (32-bit: emulated where need be)
	cmake --preset wine -DWORDHASH_WERROR=$(WERROR)
	cmake --build build-wine --target wine_test -j $(JOBS)
	tools/wine_test.sh build-wine

#- BENCH_GIB       1: make bench adds the 1 GiB word (about 5 GiB of disk, minutes)
#- STATIC_RUNTIME  OFF: make bench measures the program on the shared C++ runtime (ON)
STATIC_RUNTIME ?= ON
bench:  ## micro-benchmarks, then the program against its floor, in build-bench/
	cmake --preset bench -DWORDHASH_STATIC_RUNTIME=$(STATIC_RUNTIME) > /dev/null
	cmake --build build-bench -j $(JOBS)
	./build-bench/bench/wordhash_micro_bench --benchmark_min_time=0.1
	mkdir -p build-bench/bench-data
	./build-bench/bench/process_bench build-bench/wordhash build-bench/bench/floor \
	  build-bench/bench/yardstick build-bench/bench-data $(if $(BENCH_GIB),--gib)

#- FUZZ_SECONDS    how long make fuzz runs (60)
FUZZ_SECONDS ?= 60
fuzz:  ## libFuzzer on whole dialogues for FUZZ_SECONDS (60), in build-fuzz/
	cmake --preset fuzz -DWORDHASH_WERROR=$(WERROR)
	cmake --build build-fuzz --target dialogue_fuzzer -j $(JOBS)
	mkdir -p build-fuzz/corpus
	./build-fuzz/fuzz/dialogue_fuzzer -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	  -rss_limit_mb=2048 -print_final_stats=1 build-fuzz/corpus fuzz/corpus

# The configurations are CMakePresets.json's: `cmake --preset NAME` makes the same build folder.
# (The sanitize preset: g++ 12 warns falsely of uninitialised members inside <regex> when
# instrumented.)
sanitize:  ## every test under the address, undefined-behaviour and leak sanitizers
	cmake --preset sanitize -DWORDHASH_WERROR=$(WERROR)
	cmake --build build-sanitize -j $(JOBS)
	ctest --test-dir build-sanitize -LE package --output-on-failure --no-tests=error -j $(JOBS)

SOURCES := $(shell find src tests bench fuzz -name '*.cpp' -o -name '*.h' -o -name '*.c')
lint:  ## layers, clang-format, clang-tidy and cppcheck; any finding fails
	tools/check_layers.sh src
	cmake --preset lint > /dev/null
	clang-format --dry-run -Werror $(SOURCES)
	clang-tidy -p build-lint --quiet $$(grep -o '"file": "[^"]*"' build-lint/compile_commands.json \
	  | cut -d'"' -f4 | grep -E '/(src|tests|bench|fuzz)/.*\.cpp$$' | sort -u)
	cppcheck --enable=warning,performance,portability,style --error-exitcode=1 --inline-suppr \
	  --std=c++20 --quiet -I src -I tests -I tests/support src bench fuzz
	cppcheck --enable=warning,performance,portability --error-exitcode=1 --inline-suppr \
	  --std=c++20 --quiet --library=googletest -I src -I tests/support tests

coverage:  ## line coverage of src/ by every test (gcov); fails below 95 %
	cmake --preset coverage
	find build-coverage -name '*.gcda' -delete
	cmake --build build-coverage -j $(JOBS)
	ctest --test-dir build-coverage -LE package --output-on-failure --no-tests=error -j $(JOBS)
	tools/coverage_summary.sh build-coverage 95

libcxx-test:  ## every test built with clang and LLVM's libc++ (GoogleTest from GTEST_SOURCE)
	cmake --preset libcxx -DWORDHASH_WERROR=$(WERROR) -DWORDHASH_GTEST_SOURCE=$(GTEST_SOURCE)
	cmake --build build-libcxx -j $(JOBS)
	ctest --test-dir build-libcxx -LE package --output-on-failure --no-tests=error -j $(JOBS)

test32:  ## every test built as 32-bit x86 code (g++ -m32), natively or under qemu-i386
	cmake --preset i386 -DWORDHASH_WERROR=$(WERROR) -DWORDHASH_GTEST_SOURCE=$(GTEST_SOURCE)
	cmake --build build-i386 -j $(JOBS)
	ctest --test-dir build-i386 --output-on-failure --no-tests=error -j $(JOBS)

#- FRESH_RELEASES  the Debian releases of make fresh-machine (bookworm trixie)
FRESH_RELEASES ?= bookworm trixie
fresh-machine:  ## the two commands on bare Debian 12 and 13 trees, and CI's set-up on 12 (root)
	tools/fresh_machine.sh build-fresh $(FRESH_RELEASES)

#- MUTANTS         how many faults make mutants tries (60)
MUTANTS ?= 60
mutants:  ## MUTANTS (60) one-line faults in src/, each built and tested: which the tests catch
	tools/mutants.sh $(MUTANTS)

clean:  ## remove every build folder
	rm -rf $(BUILD_DIR) build-*
