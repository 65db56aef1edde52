# Entry points: `make test` (every build, every test) and `make run` (the study).
BUILD_DIR := build
SANITIZE_DIR := build-asan
TSAN_DIR := build-tsan
FUZZ_DIR := build-fuzz
JOBS ?= $(shell nproc)
OUT_DIR := out

.PHONY: all setup build build-sanitize build-tsan test run bench model fuzz clean

all: build

# The Debian packages the build needs beyond the image's (as root; otherwise
# it says what to install).
setup:
	@scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

build-sanitize: setup
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DSANGEN_SANITIZE=ON \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g"
	cmake --build $(SANITIZE_DIR) -j $(JOBS)

# The generator's tests once more under ThreadSanitizer: the output is
# written on a second thread. Only their executable is built here.
build-tsan: setup
	cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DSANGEN_TSAN=ON \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g"
	cmake --build $(TSAN_DIR) -j $(JOBS) --target test_generator

test: build build-sanitize build-tsan
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)
	cd $(TSAN_DIR) && ctest --output-on-failure -j $(JOBS) -E "_NOT_BUILT|^fuzz_corpus_"

# make run: the study's table; the build's output goes to out/build.log.
run: setup
	@mkdir -p $(OUT_DIR)
	@{ cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo && \
	   cmake --build $(BUILD_DIR) -j $(JOBS) --target gen solve linechart; } \
	  >$(OUT_DIR)/build.log 2>&1 || \
	  { echo "make run: the build failed; see $(OUT_DIR)/build.log" >&2; exit 1; }
	@scripts/run_study.sh $(BUILD_DIR) $(OUT_DIR) 25 probability

# make model MODEL=path/to/file.san: builds build/models/<file> from a model description.
model: setup
	@test -n "$(MODEL)" || { echo "usage: make model MODEL=path/to/file.san" >&2; exit 1; }
	@test -f "$(MODEL)" || { echo "make model: there is no file $(MODEL)" >&2; exit 1; }
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANGEN_MODEL=$(abspath $(MODEL))
	cmake --build $(BUILD_DIR) --target model_$(basename $(notdir $(MODEL))) -j $(JOBS)

# make bench: quick sizes; make bench BENCH=large: up to the largest sizes.
BENCH ?= quick
bench: build
	bench/run_bench.sh $(BENCH) $(BUILD_DIR)
	bench/solver_bench.sh $(BUILD_DIR)
	bench/delay_bench.sh $(BUILD_DIR)

# make fuzz: every parser's fuzz target for FUZZ_SECONDS each (clang, libFuzzer).
FUZZ_SECONDS ?= 60
fuzz: setup
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DSANGEN_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers
	fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(TSAN_DIR) $(FUZZ_DIR) $(OUT_DIR)
