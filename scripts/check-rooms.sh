#!/usr/bin/env bash
# Checks that each job keeps to its room, where a compiler would not notice:
# - the host-script language (src/script) is used only by what runs scripts: no file of a layer
#   before it in the build's order (CMakeLists.txt's QUILLON_LAYER_ORDER) includes a script/
#   header, so the controls in src/forms never learn how a script drives them;
# - nothing outside src/sql includes an engine's own header (src/sql/<engine>/): the layers above
#   reach an engine through src/sql's interface only;
# - no two headers of the tree share a file name, so that a name found in an include or a message
#   leads to one file.
#
#   scripts/check-rooms.sh SOURCE_DIR LAYER...
#
# Prints every breach and exits 1 when there is one.
set -euo pipefail

root=$1
shift
status=0

# The layers before src/script.
before=()
for layer in "$@"; do
  [[ $layer == script ]] && break
  [[ -d $root/src/$layer ]] && before+=("$root/src/$layer")
done
while IFS= read -r hit; do
  echo "${hit#"$root"/}  (a layer before src/script includes the host-script language)"
  status=1
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"script/' "${before[@]}" \
           --include='*.h' --include='*.cpp' || true)

while IFS= read -r hit; do
  echo "${hit#"$root"/}  (an engine's own header included outside src/sql)"
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
