# Quick start: `make run` builds and starts Orbida; `make test` runs the whole suite headless.
# Both first install the Debian packages that are missing (through sudo when not root): `make run`
# only those of the program, `make test` those of the tests and benchmarks too.

PRESET ?= default
BUILD_DIR := out/build/$(PRESET)

.PHONY: format-check all deps test-deps configure test-configure build run test asan bench fuzz
.PHONY: package package-smoke clean translations
.PHONY: measure-cpu measure-startup soak

all: build

deps:
	@tools/install-deps.sh build

test-deps:
	@tools/install-deps.sh test

# A first configure for the program alone leaves the tests and benchmarks out, since their
# packages may be missing; a build folder that already has them keeps them.
configure: deps
	@cmake --preset $(PRESET) \
		$(if $(wildcard $(BUILD_DIR)/CMakeCache.txt),,-DORBIDA_BUILD_TESTS=OFF -DORBIDA_BUILD_BENCH=OFF) \
		>/dev/null

test-configure: test-deps
	@cmake --preset $(PRESET) -DORBIDA_BUILD_TESTS=ON -DORBIDA_BUILD_BENCH=ON >/dev/null

# The program alone.
build: configure
	@cmake --build --preset $(PRESET) --target orbida

run: build
	@$(BUILD_DIR)/app/orbida

test: test-configure
	@cmake --build --preset $(PRESET)
	@ctest --preset $(PRESET)

# The tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: test-deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

# The libFuzzer targets, built with clang, each run for FUZZ_SECONDS (a few by default, as CI
# runs them; `make fuzz FUZZ_SECONDS=600` for a longer hunt). Inputs that fail are left in out/fuzz/.
FUZZ_SECONDS ?= 5
fuzz:
	@tools/install-deps.sh ci
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@mkdir -p out/fuzz
	@for target in city_file_fuzz tick_fuzz dxcc_fuzz rotator_reply_fuzz home_entry_fuzz \
		wsjtx_message_fuzz cluster_line_fuzz; do \
		out/build/fuzz/tests/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=out/fuzz/$$target- \
			>out/fuzz/$$target.log 2>&1 || { tail -n 40 out/fuzz/$$target.log; exit 1; }; \
		echo "$$target: $$(tail -n 1 out/fuzz/$$target.log)"; \
	done

# The benchmarks run are the ones built just before, so that none runs stale.
BENCHMARKS := tick_bench city_file_bench night_mask_bench dxcc_bench
bench: test-configure
	@cmake --build --preset $(PRESET) --target $(BENCHMARKS)
	@set -e; for b in $(BENCHMARKS); do $(BUILD_DIR)/bench/$$b; done

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

# Brings translations/orbida_en.ts (and the French plurals, orbida_fr.ts) up to date with the
# texts of the sources: new texts come in unfinished, to be translated there; texts gone from the
# sources go.
translations: configure
	@cmake --build --preset $(PRESET) --target update_translations

# Builds the package and checks it with lintian (no error, no warning), installs it, validates its
# menu entry and metadata, and checks that the installed program opens its window under Xvfb (as
# root or through sudo).
package-smoke:
	@tools/package-smoke.sh

clean:
	@rm -rf out

# Fails when a C++ file is not clang-format clean.
format-check:
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# Plants each fault of tools/mutations.txt in a copy of the tree and runs the suite against it.
mutate: ; @tools/mutate.sh $(MUTATE_ARGS)
