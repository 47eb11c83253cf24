# Thin wrapper over CMake: `make run` and `make test` work on a fresh clone.
BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all build run test bench clean

all: build

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/wordhash

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# Benchmarks: the micro-benchmarks, then the whole program against its floor.
# BENCH_GIB=1 adds the 1 GiB word (about 5 GiB of disk and several minutes).
bench: $(BUILD_DIR)/CMakeCache.txt
	cmake -S . -B $(BUILD_DIR) -DWORDHASH_BENCHMARKS=ON >/dev/null
	cmake --build $(BUILD_DIR) -j $(JOBS)
	./$(BUILD_DIR)/bench/wordhash_micro_bench --benchmark_min_time=0.1
	mkdir -p $(BUILD_DIR)/bench-data
	./$(BUILD_DIR)/bench/process_bench $(BUILD_DIR)/wordhash $(BUILD_DIR)/bench/floor \
	  $(BUILD_DIR)/bench-data $(if $(BENCH_GIB),--gib)

clean:
	rm -rf $(BUILD_DIR)
