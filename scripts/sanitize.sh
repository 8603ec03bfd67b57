#!/usr/bin/env bash
# The whole test suite built with Clang, AddressSanitizer and UndefinedBehaviorSanitizer (leaks
# included): any report fails the run.  Usage: sanitize.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
DIR=${1:-build-sanitize}
JOBS=${JOBS:-$(nproc)}
bash scripts/configure-sanitize.sh "$DIR"
cmake --build "$DIR" -j "$JOBS"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt \
  ctest --test-dir "$DIR" --output-on-failure -j "$JOBS"
