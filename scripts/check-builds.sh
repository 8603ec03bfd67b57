#!/usr/bin/env bash
# The build a user may make that the test build does not cover, with warnings as errors: Release
# with GCC, the library, the command and the benchmarks (built, not run). The Clang build is the
# sanitizer build (scripts/sanitize.sh), which builds everything with warnings as errors too.
# Usage: check-builds.sh [RELEASE_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
RELEASE=${1:-build-release}
JOBS=${JOBS:-$(nproc)}
GEN=()
if command -v ninja >/dev/null 2>&1; then GEN=(-G Ninja); fi

start=$SECONDS
echo "== check-builds: Release, GCC, with benchmarks ($RELEASE)"
cmake -S . -B "$RELEASE" "${GEN[@]}" -DCMAKE_BUILD_TYPE=Release -DQUILLON_WERROR=ON \
  -DQUILLON_TESTS=OFF -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ -DQUILLON_BENCH=ON >/dev/null
cmake --build "$RELEASE" -j "$JOBS"
echo "== check-builds: built in $((SECONDS - start)) s"
