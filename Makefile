# Front door of the project. On a machine without make, `./setup demo` and
# `./setup test` install what they need and end in `make demo` and `make
# test`. `make demo` installs what the build needs (as root) and draws the
# room scene; `make test` installs what is missing, builds everything, runs
# every test and ends with "N passed, M failed"; `make install PREFIX=DIR`
# builds and installs the package alone, without the tests or the developer
# tools.
BUILD ?= build
# `make demo` builds without the tests, so it needs no test packages.
BUILD_DEMO ?= build-demo
# The 32-bit Windows DLL and its host stand-in, run under Wine.
BUILD_WIN ?= build-win
ZEP_WINDOWS ?= 1
# The browser tests of zepscene's HTML pages (headless Chromium); 0 leaves
# Chromium out of `make deps` and skips them.
ZEP_BROWSER ?= 1
export ZEP_BROWSER
JOBS ?= $(shell nproc)
# The whole suite under AddressSanitizer (with its leak checker) and
# UndefinedBehaviorSanitizer, and the command fuzzer; every finding is fatal.
BUILD_ASAN ?= build-asan
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 140
SANITIZE_FLAGS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
SANITIZE_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The tests that run passes on worker threads (and the pool, and two host
# threads racing for the library) under ThreadSanitizer; any report fails.
BUILD_TSAN ?= build-tsan
TSAN_FLAGS := -fsanitize=thread -fno-omit-frame-pointer
TSAN_TESTS ?= WorkerPoolTest.*:PassThreadsTest.*:DifferentialTest.Threaded*:SharedScenarioDigest.Pinned*:HostileHostTest.*Thread*

.PHONY: all deps deps-build build demo install fresh-check scenarios test windows-test sanitize tsan fuzz fuzz-long coverage bench bench-peers bench-compare bench-instructions levels walk walk-churn walk-asan clean

all: build

deps:
	ZEP_WINDOWS=$(ZEP_WINDOWS) ZEP_BROWSER=$(ZEP_BROWSER) tools/install-deps.sh

deps-build:
	tools/install-deps.sh build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEP_BUILD_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)

# Configures and builds $(BUILD_DEMO) without the tests, the compiler's
# output kept in $(BUILD_DEMO)/build.log (its end shown when it fails).
quiet_build = echo "building $(BUILD_DEMO) (log in $(BUILD_DEMO)/build.log)"; mkdir -p $(BUILD_DEMO) && \
  { cmake -S . -B $(BUILD_DEMO) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEP_BUILD_TESTS=OFF && \
    cmake --build $(BUILD_DEMO) -j $(JOBS) $(1); } >$(BUILD_DEMO)/build.log 2>&1 || \
  { tail -n 30 $(BUILD_DEMO)/build.log; exit 1; }

# The room scene through the scene runner: the table of every pass (kept in
# $(BUILD_DEMO)/room.txt), a picture of the run in demo.svg and the run to
# explore in 3D in demo.html. The libraries are built too, so that
# `cmake --install $(BUILD_DEMO)` (or `make install`) has all it installs.
demo: deps-build
	@$(call quiet_build,--target zepscene zepcollide zepcollide_static)
	$(BUILD_DEMO)/zepscene --svg demo.svg --html demo.html examples/room.zep >$(BUILD_DEMO)/room.txt
	@echo "the room scene ran $$(grep -c '^frame' $(BUILD_DEMO)/room.txt) passes; each pass's table is in $(BUILD_DEMO)/room.txt"
	@echo "open file://$(CURDIR)/demo.svg or file://$(CURDIR)/demo.html in a browser"

# The header, both libraries, zepscene, the CMake package and the pkg-config
# files under PREFIX. Needs only what `./setup demo` installs (cmake, make, a
# C++ compiler, zlib); the tests and the developer tools are not built.
PREFIX ?= /usr/local
install: deps-build
	@$(call quiet_build,--target zepscene zepcollide zepcollide_static)
	cmake --install $(BUILD_DEMO) --prefix "$(PREFIX)"

# Bootstraps a minimal Debian root (mmdebstrap, as root) and runs the
# README's two commands in it as a newcomer would: ./setup demo, then
# ./setup test. FRESH_TEST=0 stops after the demo. See tools/fresh-check.sh.
FRESH_TEST ?= 1
fresh-check:
	FRESH_TEST=$(FRESH_TEST) tools/fresh-check.sh

# Levels built from several mesh objects, walked by a sphere and an
# elongated mover at three speeds: per level the falls, pass-throughs,
# penetration, overlaps left after a pass, stuck frames and how the split
# level compares with the same triangles in one mesh.
scenarios:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target zepscenarios
	$(BUILD)/zepscenarios

# Real levels from Debian's game data (openarena-088-data, nexuiz-data):
# the packages are downloaded once (never installed) into
# $(LEVELS_DIR)/debs, and six maps converted to $(LEVELS_DIR)/maps/NAME.obj
# and NAME-sky.obj. Not part of `make test`: it downloads about 340 MB.
LEVELS_DIR ?= build-levels
levels:
	tools/levels/make-levels.sh $(LEVELS_DIR)

# Crowds of walkers on the levels of `make levels` (200 per map, player
# sized in each game's units), WALK_SEEDS seeds of WALK_FRAMES frames: per
# map escapes, front-face crossings, new deep overlaps, the worst jump, stuck
# walkers and pass time, then the cases to replay with
# `$(BUILD_WALK)/zepwalk --trace SEED:WALKER:FRAME MAP.obj=RADII`.
BUILD_WALK ?= build-walk
WALK_FRAMES ?= 2000
WALK_SEEDS ?= 10
WALK_WALKERS ?= 200
WALK_ARGS ?=
WALK_OPENARENA := oa_minia czest3ctf am_spacecont
WALK_NEXUIZ := cyberparcour01 racetrack warfare
WALK_MAPS = $(foreach m,$(WALK_OPENARENA),$(LEVELS_DIR)/maps/$(m).obj=15x28x15) \
  $(foreach m,$(WALK_NEXUIZ),$(LEVELS_DIR)/maps/$(m).obj=16x34x16)
walk: levels
	cmake -S . -B $(BUILD_WALK) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEP_BUILD_TESTS=OFF
	cmake --build $(BUILD_WALK) -j $(JOBS) --target zepwalk
	$(BUILD_WALK)/zepwalk --frames $(WALK_FRAMES) --seeds $(WALK_SEEDS) --walkers $(WALK_WALKERS) $(WALK_ARGS) $(WALK_MAPS)

# The churn mode on a small level (the yard of examples/level.obj, no
# download): walkers, level pieces and a stray mesh freed and made again
# while the crowd walks, the library restarted every 5000 passes;
# CHURN_PASSES collision passes in all. Fails on a library error or warning,
# or when the resident set grows more than CHURN_RSS_MB after the warm-up.
# `walk-asan` runs it under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer, library and driver alike.
BUILD_WALK_ASAN ?= build-walk-asan
CHURN_PASSES ?= 100000
CHURN_RSS_MB ?= 16
CHURN_MAP ?= examples/level.obj=0.4x0.9x0.4
CHURN_ARGS = --churn --open --walkers 32 --pieces 4 --passes $(CHURN_PASSES) --rss-bound $(CHURN_RSS_MB) $(CHURN_MAP)
walk-churn:
	cmake -S . -B $(BUILD_WALK) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEP_BUILD_TESTS=OFF
	cmake --build $(BUILD_WALK) -j $(JOBS) --target zepwalk
	$(BUILD_WALK)/zepwalk $(CHURN_ARGS)

# ASan keeps freed memory in a quarantine that would look like growth: it
# is held small here so the resident set shows what the library keeps.
walk-asan:
	cmake -S . -B $(BUILD_WALK_ASAN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEP_BUILD_TESTS=OFF \
	  -DCMAKE_C_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$(SANITIZE_FLAGS)"
	cmake --build $(BUILD_WALK_ASAN) -j $(JOBS) --target zepwalk
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:quarantine_size_mb=4 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  $(BUILD_WALK_ASAN)/zepwalk $(CHURN_ARGS)

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

tsan: deps
	cmake -S . -B $(BUILD_TSAN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_FLAGS="$(TSAN_FLAGS)" -DCMAKE_CXX_FLAGS="$(TSAN_FLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$(TSAN_FLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$(TSAN_FLAGS)"
	cmake --build $(BUILD_TSAN) -j $(JOBS) --target zepcollide_tests
	TSAN_OPTIONS=halt_on_error=1:abort_on_error=1 $(BUILD_TSAN)/tests/zepcollide_tests \
	  --gtest_brief=1 --gtest_filter='$(TSAN_TESTS)'

# Runs the command fuzzer for FUZZ_SECONDS in FUZZ_PROCESSES processes at
# once (tools/run-fuzz.sh) from the seeds in fuzz/corpus, the kept
# regression inputs and what earlier runs kept; a crash, a broken invariant,
# a leak, memory refused without a word or an input slower than 60 s fails
# it and leaves the input in $(BUILD_FUZZ) (60 s: a mover sent 10^6 units
# across a grid of 6400 triangles slides 2552 times in one pass, whose
# per-contact checks grow with the contacts; with the sanitizers and the
# plain path that input takes about 30 s, where a hang never ends). Every
# input also runs on the plain reference path and must give the same
# results to the bit.
# FUZZ_DIFFERENTIAL=report counts and keeps the inputs where the two paths
# disagree (in $(BUILD_FUZZ)/disagreements) without failing; fatal fails on
# the first. First the fuzzer's own tests replay fuzz/regressions and
# fuzz/known-disagreements. What the fuzzers print goes to
# $(BUILD_FUZZ)/fuzz-N.log; only the totals are shown (and the end of the
# log when one fails). `make fuzz-long` runs longer with larger worlds.
FUZZ_DIFFERENTIAL ?= fatal
FUZZ_MAX_LEN ?= 4096
FUZZ_PROCESSES ?= $(JOBS)
FUZZ_ARGS ?=
fuzz: deps
	cmake -S fuzz -B $(BUILD_FUZZ) -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(BUILD_FUZZ) -j $(JOBS)
	ctest --test-dir $(BUILD_FUZZ) --output-on-failure
	@tools/run-fuzz.sh $(BUILD_FUZZ) $(FUZZ_SECONDS) $(FUZZ_PROCESSES) $(FUZZ_MAX_LEN) $(FUZZ_DIFFERENTIAL) $(FUZZ_ARGS)
	@found=$$(ls $(BUILD_FUZZ)/disagreements | wc -l); if [ $$found -gt 0 ]; then \
	  echo "the indexed and the plain path disagreed on $$found kept inputs (ZEP_FUZZ_DIFFERENTIAL=fatal $(BUILD_FUZZ)/command_fuzzer FILE shows where):"; \
	  ls $(BUILD_FUZZ)/disagreements | sed 's|^|  $(BUILD_FUZZ)/disagreements/|'; fi

# A long fuzzing run with larger worlds (levels of up to 10^5 triangles,
# every object number, longer inputs): FUZZ_SECONDS (3600 by default).
fuzz-long:
	ZEP_FUZZ_WORLDS=large $(MAKE) --no-print-directory fuzz \
	  FUZZ_SECONDS=$(if $(filter command line,$(origin FUZZ_SECONDS)),$(FUZZ_SECONDS),3600) \
	  FUZZ_MAX_LEN=16384 FUZZ_ARGS="-timeout=60 $(FUZZ_ARGS)"

# Line and branch coverage of the library, file by file: by the fuzz corpus
# alone (fuzz/corpus, fuzz/regressions and what `make fuzz` kept), then by the
# unit tests and the corpus together. Needs clang's llvm-cov and llvm-profdata.
BUILD_COV ?= build-cov
BUILD_FUZZ_COV ?= build-fuzz-cov
LLVM_COV ?= llvm-cov
LLVM_PROFDATA ?= llvm-profdata
COVERAGE_FLAGS := -fprofile-instr-generate -fcoverage-mapping
COVERAGE_REPORT = $(LLVM_COV) report -show-region-summary=0 -show-instantiation-summary=0
coverage:
	cmake -S . -B $(BUILD_COV) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_C_FLAGS="$(COVERAGE_FLAGS)" -DCMAKE_CXX_FLAGS="$(COVERAGE_FLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS=-fprofile-instr-generate -DCMAKE_SHARED_LINKER_FLAGS=-fprofile-instr-generate
	cmake --build $(BUILD_COV) -j $(JOBS) --target zepcollide_tests
	cmake -S fuzz -B $(BUILD_FUZZ_COV) -DCMAKE_CXX_COMPILER=clang++ -DZEP_FUZZ_COVERAGE=ON
	cmake --build $(BUILD_FUZZ_COV) -j $(JOBS)
	rm -rf $(BUILD_COV)/profiles && mkdir -p $(BUILD_COV)/profiles $(BUILD_FUZZ)/corpus
	LLVM_PROFILE_FILE=$(abspath $(BUILD_COV))/profiles/suite-%p.profraw $(BUILD_COV)/tests/zepcollide_tests >/dev/null
	LLVM_PROFILE_FILE=$(abspath $(BUILD_COV))/profiles/fuzz-%p.profraw ZEP_FUZZ_DIFFERENTIAL=report \
	  $(BUILD_FUZZ_COV)/command_fuzzer -runs=0 -max_len=$(FUZZ_MAX_LEN) fuzz/corpus fuzz/regressions \
	  $(wildcard fuzz/known-disagreements) $(BUILD_FUZZ)/corpus 2>/dev/null
	$(LLVM_PROFDATA) merge -o $(BUILD_COV)/fuzz.profdata $(BUILD_COV)/profiles/fuzz-*.profraw
	$(LLVM_PROFDATA) merge -o $(BUILD_COV)/all.profdata $(BUILD_COV)/profiles/*.profraw
	@echo "== the fuzz corpus alone"
	@$(COVERAGE_REPORT) $(BUILD_FUZZ_COV)/command_fuzzer -instr-profile=$(BUILD_COV)/fuzz.profdata $(abspath src)
	@echo "== the unit tests and the fuzz corpus"
	@$(COVERAGE_REPORT) $(BUILD_COV)/tests/zepcollide_tests -object $(BUILD_FUZZ_COV)/command_fuzzer \
	  -instr-profile=$(BUILD_COV)/all.profdata $(abspath src)

# Indexed paths against the plain reference path, scene by scene, with a
# one-line summary per scene; then this tree against BASELINE in one process
# (bench-compare below: per pass median, p95 and max, and the ratios). Not
# part of `make test`: it takes minutes.
BUILD_BENCH ?= build-bench
bench: deps
	cmake -S . -B $(BUILD_BENCH) -DCMAKE_BUILD_TYPE=Release -DZEP_BUILD_BENCH=ON -DZEP_BUILD_TESTS=OFF
	cmake --build $(BUILD_BENCH) -j $(JOBS) --target zepcollide_bench
	$(BUILD_BENCH)/bench/zepcollide_bench
	$(MAKE) --no-print-directory bench-compare

# The walking crowd of `bench` through zepcollide and through Bullet (its
# kinematic character controller, and plain capsule sweeps); ends with the
# ms per pass of each. Bullet is needed here only.
BUILD_PEERS ?= build-peers
bench-peers: deps
	tools/install-peer-deps.sh
	cmake -S . -B $(BUILD_PEERS) -DCMAKE_BUILD_TYPE=Release -DZEP_BUILD_BENCH=ON -DZEP_BUILD_PEERS=ON -DZEP_BUILD_TESTS=OFF
	cmake --build $(BUILD_PEERS) -j $(JOBS) --target zepcollide_peers
	$(BUILD_PEERS)/bench/zepcollide_peers

# The current tree's library against BASELINE's, both built Release and
# loaded side by side in one process: the crowds (walking 0.1 and 0.35 a
# frame) and the shots timed in interleaved rounds, loading 10^6 and 10^7
# triangles, the first pass after loading against a steady one; per scene
# each side's figures and the ratio current/baseline. Fails when the two
# builds' results differ in any bit, so BASELINE must be a commit with
# today's results (e85f6a3 or later). BASELINE is built once into
# $(BUILD_BASELINE)/<commit> (bench/baseline.sh). COMPARE_ARGS: --rounds N,
# --passes N, --quick (no 10^7). Not part of `make test`: about two minutes.
BASELINE ?= e85f6a3
BUILD_BASELINE ?= build-baseline
COMPARE_ARGS ?=
bench-compare: deps-build
	cmake -S . -B $(BUILD_BENCH) -DCMAKE_BUILD_TYPE=Release -DZEP_BUILD_BENCH=ON -DZEP_BUILD_TESTS=OFF
	cmake --build $(BUILD_BENCH) -j $(JOBS) --target zepcollide zepcollide_compare
	baseline=$$(bench/baseline.sh $(BASELINE) $(BUILD_BASELINE)) && \
	  $(BUILD_BENCH)/bench/zepcollide_compare $(COMPARE_ARGS) $$baseline $(BUILD_BENCH)/libzepcollide.so

# Instructions per pass of the same two builds, counted by callgrind (no
# noise from the machine's load): the crowds and the shots, 5 passes each
# after 20 uncounted ones; the callgrind files stay in $(BUILD_BENCH)/instructions.
# INSTRUCTIONS_ARGS: --warmup N, --passes N. About half a minute.
INSTRUCTIONS_ARGS ?=
bench-instructions: deps-build
	bench/install-packages.sh valgrind
	cmake -S . -B $(BUILD_BENCH) -DCMAKE_BUILD_TYPE=Release -DZEP_BUILD_BENCH=ON -DZEP_BUILD_TESTS=OFF
	cmake --build $(BUILD_BENCH) -j $(JOBS) --target zepcollide zepcollide_instructions
	baseline=$$(bench/baseline.sh $(BASELINE) $(BUILD_BASELINE)) && \
	  bench/instructions.sh $(BUILD_BENCH)/bench/zepcollide_instructions $$baseline $(BUILD_BENCH)/libzepcollide.so \
	    $(BUILD_BENCH)/instructions $(INSTRUCTIONS_ARGS)

# Needs the Linux build too: the DLL must reproduce its scenario digest.
windows-test: deps build
	cmake -S . -B $(BUILD_WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEP_LINUX_TESTS=$(abspath $(BUILD))/tests/zepcollide_tests
	cmake --build $(BUILD_WIN) -j $(JOBS)
	ctest --test-dir $(BUILD_WIN) --output-on-failure

clean:
	rm -rf $(BUILD) $(BUILD_WALK) $(BUILD_WALK_ASAN) $(BUILD_DEMO) $(BUILD_WIN) $(BUILD_ASAN) $(BUILD_TSAN) $(BUILD_FUZZ) $(BUILD_BENCH) $(BUILD_BASELINE) $(BUILD_PEERS) $(BUILD_COV) $(BUILD_FUZZ_COV)
