# The one entry point: every target installs what it needs first.
PRESET ?= default
BUILD_DIR := $(if $(filter asan,$(PRESET)),build-asan,build)
JOBS ?= $(shell nproc)
# Tests that open windows need an X server; start a virtual one when there is none.
# -noreset: an X server resets when its last client leaves, and a test program that
# connects during the reset cannot open the display.
HEADLESS := $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")

# Mesa's software driver leaves allocations behind when the window system unloads it,
# which LeakSanitizer would report against every GL test; keeping the driver loaded
# for the whole run leaves them reachable. (Those allocations are the driver's own.)
MESA_DRIVER := $(firstword $(wildcard /usr/lib/*-linux-gnu/dri/swrast_dri.so))
TEST_ENV := $(if $(filter asan,$(PRESET)),env LD_PRELOAD="$(shell $(CXX) -print-file-name=libasan.so) $(MESA_DRIVER)",)

# GoogleTest runs the tests of each program in a random order, from this seed; it is
# printed, so that an order that fails can be replayed: make test-shuffled SEED=<seed>.
ifeq ($(origin SEED),undefined)
SEED := $(shell shuf -i 1-99999 -n 1)
endif
SHUFFLE := GTEST_SHUFFLE=1 GTEST_RANDOM_SEED=$(SEED)

.PHONY: all deps configure build test test-shuffled test-asan bench fuzz format run install package

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Every test in a process of its own.
test: build
	@echo "GoogleTest shuffle seed $(SEED)"
	@cd $(BUILD_DIR) && $(SHUFFLE) $(HEADLESS) $(TEST_ENV) ctest -LE whole --output-on-failure -j $(JOBS)

# Every test program whole, its tests shuffled, so that no test depends on what
# another one leaves behind or on running after it.
test-shuffled: build
	@echo "GoogleTest shuffle seed $(SEED) (replay: make test-shuffled SEED=$(SEED))"
	@cd $(BUILD_DIR) && $(SHUFFLE) $(HEADLESS) $(TEST_ENV) ctest -L whole --output-on-failure -j $(JOBS)

test-asan:
	@$(MAKE) --no-print-directory test PRESET=asan

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do [ -x "$$b" ] && $(HEADLESS) "$$b"; done

# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS (fuzz/run.sh);
# FUZZ_TARGETS picks some of them. Never part of `make test`.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
fuzz: build
	@bash fuzz/run.sh $(FUZZ_SECONDS) $(FUZZ_TARGETS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Installs the game (programs, library, data, menu entry) below PREFIX.
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A Debian package of the same files, written into the build folder.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

run: build
	@cd $(BUILD_DIR)/bin && ./Brumbly
