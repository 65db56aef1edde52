# Entry points: `make test` (both builds, every test) and `make run` (the study).
BUILD_DIR := build
SANITIZE_DIR := build-asan
FUZZ_DIR := build-fuzz
JOBS ?= $(shell nproc)
OUT_DIR := out

.PHONY: all build build-sanitize test run bench fuzz clean

all: build

build:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

build-sanitize:
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DSANGEN_SANITIZE=ON \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g"
	cmake --build $(SANITIZE_DIR) -j $(JOBS)

test: build build-sanitize
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)

run: build
	scripts/run_study.sh $(BUILD_DIR)/gen $(OUT_DIR)

# make bench: quick sizes; make bench BENCH=large: up to the largest sizes.
BENCH ?= quick
bench: build
	bench/run_bench.sh $(BENCH) $(BUILD_DIR)

# make fuzz: every parser's fuzz target for FUZZ_SECONDS each (clang, libFuzzer).
FUZZ_SECONDS ?= 60
fuzz:
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DSANGEN_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(OUT_DIR)
