#!/usr/bin/env bash
# Runs every benchmark binary built under BUILD/bench and prints its figures.
set -euo pipefail
BUILD=${1:-build-bench}
shopt -s nullglob
ran=0
for b in "$BUILD"/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_counters_tabular=true
  ran=1
done
if [ "$ran" = 0 ]; then echo "no benchmarks built" >&2; exit 1; fi
