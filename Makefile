BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps build test test-asan bench pictures screenshots run clean fuzz

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

# The whole test suite again, built with AddressSanitizer, UndefinedBehaviorSanitizer
# and LeakSanitizer, in a build folder of its own. Leaks inside the system's graphics,
# X and audio libraries are suppressed (tests/asan/lsan.supp); ours are not.
# keep_loaded (tests/asan) is preloaded so that Mesa's driver stays mapped until the
# leak check; preloading it ahead of the sanitizer runtime needs verify_asan_link_order=0.
ASAN_BUILD_DIR ?= build-asan
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:verify_asan_link_order=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/asan/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LD_PRELOAD=$(CURDIR)/$(ASAN_BUILD_DIR)/tests/asan/libvollo_keep_loaded.so

test-asan: deps
	cmake -S . -B $(ASAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DVOLLO_SANITIZE=ON -DVOLLO_BUILD_BENCHMARKS=OFF
	cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	cd $(ASAN_BUILD_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# Redraws the interface pictures kept in img/.
pictures: build
	./$(BUILD_DIR)/make_pictures img

# Renders every example on a private X server into docs/examples/NAME.png.
screenshots: build
	bash tools/screenshots.sh $(BUILD_DIR)

# PIXODRAW alone: only the packages that building and running it needs, and only the
# program, in a build folder of its own without tests, benchmarks and examples.
RUN_BUILD_DIR ?= build-run

run:
	@bash tools/install-deps.sh --program
	cmake -S . -B $(RUN_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOLLO_BUILD_TESTS=OFF \
	  -DVOLLO_BUILD_BENCHMARKS=OFF -DVOLLO_BUILD_EXAMPLES=OFF
	cmake --build $(RUN_BUILD_DIR) -j $(JOBS) --target pixodraw
	./$(RUN_BUILD_DIR)/pixodraw

# Every fuzz target for FUZZ_SECONDS seconds (clang, ASan and UBSan).
fuzz:
	@bash tools/install-deps.sh clang libclang-rt-14-dev
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOLLO_FUZZ=ON \
	  -DVOLLO_BUILD_TESTS=OFF -DVOLLO_BUILD_BENCHMARKS=OFF -DVOLLO_BUILD_EXAMPLES=OFF
	cmake --build build-fuzz -j $(JOBS)
	bash fuzz/run.sh build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR) $(RUN_BUILD_DIR)
