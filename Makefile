BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps build test bench run clean

all: build

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD_DIR)/benchmarks/*/bench_*; do \
	  [ -x "$$b" ] || continue; echo "== $$(basename $$b)"; "$$b" || exit 1; \
	done

run: build
	./$(BUILD_DIR)/pixodraw

clean:
	rm -rf $(BUILD_DIR)
