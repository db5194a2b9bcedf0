# Two commands do everything on a fresh Debian 12 machine:
#   make run   builds Veskar and starts it under Wine with demo browser windows
#   make test  builds both targets and runs the whole test suite
BUILD ?= build
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all setup wine32 build build64 build32 test bench run screenshots clean

all: build

setup:
	@tools/setup.sh

# The 32-bit Wine the i686 tests run under: fetched once into a cache outside
# the build tree (see tools/setup-wine32.sh); a quick check afterwards.
wine32:
	@tools/setup.sh --wine32

$(BUILD)/x86_64/build.ninja: | setup
	cmake -S . -B $(BUILD)/x86_64 $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake

$(BUILD)/i686/build.ninja: | setup
	cmake -S . -B $(BUILD)/i686 $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake

build64: $(BUILD)/x86_64/build.ninja
	cmake --build $(BUILD)/x86_64 -j $(JOBS)

# The shipped program is the 32-bit one; the 64-bit twin is built from the
# same sources. Both builds carry the whole test suite.
build32: $(BUILD)/i686/build.ninja
	cmake --build $(BUILD)/i686 -j $(JOBS)
	tools/check-pe.sh $(BUILD)/i686/veskar.exe

build: build64 build32

# Both suites run, each under the Wine of its architecture; either failing
# fails the target.
test: build
	tools/with-wine.sh tools/run-tests.sh $(BUILD)/x86_64; x86_64=$$?; \
	tools/setup.sh --wine32 && VESKAR_ARCH=i686 tools/with-wine.sh tools/run-tests.sh $(BUILD)/i686; i686=$$?; \
	echo "make test: x86_64 suite $$( [ $$x86_64 -eq 0 ] && echo passed || echo FAILED ), i686 suite $$( [ $$i686 -eq 0 ] && echo passed || echo FAILED )"; \
	[ $$x86_64 -eq 0 ] && [ $$i686 -eq 0 ]

# Measures the program under Wine against its performance targets (minutes;
# not part of make test).
bench: build64
	tools/with-wine.sh tools/run-bench.sh $(BUILD)/x86_64

# The demo script opens its own Wine session once it has seen whether there
# is a display to show the demo on (without one it takes a screenshot).
run: build64
	tools/demo/run-demo.sh $(BUILD)/x86_64

# Checked pictures of the running program; the main dialog and the About box
# also go to docs/images for the README.
screenshots: build64
	tools/run-gallery.sh $(BUILD)/x86_64

clean:
	rm -rf $(BUILD)
