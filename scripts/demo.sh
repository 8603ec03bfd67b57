#!/usr/bin/env bash
# `make demo`: the host window on the embedded demo database (created on first use). Without a
# display `quillon demo` says so and runs the example host scripts headless, printing their
# transcripts.
set -euo pipefail
BUILD=${1:-build}
Q="$BUILD/apps/quillon/quillon"
DB=${QUILLON_DEMO_DB:-$BUILD/demo.db}
[ -f "$DB" ] || "$Q" init-db --db "$DB" --scale 1
exec "$Q" demo --db "$DB" --examples examples
