#!/usr/bin/env bash
# Checks the house rules a compiler does not: every file under src/<layer>/ includes headers of
# its own layer and of the layers before it only (the order is the build's, from CMakeLists.txt),
# nothing outside src/sql includes an engine's own header (src/sql/<engine>/: the layers above
# reach an engine through src/sql's interface only), and no two headers of the tree share a file
# name, so that a name found in an include or a message leads to one file.
#
#   scripts/check-layers.sh SOURCE_DIR LAYER...
#
# Prints every breach and exits 1 when there is one.
set -euo pipefail

root=$1
shift
declare -A rank
i=0
for layer in "$@"; do
  rank[$layer]=$i
  i=$((i + 1))
done

status=0
for layer in "$@"; do
  [[ -d $root/src/$layer ]] || continue
  # "#include "<folder>/..." names a layer when <folder> is one; other includes (the standard
  # library's, a generated header's) are no layer's.
  breaches=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/' "$root/src/$layer" \
               --include='*.h' --include='*.cpp' |
             awk -v layer="$layer" -v order="$*" -v root="$root/" '
               BEGIN { n = split(order, names, " "); for (i = 1; i <= n; ++i) rank[names[i]] = i }
               {
                 folder = $0; sub(/^[^"]*"/, "", folder); sub(/\/.*/, "", folder)
                 if ((folder in rank) && rank[folder] > rank[layer]) {
                   sub(root, ""); print $0 "  (the " layer " layer includes the later layer " folder ")"
                 }
               }')
  if [[ -n $breaches ]]; then
    echo "$breaches"
    status=1
  fi
done

while IFS=: read -r file line text; do
  echo "${file#"$root"/}:$line: an engine's own header included outside src/sql: $text"
  status=1
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"sql/(sqlite|pg)/' "$root/src" \
           "$root/apps" --include='*.h' --include='*.cpp' 2>/dev/null | grep -v "^$root/src/sql/" ||
         true)

dirs=()
for d in src apps tests bench fuzz db; do [[ -d $root/$d ]] && dirs+=("$d"); done
duplicates=$(cd "$root" && find "${dirs[@]}" -name '*.h' -printf '%f\n' | sort | uniq -d)
for name in $duplicates; do
  echo "header name used more than once: $(cd "$root" && find "${dirs[@]}" -name "$name" | sort |
        tr '\n' ' ')"
  status=1
done
exit $status
