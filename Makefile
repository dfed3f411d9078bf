# Railscope: the two commands a fresh Debian machine needs are `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
RELEASE_BUILD ?= build-release
WIN_BUILD  ?= build-windows
JOBS       ?= 2
FUZZ_SECONDS ?= 20
CMAKE_GEN  := -G Ninja
# Warnings are errors in the builds made here and in CI; a plain CMake build and the Debian
# packages' build (make package) leave them warnings, as another compiler may warn where ours
# does not.
WERROR     ?= ON
PACKAGE_WERROR ?= OFF
# Compiler output cached by ccache is found again from another clone of the repository, and
# files compiled with precompiled headers are cached too.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_SLOPPINESS ?= pch_defines,time_macros,include_file_mtime,include_file_ctime

.PHONY: all deps configure build run test test-main test-windows-core asan-build test-asan fuzz fuzz-run test-package bench \
	screenshots package install clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAILSCOPE_WERROR=$(WERROR)

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
	$(MAKE) test-package
	$(MAKE) bench

test-main: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 600

# The Qt-free core and its tests built for Windows (MinGW-w64, static) and run under Wine; what
# that build makes of the example boards must equal the Linux build's byte for byte.
test-windows-core: configure
	cmake -S . -B $(WIN_BUILD) $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAILSCOPE_WITH_QT=OFF -DRAILSCOPE_WERROR=$(WERROR)
	cmake --build $(WIN_BUILD) -j $(JOBS)
	cmake --build $(BUILD) -j $(JOBS) --target railscope_example_outputs
	bash scripts/test-windows-core.sh $(WIN_BUILD) $(BUILD) $(JOBS)

# Second build with AddressSanitizer and UndefinedBehaviorSanitizer (clang), which also builds
# the libFuzzer targets. At -O2 the fuzz targets try about 15 % more inputs a second than at -O1.
$(ASAN_BUILD)/build.ninja:
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O2 -g" -DRAILSCOPE_SANITIZE=ON -DRAILSCOPE_FUZZ=ON -DRAILSCOPE_WERROR=$(WERROR)

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

# The Release build as a user makes it: CMake's default generator (Unix Makefiles), no tests,
# for /usr. The Debian packages and the benchmarks are built in it.
RELEASE_CONFIGURE = cmake -S . -B $(RELEASE_BUILD) -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_INSTALL_PREFIX=/usr -DRAILSCOPE_TESTS=OFF -DRAILSCOPE_PACKAGE_DIR=$(CURDIR)/$(BUILD)/packages

# Prints each benchmark's figures beside its targets; fails only when a benchmark does not work.
bench: deps
	$(RELEASE_CONFIGURE) -DRAILSCOPE_BENCH=ON -DRAILSCOPE_WERROR=$(WERROR)
	cmake --build $(RELEASE_BUILD) -j $(JOBS)
	bash scripts/run-benchmarks.sh $(RELEASE_BUILD)

screenshots: build
	bash scripts/screenshots.sh $(BUILD)

# The Debian packages in build/packages/: railscope, libtbuildstamp1, libtbuildstamp-dev (install
# with: apt-get install ./build/packages/railscope_*.deb).
package: deps
	$(RELEASE_CONFIGURE) -DRAILSCOPE_WERROR=$(PACKAGE_WERROR)
	rm -f $(BUILD)/packages/*.deb
	cmake --build $(RELEASE_BUILD) -j $(JOBS) --target package

# CI: the Release build and its packages with warnings as errors, and Debian's checks of them.
test-package:
	$(MAKE) package PACKAGE_WERROR=$(WERROR)
	lintian --fail-on error,warning --tag-display-limit 0 $(BUILD)/packages/*.deb

# Installs into PREFIX (default /usr/local).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(RELEASE_BUILD) $(WIN_BUILD)
