# Front door of the project. `make demo` installs what the build needs (as
# root) and draws the room scene; `make test` installs what is missing,
# builds everything, runs every test and ends with "N passed, M failed".
BUILD ?= build
# `make demo` builds without the tests, so it needs no test packages.
BUILD_DEMO ?= build-demo
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

.PHONY: all deps deps-build build demo test windows-test sanitize fuzz bench clean

all: build

deps:
	ZEP_WINDOWS=$(ZEP_WINDOWS) tools/install-deps.sh

deps-build:
	tools/install-deps.sh build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEP_BUILD_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)

# The room scene through the scene runner: the table of every pass, and a
# picture of the run in demo.svg.
demo: deps-build
	cmake -S . -B $(BUILD_DEMO) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEP_BUILD_TESTS=OFF
	cmake --build $(BUILD_DEMO) -j $(JOBS) --target zepscene
	$(BUILD_DEMO)/zepscene --svg demo.svg examples/room.zep
	@echo "wrote demo.svg (open it in a browser)"

# Every part runs even when one before it failed; see tools/run-tests.sh.
test:
	@MAKE="$(MAKE)" tools/run-tests.sh $(BUILD) $(JOBS) $(ZEP_WINDOWS)

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
# slower than 10 s fails it and leaves the input in $(BUILD_FUZZ). What the
# fuzzer prints goes to $(BUILD_FUZZ)/fuzz.log; only its totals are shown
# (and the end of the log when it fails).
fuzz: deps
	cmake -S fuzz -B $(BUILD_FUZZ) -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(BUILD_FUZZ) -j $(JOBS)
	mkdir -p $(BUILD_FUZZ)/corpus
	@if $(BUILD_FUZZ)/command_fuzzer -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
	  -print_final_stats=1 -artifact_prefix=$(BUILD_FUZZ)/ $(BUILD_FUZZ)/corpus fuzz/corpus \
	  >$(BUILD_FUZZ)/fuzz.log 2>&1; then \
	  awk -F': *' '/^stat::number_of_executed_units/ {n=$$NF} /^stat::average_exec_per_sec/ {r=$$NF} \
	    /^stat::new_units_added/ {u=$$NF} /^stat::peak_rss_mb/ {m=$$NF} \
	    END {printf "fuzz: %s inputs in $(FUZZ_SECONDS) s (%s/s), %s new kept, peak %s MB; log in $(BUILD_FUZZ)/fuzz.log\n", n, r, u, m}' \
	    $(BUILD_FUZZ)/fuzz.log; \
	else tail -n 60 $(BUILD_FUZZ)/fuzz.log; echo "fuzz: FAILED; log in $(BUILD_FUZZ)/fuzz.log"; exit 1; fi

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
	rm -rf $(BUILD) $(BUILD_DEMO) $(BUILD_WIN) $(BUILD_ASAN) $(BUILD_FUZZ) $(BUILD_BENCH)
