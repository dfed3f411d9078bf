# Railscope: the two commands a fresh Debian machine needs are `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
WIN_BUILD  ?= build-windows
JOBS       ?= 2
FUZZ_SECONDS ?= 20
CMAKE_GEN  := -G Ninja

.PHONY: all deps configure build run test test-main test-windows-core asan-build test-asan fuzz fuzz-run bench screenshots package install clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Only what scripts/run.sh starts: the desktop program (or, without a display, the command-line
# tool) with the product table and the help pages beside it.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target railscope railscope-cli railscope_data railscope_help
	@bash scripts/run.sh $(BUILD)

test: deps
	$(MAKE) test-main
	$(MAKE) test-windows-core
	$(MAKE) test-asan
	$(MAKE) fuzz-run

test-main: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 600

# The Qt-free core and its tests built for Windows (MinGW-w64, static) and run under Wine; what
# that build makes of the example boards must equal the Linux build's byte for byte.
test-windows-core: configure
	cmake -S . -B $(WIN_BUILD) $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAILSCOPE_WITH_QT=OFF
	cmake --build $(WIN_BUILD) -j $(JOBS)
	cmake --build $(BUILD) -j $(JOBS) --target railscope_example_outputs
	bash scripts/test-windows-core.sh $(WIN_BUILD) $(BUILD) $(JOBS)

# Second build with AddressSanitizer and UndefinedBehaviorSanitizer (clang), which also builds
# the libFuzzer targets.
$(ASAN_BUILD)/build.ninja:
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DRAILSCOPE_SANITIZE=ON -DRAILSCOPE_FUZZ=ON

asan-build: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test-asan: asan-build
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) --timeout 900

fuzz: asan-build

fuzz-run: asan-build
	bash scripts/run-fuzzers.sh $(ASAN_BUILD)/bin $(FUZZ_SECONDS) $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DRAILSCOPE_BENCH=ON -DRAILSCOPE_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	bash scripts/run-benchmarks.sh $(BENCH_BUILD)

screenshots: build
	bash scripts/screenshots.sh $(BUILD)

# A Debian package in build/packages/ (install it with: apt-get install ./build/packages/railscope_*.deb).
package: build
	cmake --build $(BUILD) --target package

# Installs into PREFIX (default /usr/local).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(WIN_BUILD)
