# Entry points: `make test` (both builds, every test) and `make run` (the study).
BUILD_DIR := build
SANITIZE_DIR := build-asan
JOBS ?= $(shell nproc)
OUT_DIR := out

.PHONY: all build build-sanitize test run bench model clean

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

# make model MODEL=path/to/file.san: builds build/models/<file> from a model description.
model:
	@test -n "$(MODEL)" || { echo "usage: make model MODEL=path/to/file.san" >&2; exit 1; }
	@test -f "$(MODEL)" || { echo "make model: there is no file $(MODEL)" >&2; exit 1; }
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANGEN_MODEL=$(abspath $(MODEL))
	cmake --build $(BUILD_DIR) --target model_$(basename $(notdir $(MODEL))) -j $(JOBS)

# make bench: quick sizes; make bench BENCH=large: up to the largest sizes.
BENCH ?= quick
bench: build
	bench/run_bench.sh $(BENCH) $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(OUT_DIR)
