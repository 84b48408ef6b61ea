# Quick start: `make run` builds and starts Orbida; `make test` runs the whole suite headless.
# Both first install the Debian packages that are missing (through sudo when not root).

PRESET ?= default
BUILD_DIR := out/build/$(PRESET)

.PHONY: format-check all deps test-deps configure build run test asan bench fuzz package package-smoke clean
.PHONY: measure-cpu measure-startup soak

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

# The libFuzzer targets, built with clang, each run for a few seconds; the source of each target
# gives the command for a longer run. Inputs that fail are left in out/fuzz/.
fuzz:
	@tools/install-deps.sh ci
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@mkdir -p out/fuzz
	@for target in city_file_fuzz tick_fuzz; do \
		out/build/fuzz/tests/fuzz/$$target -max_total_time=5 -artifact_prefix=out/fuzz/$$target- \
			>out/fuzz/$$target.log 2>&1 || { tail -n 40 out/fuzz/$$target.log; exit 1; }; \
		echo "$$target: $$(tail -n 1 out/fuzz/$$target.log)"; \
	done

bench: build
	@$(BUILD_DIR)/bench/tick_bench
	@$(BUILD_DIR)/bench/city_file_bench

# Measurements under Xvfb, each printing its figures against its budget and failing when one is
# missed: CPU use with the pointer still and sweeping the map; start-up time and memory.
measure-cpu: test-deps build
	@tools/measure-cpu.sh $(BUILD_DIR)/app/orbida

measure-startup: test-deps build
	@tools/measure-startup.sh $(BUILD_DIR)/app/orbida

# The program used by a restless pointer and keyboard for SOAK_SECONDS; fails on a crash, a hang
# or memory growth.
SOAK_SECONDS ?= 600
soak: test-deps build
	@tools/soak.sh --duration $(SOAK_SECONDS) $(BUILD_DIR)/app/orbida

# The Debian package of the build: $(BUILD_DIR)/orbida_<version>_<architecture>.deb.
# Install it with `sudo apt install ./$(BUILD_DIR)/orbida_*.deb`.
package: build
	@tools/install-deps.sh package
	@rm -f $(BUILD_DIR)/orbida_*.deb
	@cd $(BUILD_DIR) && cpack -G DEB

# Builds and installs the package, validates its menu entry and metadata, and checks that the
# installed program opens its window under Xvfb (as root or through sudo).
package-smoke:
	@tools/package-smoke.sh

clean:
	@rm -rf out

# Fails when a C++ file is not clang-format clean.
format-check:
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# Plants each fault of tools/mutations.txt in a copy of the tree and runs the suite against it.
mutate: ; @tools/mutate.sh $(MUTATE_ARGS)
