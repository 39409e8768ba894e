# SPDX-License-Identifier: GPL-3.0-or-later
# A new machine without make starts with ./run or ./test, which install make
# and everything else and then come here. With make present:
#   make run    installs what is missing, builds, and starts Tavimark
#   make test   installs what is missing, builds, and runs the whole test suite
# and, for the figures of speed and memory:
#   make bench  builds and runs every benchmark
# and, to put it on this machine or another:
#   make install   installs under PREFIX (/usr/local unless told; DESTDIR is honoured)
#   make package   builds a Debian package, build/tavimark_VERSION_ARCH.deb

BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: run test bench build setup install package

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

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	cd $(BUILD) && cpack -G DEB
