#!/usr/bin/env bash
# The library's layers stay clean: scripts/check-layers.sh SOURCE_DIR LAYER...
#
# LAYER... are the layers of src/ in dependency order (CMakeLists.txt's QUILLON_LAYERS): a file of
# one layer may include the headers of its own layer and of the layers before it, never of one
# after it; src/capi and the command come after every layer. Besides, the shared layers below the
# dialogs (src/forms and src/module) name no dialog ("frmX"), no dialog's control (a command button
# "cmdX", a head or line grid "lstXHead" / "lstXBody") and no public class (a "Quillon.X" ProgID):
# a dialog says what its controls are, and a public class is reached through what a dialog hands
# in. Prints each offence and exits 1 when there is one.
set -euo pipefail
cd "$1"
SRC=src
shift
LAYERS=("$@")

status=0
# Every include of a layer's header (file:line:#include "layer/), judged in one pass.
if ! grep -rnoE --include='*.h' --include='*.cpp' '^#include "[a-z]+/' \
       $(for layer in "${LAYERS[@]}"; do [ -d "$SRC/$layer" ] && echo "$SRC/$layer"; done) |
     awk -F: -v layers="${LAYERS[*]}" '
       BEGIN { n = split(layers, order, " "); for (i = 1; i <= n; i++) rank[order[i]] = i }
       {
         split($1, path, "/"); own = path[2]
         target = $3; sub(/^#include "/, "", target); sub(/\/$/, "", target)
         if ((target in rank) && rank[target] > rank[own]) {
           print $1 ":" $2 ": the " own " layer includes the " target " layer above it"
           bad = 1
         }
       }
       END { exit bad }'; then
  status=1
fi

for layer in forms module; do
  [ -d "$SRC/$layer" ] || continue
  if grep -rnE --include='*.h' --include='*.cpp' \
       '\bfrm[A-Z][A-Za-z]*|\bcmd[A-Z][A-Za-z]*|\blst[A-Za-z]*(Head|Body)\b|"Quillon\.[A-Z]' \
       "$SRC/$layer"; then
    echo "$SRC/$layer names a dialog, a dialog's control or a public class (above)"
    status=1
  fi
done
exit $status
