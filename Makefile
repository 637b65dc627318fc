# Front door of the project. `make test` installs what is missing (as root),
# builds everything and runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps build test clean

all: build

deps:
	ZEP_WINDOWS=$(ZEP_WINDOWS) tools/install-deps.sh

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

test: deps build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
