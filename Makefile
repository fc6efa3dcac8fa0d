BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps build test bench run clean fuzz

FUZZ_SECONDS ?= 600

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

# Every fuzz target for FUZZ_SECONDS seconds (clang, ASan and UBSan).
fuzz:
	@bash tools/install-deps.sh clang libclang-rt-14-dev
	CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOLLO_FUZZ=ON -DVOLLO_BUILD_TESTS=OFF
	cmake --build build-fuzz -j $(JOBS)
	bash fuzz/run.sh build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR)
