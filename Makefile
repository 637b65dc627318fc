# Front door of the project. `make test` installs what is missing (as root),
# builds everything and runs every test.
BUILD ?= build
# The 32-bit Windows DLL and its host stand-in, run under Wine.
BUILD_WIN ?= build-win
ZEP_WINDOWS ?= 1
JOBS ?= $(shell nproc)
# The whole suite under AddressSanitizer (with its leak checker) and
# UndefinedBehaviorSanitizer, and the command fuzzer; every finding is fatal.
BUILD_ASAN ?= build-asan
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 60
SANITIZE_FLAGS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
SANITIZE_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: all deps build demo scenarios test windows-test sanitize fuzz bench clean

all: build

deps:
	ZEP_WINDOWS=$(ZEP_WINDOWS) tools/install-deps.sh

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# The room scene through the scene runner: the table of every pass, and a
# picture of the run in demo.svg.
demo:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target zepscene
	$(BUILD)/zepscene --svg demo.svg examples/room.zep
	@echo "wrote demo.svg (open it in a browser)"

# Levels built from several mesh objects, walked by a sphere and an
# elongated mover at three speeds: per level the falls, pass-throughs,
# penetration, overlaps left after a pass, stuck frames and how the split
# level compares with the same triangles in one mesh.
scenarios:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target zepscenarios
	$(BUILD)/zepscenarios

test: deps build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
ifeq ($(ZEP_WINDOWS),1)
	$(MAKE) --no-print-directory windows-test
endif
	$(MAKE) --no-print-directory sanitize
	$(MAKE) --no-print-directory fuzz

# Every test process checks for leaks at exit, the shared library's
# load-use-unload cycle included.
sanitize: deps
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_C_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$(SANITIZE_FLAGS)"
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	$(SANITIZE_ENV) ctest --test-dir $(BUILD_ASAN) --output-on-failure -j $(JOBS) \
	  -E '^package_consumer$$'  # links a plain program against the sanitized library

# Runs the command fuzzer for FUZZ_SECONDS from the seeds in fuzz/corpus plus
# what earlier runs kept; a crash, a broken invariant, a leak or an input
# slower than 10 s fails it and leaves the input in $(BUILD_FUZZ).
fuzz: deps
	cmake -S fuzz -B $(BUILD_FUZZ) -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(BUILD_FUZZ) -j $(JOBS)
	mkdir -p $(BUILD_FUZZ)/corpus
	$(BUILD_FUZZ)/command_fuzzer -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
	  -print_final_stats=1 -artifact_prefix=$(BUILD_FUZZ)/ $(BUILD_FUZZ)/corpus fuzz/corpus

# Indexed paths against the plain reference path, scene by scene; ends with a
# one-line summary per scene. Not part of `make test`: it takes minutes.
BUILD_BENCH ?= build-bench
bench: deps
	cmake -S . -B $(BUILD_BENCH) -DCMAKE_BUILD_TYPE=Release -DZEP_BUILD_BENCH=ON -DZEP_BUILD_TESTS=OFF
	cmake --build $(BUILD_BENCH) -j $(JOBS) --target zepcollide_bench
	$(BUILD_BENCH)/bench/zepcollide_bench

# Needs the Linux build too: the DLL must reproduce its scenario digest.
windows-test: deps build
	cmake -S . -B $(BUILD_WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEP_LINUX_TESTS=$(abspath $(BUILD))/tests/zepcollide_tests
	cmake --build $(BUILD_WIN) -j $(JOBS)
	ctest --test-dir $(BUILD_WIN) --output-on-failure

clean:
	rm -rf $(BUILD) $(BUILD_WIN) $(BUILD_ASAN) $(BUILD_FUZZ) $(BUILD_BENCH)
