# Titrion: build and test from Linux. `make test` installs what it needs (Debian 12, as root).
SHELL := /bin/bash
BUILD  ?= build
NATIVE := $(BUILD)/native
WIN64  := $(BUILD)/win64
FUZZ   := $(BUILD)/fuzz
BENCH  := $(BUILD)/bench
JOBS   ?= $(shell nproc)
FUZZ_SECONDS ?= 60

DEB_PACKAGES := cmake make g++ libgtest-dev googletest libbenchmark-dev \
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  wine wine64 xvfb xauth clang libclang-rt-14-dev zip unzip \
  pandoc weasyprint fonts-dejavu-core poppler-utils imagemagick

.PHONY: all deps hooks build build-i686 build-native build-windows test test-native test-windows fuzz bench bench-core bench-gui run clean docs dist pictures

all: build

deps:
	@missing=$$(for p in $(DEB_PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  export DEBIAN_FRONTEND=noninteractive; \
	  apt-get update -q && apt-get install -y -q --no-install-recommends $$missing </dev/null; \
	fi

$(NATIVE)/CMakeCache.txt:
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug -DTITRION_SANITIZE=ON

$(WIN64)/CMakeCache.txt:
	cmake -S . -B $(WIN64) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

build-native: $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

build-windows: $(WIN64)/CMakeCache.txt
	cmake --build $(WIN64) -j $(JOBS)

build: build-native build-windows hooks

# Commit messages keep a short subject: git checks them with tools/githooks in a clone.
hooks:
	@if git rev-parse --is-inside-work-tree >/dev/null 2>&1 && [ -z "$$(git config core.hooksPath)" ]; then \
	  git config core.hooksPath tools/githooks; fi

# A check that the code stays buildable for 32-bit Windows (not run by the tests).
build-i686:
	@dpkg-query -W g++-mingw-w64-i686-posix >/dev/null 2>&1 || apt-get install -y -q --no-install-recommends g++-mingw-w64-i686-posix </dev/null
	cmake -S . -B $(BUILD)/win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
	cmake --build $(BUILD)/win32 -j $(JOBS)

test-native: build-native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

# The release checks test the zip, so the zip is built first.
test-windows: dist
	xvfb-run -a -s "-screen 0 1280x1024x24" tools/wine-ctest.sh $(WIN64)

test: deps
	$(MAKE) build
	$(MAKE) dist
	$(MAKE) test-native
	$(MAKE) test-windows

fuzz: deps
	cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTITRION_LIBFUZZER=ON
	cmake --build $(FUZZ) -j $(JOBS) --target fuzz_read fuzz_number fuzz_import fuzz_eval fuzz_export fuzz_cp1250
	tools/fuzz.sh $(FUZZ)/tests/fuzz $(FUZZ_SECONDS)

bench: bench-core bench-gui

# The core and the report, and the numpy peer on the same files (Debian's numpy, hence the
# system's python3).
bench-core: deps
	@dpkg-query -W -f='$${Status}\n' python3-numpy 2>/dev/null | grep -q 'ok installed' || \
	  { export DEBIAN_FRONTEND=noninteractive; apt-get update -q && \
	    apt-get install -y -q --no-install-recommends python3-numpy </dev/null; }
	cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DTITRION_BENCH=ON
	cmake --build $(BENCH) -j $(JOBS) --target core_bench
	mkdir -p $(BENCH)/files
	TITRION_BENCH_FILES=$(BENCH)/files $(BENCH)/tests/bench/core_bench --benchmark_repetitions=5 \
	  --benchmark_display_aggregates_only=true --benchmark_out=$(BENCH)/core_bench.json --benchmark_out_format=json
	/usr/bin/python3 tests/bench/numpy_peer.py $(BENCH)/files $(BENCH)/core_bench.json

# The real program under Wine on a virtual display, driven from another process.
bench-gui: $(WIN64)/CMakeCache.txt
	cmake --build $(WIN64) -j $(JOBS) --target gui_bench
	xvfb-run -a -s "-screen 0 1280x1024x24" tools/wine-bench.sh $(WIN64)/tests/bench/gui_bench.exe

# The program under Wine: on the user's display, or without one on a virtual display, where
# a sample is opened and build/screenshot.png taken of the main window.
run: $(WIN64)/CMakeCache.txt
	cmake --build $(WIN64) -j $(JOBS) --target titrion3 titrion_showcase
	tools/run.sh $(WIN64)

# The user manual beside the program, titrion2.pdf and titrion2.rtf, from docs/help.
docs: deps
	tools/make-help.sh docs/help $(BUILD)/docs

# The release for Windows users: $(BUILD)/dist/titrion3.zip.
dist: build-windows docs
	tools/make-dist.sh $(WIN64) $(BUILD)/docs $(BUILD)/dist

# The pictures of the read-me and the manual: the graph's three views and the report (docs/*.png).
pictures: $(WIN64)/CMakeCache.txt
	cmake --build $(WIN64) -j $(JOBS) --target titrion3 titrion_showcase
	tools/readme-pictures.sh $(WIN64)

clean:
	rm -rf $(BUILD)
