# Top-level entry points. `make test` and `make demo` do all set-up on a fresh machine.
# Developer targets build with warnings as errors (QUILLON_WERROR); `make bench` and plain
# `cmake` builds, as a user or packager makes them, keep warnings as warnings.
BUILD        ?= build
BUILD_ASAN   ?= build-asan
BUILD_BENCH  ?= build-bench
BUILD_REL    ?= build-release
BUILD_CLANG  ?= build-clang
JOBS         ?= $(shell nproc)
CMAKE_GEN    := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
DEV          := -DQUILLON_WERROR=ON

.PHONY: all deps configure build test test-sanitize check-builds bench demo clean format

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(DEV)

configure: $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(DEV)
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(BUILD_ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON $(DEV)
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir $(BUILD_ASAN) --output-on-failure -j $(JOBS)

# The builds a user makes that `make test` does not: Release with GCC (library, command and
# benchmarks, built but not run) and the library with Clang, both with warnings as errors.
check-builds: deps
	bash scripts/check-builds.sh $(BUILD_REL) $(BUILD_CLANG)

bench: deps
	cmake -S . -B $(BUILD_BENCH) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQUILLON_BENCH=ON -DQUILLON_TESTS=OFF -DQUILLON_WERROR=OFF
	cmake --build $(BUILD_BENCH) -j $(JOBS)
	bash scripts/run-benchmarks.sh $(BUILD_BENCH)

demo: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(DEV)
	cmake --build $(BUILD) -j $(JOBS) --target quillon
	bash scripts/demo.sh $(BUILD)

format:
	find src apps tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_BENCH) $(BUILD_REL) $(BUILD_CLANG)
