#!/usr/bin/env bash
# A build a user may make that CI does not: Release with Clang (the library, the command and the
# benchmarks, built, not run), with warnings as errors. CI builds Release with GCC (`make test`)
# and the sanitizer build with Clang (scripts/sanitize.sh).
# Usage: check-builds.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
DIR=${1:-build-clang}
JOBS=${JOBS:-$(nproc)}
GEN=()
if command -v ninja >/dev/null 2>&1; then GEN=(-G Ninja); fi

start=$SECONDS
echo "== check-builds: Release, Clang, with benchmarks ($DIR)"
cmake -S . -B "$DIR" "${GEN[@]}" -DCMAKE_BUILD_TYPE=Release -DQUILLON_WERROR=ON \
  -DQUILLON_TESTS=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DQUILLON_BENCH=ON >/dev/null
cmake --build "$DIR" -j "$JOBS"
echo "== check-builds: built in $((SECONDS - start)) s"
