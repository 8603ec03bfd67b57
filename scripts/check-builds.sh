#!/usr/bin/env bash
# The builds a user may make that the test build does not cover, with warnings as errors:
#   1. Release with GCC: the library, the command and the benchmarks (built, not run);
#   2. Release with Clang: the library and the command.
# Usage: check-builds.sh [RELEASE_DIR] [CLANG_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
RELEASE=${1:-build-release}
CLANG=${2:-build-clang}
JOBS=${JOBS:-$(nproc)}
GEN=()
if command -v ninja >/dev/null 2>&1; then GEN=(-G Ninja); fi

step() {
  local name=$1 dir=$2
  shift 2
  local start=$SECONDS
  echo "== check-builds: $name ($dir)"
  cmake -S . -B "$dir" "${GEN[@]}" -DCMAKE_BUILD_TYPE=Release -DQUILLON_WERROR=ON \
    -DQUILLON_TESTS=OFF "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
  echo "== check-builds: $name built in $((SECONDS - start)) s"
}

step "Release, GCC, with benchmarks" "$RELEASE" \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ -DQUILLON_BENCH=ON
step "Release, Clang" "$CLANG" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUILLON_BENCH=OFF
