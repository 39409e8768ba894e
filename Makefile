# A new machine without make starts with ./run or ./test, which install make
# and everything else and then come here. With make present:
#   make run    installs what is missing, builds, and starts Tavimark
#   make test   installs what is missing, builds, and runs the whole test suite
# and, for the figures of speed and memory:
#   make bench  builds and runs every benchmark

BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: run test bench build setup

setup:
	@scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/tavimark

test: build
	cd $(BUILD) && ctest --output-on-failure -j 1

bench: build
	scripts/bench.sh $(BUILD)
