# Top-level entry points. `make test` and `make demo` do all set-up on a fresh machine.
# Developer targets build with warnings as errors (QUILLON_WERROR); `make bench` and plain
# `cmake` builds, as a user or packager makes them, keep warnings as warnings.
BUILD        ?= build
BUILD_SAN    ?= build-sanitize
BUILD_BENCH  ?= build-bench
BUILD_CLANG  ?= build-clang
JOBS         ?= $(shell nproc)
CMAKE_GEN    := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
DEV          := -DQUILLON_WERROR=ON
# The developer and test build: Release, as users build the library, with the benchmarks built
# (not run) so that no build a user makes can break unseen.
DEV_BUILD    := -DCMAKE_BUILD_TYPE=Release -DQUILLON_BENCH=ON $(DEV)

FUZZ_SECONDS ?= 120
PREFIX       ?= /usr/local

.PHONY: all deps configure build install package test test-sanitize fuzz check-builds bench demo \
        screenshots clean format

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) $(DEV_BUILD)

configure: $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The command, the library with its C interface, headers, CMake package, pkg-config file, schema,
# docs and examples under PREFIX (DESTDIR=... stages them, as packagers do).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of the same (build/quillon_VERSION_ARCH.deb).
package: build
	cd $(BUILD) && cpack -G DEB

test: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) $(DEV_BUILD)
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The test suite under AddressSanitizer and UndefinedBehaviorSanitizer, built with Clang; the same
# build directory holds the fuzz targets.
test-sanitize: deps
	bash scripts/sanitize.sh $(BUILD_SAN)

# Each libFuzzer target for FUZZ_SECONDS (FUZZ_RUNS=N: N executions instead), seeded from the
# schema, the docs and the examples.
fuzz: deps
	bash scripts/fuzz.sh $(BUILD_SAN) $(FUZZ_SECONDS)

# A build CI does not make: Release with Clang (library, command and benchmarks), with warnings
# as errors. CI's Clang build is the sanitizer build.
check-builds: deps
	bash scripts/check-builds.sh $(BUILD_CLANG)

bench: deps
	cmake -S . -B $(BUILD_BENCH) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQUILLON_BENCH=ON -DQUILLON_TESTS=OFF -DQUILLON_WERROR=OFF
	cmake --build $(BUILD_BENCH) -j $(JOBS)
	bash scripts/run-benchmarks.sh $(BUILD_BENCH)

demo: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) $(DEV_BUILD)
	cmake --build $(BUILD) -j $(JOBS) --target quillon
	bash scripts/demo.sh $(BUILD)

# The pictures of the dialogs in docs/screenshots/, one scripted session each at 1366x768.
screenshots: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) $(DEV_BUILD)
	cmake --build $(BUILD) -j $(JOBS) --target quillon
	bash scripts/screenshots.sh $(BUILD)

format:
	find src apps tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_BENCH) $(BUILD_CLANG)
