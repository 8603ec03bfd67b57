#!/usr/bin/env bash
# Runs every benchmark binary built under BUILD/bench and prints its figures.
set -euo pipefail
BUILD=${1:-build-bench}
shopt -s nullglob
here=$(cd "$(dirname "$0")" && pwd)
# The server engine's benchmarks run on a private PostgreSQL server of their own, when it is
# installed (scripts/test-server.sh); without it they say so and the file's figures stand alone.
server_dir="$(cd "$BUILD" && pwd)/bench-server"
if [ -n "$(bash "$here/test-server.sh" bindir)" ] && [ -x "$BUILD/apps/quillon/quillon" ]; then
  bash "$here/test-server.sh" start "$server_dir" "$BUILD/apps/quillon/quillon" >/dev/null
  trap 'bash "$here/test-server.sh" stop "$server_dir"' EXIT
  export QUILLON_BENCH_SERVER="postgresql:///postgres?host=$server_dir&user=quillon"
else
  echo "run-benchmarks: no PostgreSQL server installed, the server's figures are skipped"
fi
ran=0
for b in "$BUILD"/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_counters_tabular=true
  ran=1
done
if [ "$ran" = 0 ]; then echo "no benchmarks built" >&2; exit 1; fi
