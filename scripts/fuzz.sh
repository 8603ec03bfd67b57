#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) in a Clang build with the sanitizers and runs each one.
#   fuzz.sh [BUILD_DIR] [SECONDS]    each target runs SECONDS (default 120), JOBS targets at a
#                                    time (default: the cores), or, with FUZZ_RUNS
#                                    set, that many executions; FUZZ_TARGETS picks some of them.
# Seed corpora come from the repository: the schema's statements, the dialect page's examples,
# the example host scripts, the connection-string page and fuzz/seeds/*.txt (one input a line, a
# tab where a target reads two texts). What the fuzzers find stays in BUILD_DIR/fuzz-corpus; a
# crash or a failed property is saved in BUILD_DIR/fuzz-artifacts and ends the script with 1.
set -euo pipefail
cd "$(dirname "$0")/.."
DIR=${1:-build-sanitize}
SECONDS_EACH=${2:-120}
JOBS=${JOBS:-$(nproc)}
TARGETS=${FUZZ_TARGETS:-fuzz_translator fuzz_criteria fuzz_vb_runtime fuzz_script fuzz_connection_string fuzz_condition}

bash scripts/configure-sanitize.sh "$DIR"
# shellcheck disable=SC2086
cmake --build "$DIR" -j "$JOBS" --target $TARGETS

CORPUS=$DIR/fuzz-corpus
ARTIFACTS=$DIR/fuzz-artifacts
mkdir -p "$ARTIFACTS"

# One seed file per line of a text file; a tab becomes the NUL that separates two texts.
seed_lines() {
  local into=$1 file=$2 n=0
  while IFS= read -r line || [ -n "$line" ]; do
    n=$((n + 1))
    printf '%s' "$line" | tr '\t' '\0' >"$into/$(basename "$file" .txt)-$n"
  done <"$file"
}

# Each statement of a schema file (they are separated by blank lines) and each file whole.
seed_statements() {
  local into=$1 file=$2
  cp "$file" "$into/$(basename "$file")"
  awk -v out="$into/$(basename "$file" .sql)-" 'BEGIN { n = 1 }
    /^[[:space:]]*$/ { if (text != "") { printf "%s", text > (out n); close(out n); n++; text = "" } next }
    { text = text $0 "\n" }
    END { if (text != "") printf "%s", text > (out n) }' "$file"
}

# The `code` spans of a page, one seed each.
seed_code_spans() {
  local into=$1 file=$2 prefix=$3
  grep -o '`[^`]*`' "$file" | sed 's/^`//; s/`$//' | awk -v out="$into/$prefix-" \
    '{ printf "%s", $0 > (out NR); close(out NR) }'
}

seeds() {
  local target=$1 into=$CORPUS/$1
  mkdir -p "$into"
  case $target in
    fuzz_translator)
      for f in db/schema/*.sql; do seed_statements "$into" "$f"; done
      seed_code_spans "$into" docs/sql-dialect.md dialect
      seed_lines "$into" fuzz/seeds/translator.txt ;;
    fuzz_criteria) seed_lines "$into" fuzz/seeds/criteria.txt ;;
    fuzz_vb_runtime) seed_lines "$into" fuzz/seeds/vb_runtime.txt ;;
    fuzz_script) for f in examples/*.qhs; do cp "$f" "$into/"; done ;;
    fuzz_connection_string)
      seed_code_spans "$into" docs/connection-strings.md page
      seed_lines "$into" fuzz/seeds/connection_string.txt ;;
    fuzz_condition) seed_lines "$into" fuzz/seeds/condition.txt ;;
  esac
}

# One target's run; its outcome goes to its log and a status file.
run_target() {
  local target=$1 log=$DIR/$1.log
  local limit=(-max_total_time="$SECONDS_EACH")
  if [ -n "${FUZZ_RUNS:-}" ]; then limit=(-runs="$FUZZ_RUNS"); fi
  if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$DIR/fuzz/$target" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$ARTIFACTS/$target-" "$CORPUS/$target" >"$log" 2>&1; then
    echo ok >"$DIR/$target.status"
  else
    echo failed >"$DIR/$target.status"
  fi
}

# The targets run JOBS at a time: each is one process on one core.
running=0
for target in $TARGETS; do
  seeds "$target"
  rm -f "$DIR/$target.status"
  echo "== fuzz: $target"
  run_target "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$JOBS" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait || true

# The same random T-SQL on an account file and on a private server, when the server is installed:
# DIFF_SECONDS (default three times SECONDS) or DIFF_CASES cases (default 40 000), whichever ends
# first, from seed DIFF_SEED (printed, with each disagreement's replay command). The default seed
# is fixed, so that a run's verdict does not depend on chance while open differences remain
# (docs/sql-dialect.md); DIFF_SEED=random explores new cases.
diff_status=ok
if [ "${DIFF_CASES:-40000}" != 0 ] && [ -n "$(bash scripts/test-server.sh bindir)" ]; then
  cmake --build "$DIR" -j "$JOBS" --target quillon_engine_differential_tests
  server=$(bash scripts/test-server.sh dir "$PWD/$DIR")
  bash scripts/test-server.sh bare "$server"
  diff_seed=${DIFF_SEED:-7}
  if [ "$diff_seed" = random ]; then diff_seed=$(((RANDOM << 15) | RANDOM)); fi
  diff_seconds=${DIFF_SECONDS:-$((SECONDS_EACH * 3))}
  echo "== differential: seed $diff_seed, ${diff_seconds} s or ${DIFF_CASES:-40000} cases"
  QUILLON_TEST_SERVER="postgresql:///postgres?host=$server&user=quillon" \
    QUILLON_DIFF_COUNT=${DIFF_CASES:-40000} QUILLON_DIFF_SEED=$diff_seed \
    QUILLON_DIFF_SECONDS=$diff_seconds \
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$DIR/tests/sql/quillon_engine_differential_tests" >"$DIR/differential.log" 2>&1 ||
    diff_status=failed
  bash scripts/test-server.sh stop "$server"
  if [ "$diff_status" = ok ]; then
    echo "== differential: $(grep -E 'cases in' "$DIR/differential.log" | tail -1)"
  else
    echo "== differential FAILED (seed $diff_seed; see $DIR/differential.log):"
    grep -E 'cases in|replay it alone|tables:|statement:|file: |server: |ERROR|SUMMARY' \
      "$DIR/differential.log" | head -40 || tail -30 "$DIR/differential.log"
  fi
fi

status=0
[ "$diff_status" = ok ] || status=1
for target in $TARGETS; do
  log=$DIR/$target.log
  if [ "$(cat "$DIR/$target.status" 2>/dev/null)" = ok ]; then
    runs=$(grep -o 'Done [0-9]* runs' "$log" | tail -1 | grep -o '[0-9]*' || echo "?")
    echo "== fuzz: $target: $runs executions, no crash"
  else
    status=1
    echo "== fuzz: $target FAILED (see $log):"
    grep -E 'ERROR|property failed|SUMMARY|Test unit written' "$log" | head -20 || tail -30 "$log"
  fi
done
exit $status
