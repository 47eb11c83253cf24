# Thin wrapper over CMake: `make run` and `make test` work on a fresh clone.
BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all build run test package windows wine-test bench fuzz sanitize lint coverage clean

all: build

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/wordhash

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The Debian package, build/wordhash_<version>_amd64.deb.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# The Windows program, cross-built with mingw-w64: build-win64/ and build-win32/wordhash.exe.
windows:
	cmake -S . -B build-win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build build-win64 -j $(JOBS)
	cmake -S . -B build-win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
	cmake --build build-win32 -j $(JOBS)

# The 64-bit .exe's dialogue and failure tests under wine64.
wine-test: windows $(BUILD_DIR)/CMakeCache.txt
	cmake -S . -B $(BUILD_DIR) -DWORDHASH_WINDOWS_EXE=$(CURDIR)/build-win64/wordhash.exe >/dev/null
	cmake --build $(BUILD_DIR) -j $(JOBS)
	ctest --test-dir $(BUILD_DIR) -L wine --output-on-failure

# Benchmarks: the micro-benchmarks, then the whole program against its floor.
# BENCH_GIB=1 adds the 1 GiB word (about 5 GiB of disk and several minutes).
bench: $(BUILD_DIR)/CMakeCache.txt
	cmake -S . -B $(BUILD_DIR) -DWORDHASH_BENCHMARKS=ON >/dev/null
	cmake --build $(BUILD_DIR) -j $(JOBS)
	./$(BUILD_DIR)/bench/wordhash_micro_bench --benchmark_min_time=0.1
	mkdir -p $(BUILD_DIR)/bench-data
	./$(BUILD_DIR)/bench/process_bench $(BUILD_DIR)/wordhash $(BUILD_DIR)/bench/floor \
	  $(BUILD_DIR)/bench-data $(if $(BENCH_GIB),--gib)

# libFuzzer on whole dialogues (clang), for FUZZ_SECONDS; new inputs go to build-fuzz/corpus.
FUZZ_SECONDS ?= 60
SANITIZERS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
fuzz:
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_C_COMPILER=clang -DBUILD_TESTING=OFF -DWORDHASH_FUZZ=ON \
	  "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link $(SANITIZERS)"
	cmake --build build-fuzz --target dialogue_fuzzer -j $(JOBS)
	mkdir -p build-fuzz/corpus
	./build-fuzz/fuzz/dialogue_fuzzer -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	  -rss_limit_mb=2048 -print_final_stats=1 build-fuzz/corpus fuzz/corpus

# The whole test suite built and run under the address, undefined-behaviour and leak sanitizers.
# (g++ 12 warns falsely of uninitialised members inside <regex> when instrumented.)
sanitize:
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  "-DCMAKE_CXX_FLAGS=$(SANITIZERS) -Wno-maybe-uninitialized" \
	  "-DCMAKE_EXE_LINKER_FLAGS=$(SANITIZERS)"
	cmake --build build-sanitize -j $(JOBS)
	ctest --test-dir build-sanitize --output-on-failure -j $(JOBS)

# Formatting, clang-tidy and cppcheck; any finding fails.
SOURCES := $(shell find src tests bench fuzz -name '*.cpp' -o -name '*.h' -o -name '*.c')
lint:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DWORDHASH_BENCHMARKS=ON >/dev/null
	clang-format --dry-run -Werror $(SOURCES)
	clang-tidy -p $(BUILD_DIR) --quiet $$(grep -o '"file": "[^"]*"' $(BUILD_DIR)/compile_commands.json \
	  | cut -d'"' -f4 | grep -E '/(src|tests|bench|fuzz)/.*\.cpp$$' | sort -u)
	cppcheck --enable=warning,performance,portability,style --error-exitcode=1 --inline-suppr \
	  --std=c++20 --quiet -I src -I tests src bench fuzz
	cppcheck --enable=warning,performance,portability --error-exitcode=1 --inline-suppr \
	  --std=c++20 --quiet --library=googletest -I src tests

# Line coverage of src/ by the whole test suite (gcov).
coverage:
	cmake -S . -B build-coverage -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS=--coverage" \
	  "-DCMAKE_EXE_LINKER_FLAGS=--coverage"
	find build-coverage -name '*.gcda' -delete
	cmake --build build-coverage -j $(JOBS)
	ctest --test-dir build-coverage --output-on-failure -j $(JOBS)
	tools/coverage_summary.sh build-coverage 95

clean:
	rm -rf $(BUILD_DIR) build-fuzz build-sanitize build-coverage build-win64 build-win32
