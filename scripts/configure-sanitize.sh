#!/usr/bin/env bash
# Configures the one Clang build with AddressSanitizer and UndefinedBehaviorSanitizer that serves
# both the sanitizer test suite (scripts/sanitize.sh) and the fuzz targets (scripts/fuzz.sh), with
# warnings as errors: the library is built once for both, and it is CI's Clang build as well.
# Usage: configure-sanitize.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
DIR=${1:-build-sanitize}
GEN=()
if command -v ninja >/dev/null 2>&1; then GEN=(-G Ninja); fi
LAUNCHER=()
if command -v ccache >/dev/null 2>&1; then
  LAUNCHER=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# -O1: the sanitizers' checks stay precise and the fuzzers run at a useful speed; line tables
# are all the reports need to name file and line, and they keep the build and its links short.
cmake -S . -B "$DIR" "${GEN[@]}" "${LAUNCHER[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
  -DQUILLON_SANITIZE=ON -DQUILLON_FUZZ=ON -DQUILLON_WERROR=ON -DQUILLON_BENCH=OFF \
  -DQUILLON_SERVER_TESTS_ONLY=quillon_class_concurrent_desks_test \
  >/dev/null
