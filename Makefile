# Quick start: `make run` builds and starts Orbida; `make test` runs the whole suite headless.
# Both first install the Debian packages that are missing (through sudo when not root).

PRESET ?= default
BUILD_DIR := out/build/$(PRESET)

.PHONY: all deps test-deps configure build run test asan bench fuzz package clean

all: build

deps:
	@tools/install-deps.sh build

test-deps:
	@tools/install-deps.sh test

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

run: build
	@$(BUILD_DIR)/app/orbida

test: test-deps configure
	@cmake --build --preset $(PRESET)
	@ctest --preset $(PRESET)

# The tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: test-deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

bench: build
	@$(BUILD_DIR)/bench/tick_bench

clean:
	@rm -rf out
