# Front door of the project. `make test` installs what is missing (as root),
# builds everything and runs every test.
BUILD ?= build
# The 32-bit Windows DLL and its host stand-in, run under Wine.
BUILD_WIN ?= build-win
ZEP_WINDOWS ?= 1
JOBS ?= $(shell nproc)

.PHONY: all deps build demo test windows-test clean

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

test: deps build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
ifeq ($(ZEP_WINDOWS),1)
	$(MAKE) --no-print-directory windows-test
endif

# Needs the Linux build too: the DLL must reproduce its scenario digest.
windows-test: deps build
	cmake -S . -B $(BUILD_WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEP_LINUX_TESTS=$(abspath $(BUILD))/tests/zepcollide_tests
	cmake --build $(BUILD_WIN) -j $(JOBS)
	ctest --test-dir $(BUILD_WIN) --output-on-failure

clean:
	rm -rf $(BUILD) $(BUILD_WIN)
