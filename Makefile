# Entry points: `make test` (every build, every test), `make run` (this
# build's study) and `make study MODEL=...` (any model's).
BUILD_DIR := build
SANITIZE_DIR := build-asan
TSAN_DIR := build-tsan
FUZZ_DIR := build-fuzz
JOBS ?= $(shell nproc)
OUT_DIR := out

.PHONY: all setup build build-sanitize build-tsan test run study bench model netgen fuzz clean

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

# Configures this build and builds the targets $(1), CMake's progress lines
# on the console and its whole output in the file $(2).
define logged_build
	@mkdir -p $(dir $(2))
	@bash -c 'set -o pipefail; { cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo && \
	  cmake --build $(BUILD_DIR) -j $(JOBS) --target $(1); } 2>&1 | tee $(2) | \
	  { grep --line-buffered -E "^\[ *[0-9]+%\] (Building|Linking|Compiling)|error" || true; }' || \
	  { echo "make: the build failed; see $(2)" >&2; exit 1; }
endef

# make run: this build's study through the study runner: its table, and
# out/results.csv, out/reliability.svg and out/report.html.
run: setup
	$(call logged_build,study gen solve netgen,$(OUT_DIR)/build.log)
	@$(BUILD_DIR)/study -o $(OUT_DIR) -j $(JOBS) \
	  --label 'reliability=probability that both memories are corrupted' model/basic_model.san

# make study MODEL=path/to/file.san (or a .pnml) [STUDY_OPTIONS="--vary x=1:1:5"]:
# the study runner on any model, into out/<name>/.
study: setup
	@test -n "$(MODEL)" || { echo "usage: make study MODEL=path/to/file.san [STUDY_OPTIONS=...]" >&2; exit 1; }
	$(call logged_build,study,$(BUILD_DIR)/study-build.log)
	@$(BUILD_DIR)/study -j $(JOBS) $(STUDY_OPTIONS) $(MODEL)

# make model MODEL=path/to/file.san: builds build/models/<file> from a model description.
model: setup
	@test -n "$(MODEL)" || { echo "usage: make model MODEL=path/to/file.san" >&2; exit 1; }
	@test -f "$(MODEL)" || { echo "make model: there is no file $(MODEL)" >&2; exit 1; }
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANGEN_MODEL=$(abspath $(MODEL))
	cmake --build $(BUILD_DIR) --target model_$(basename $(notdir $(MODEL))) -j $(JOBS)

# make netgen: build/netgen, the generator of nets read at run time from PNML.
netgen: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) --target netgen -j $(JOBS)

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
