#!/usr/bin/env bash
# `make screenshots`: pictures of one scripted session per dialog on a 1366x768 screen, for the
# README — scripts/screenshots.sh [BUILD_DIR] [OUT_DIR] (default build, docs/screenshots).
#
# Each example runs drawn (`quillon run --gui --screenshots`) on Qt's offscreen platform, on a
# fresh copy of the demo account and with a registry file of its own, so no arrangement a person
# kept on this machine shows. The dialog's last picture of the session — as the person leaves it,
# his choices made — is kept as OUT_DIR/<form>.png.
set -euo pipefail
BUILD=${1:-build}
OUT=${2:-docs/screenshots}
Q="$BUILD/apps/quillon/quillon"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

cat > "$WORK/screen.json" <<'JSON'
{"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1366, "height": 768,
              "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]}
JSON
export QT_QPA_PLATFORM="offscreen:configfile=$WORK/screen.json"
export QUILLON_NOW=2026-12-05
"$Q" init-db --db "$WORK/demo.db" --scale 1 >/dev/null

# form            example session
SESSIONS="
frmProduceOrder   produce_order_material_issue
frmWWProduceOrder outsourced_order_receipt
frmStockOrder     stock_order_partial_receipt
frmCons           cons_three_notes
frmRefSelect      ref_select_batch_by_hand
frmReturnInvSet   return_inv_set_by_class
frmBatchPosition  position_set_bin_moves
"
mkdir -p "$OUT"
while read -r form example; do
  [ -n "$form" ] || continue
  cp "$WORK/demo.db" "$WORK/$example.db"
  QUILLON_REGISTRY="$WORK/$example.registry" \
    "$Q" run --gui --screenshots "$WORK/$example" --db "$WORK/$example.db" \
    "examples/$example.qhs" >"$WORK/$example.log" 2>&1 || {
    cat "$WORK/$example.log" >&2
    echo "screenshots: examples/$example.qhs failed" >&2
    exit 1
  }
  last=$(ls "$WORK/$example"/*-"$form".png 2>/dev/null | tail -n 1)
  if [ -z "$last" ]; then
    echo "screenshots: examples/$example.qhs showed no $form" >&2
    exit 1
  fi
  cp "$last" "$OUT/$form.png"
  echo "$OUT/$form.png  (examples/$example.qhs, $(basename "$last"))"
done <<<"$SESSIONS"
