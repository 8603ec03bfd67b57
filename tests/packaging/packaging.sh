#!/usr/bin/env bash
# The library as users get it: installed into a prefix, used by another project through its CMake
# package and through pkg-config, packaged as a .deb that unpacks and runs, and the example hosts
# of the C interface. One step per CTest test:
#
#   packaging.sh install    BUILD WORK     cmake --install into WORK/prefix; the layout
#   packaging.sh headers    WORK           every installed header compiles on its own
#   packaging.sh cmake      WORK SRC       the consumer project through find_package(Quillon)
#   packaging.sh pkgconfig  WORK SRC       consumer.c through pkg-config quillon
#   packaging.sh command    WORK           the installed quillon: --version, init-db, sql
#   packaging.sh python     WORK SRC PYTHON  the installed Python package: where the interpreter
#                                          looks for the prefix, imported by a fresh interpreter
#                                          with no library named, the ten-line program of
#                                          docs/python.md printing what the page shows
#   packaging.sh deb        BUILD WORK [SRC PYTHON]  cpack's .deb: its dependencies, unpacked,
#                                          quillon runs (and the Python package in it)
#   packaging.sh host       WORK NAME QUILLON EXPECT -- COMMAND...
#                                          a host run on a fresh demo account (its path last), its
#                                          output holding every line of the file EXPECT
#
# CC and CXX name the compilers, SANITIZE_FLAGS the sanitizer options of a sanitizer build (a
# program loading that library needs them at its link too).
set -euo pipefail

step=$1
shift
CC=${CC:-cc}
CXX=${CXX:-c++}
read -r -a SAN <<<"${SANITIZE_FLAGS:-}"

fail() {
  echo "packaging $step: $*" >&2
  exit 1
}

# Runs a command and fails naming it when it does; its output goes to the test's log.
run() {
  "$@" || fail "failed ($?): $*"
}

libdir() {
  local lib
  lib=$(find "$1/prefix" -name 'libquillon.so.1' -print -quit)
  [ -n "$lib" ] || fail "no libquillon.so.1 under $1/prefix"
  dirname "$lib"
}

# Every line of the file $1 must be a line of, or part of a line of, the text in $2.
expect_lines() {
  local line
  while IFS= read -r line; do
    [ -z "$line" ] && continue
    grep -qF -- "$line" "$2" || fail "the output lacks \"$line\""
  done <"$1"
}

# The first program of docs/python.md ($1) and the output the page shows for it, into $2/ten.py
# and $2/ten.expected.
ten_line_program() {
  "$PYTHON" - "$1" "$2" <<'EOF'
import re, sys
blocks = re.findall(r"```(python|text)\n(.*?)```", open(sys.argv[1], encoding="utf-8").read(), re.S)
open(sys.argv[2] + "/ten.py", "w", encoding="utf-8").write(blocks[0][1])
open(sys.argv[2] + "/ten.expected", "w", encoding="utf-8").write(blocks[1][1])
EOF
}

# Runs the ten-line program with a fresh interpreter importing the package from the folder $1,
# no library named, on a demo account made by the command $2, in the folder $3; the library it
# loads must lie under $4.
run_ten_lines() {
  local site=$1 quillon=$2 dir=$3 under=$4
  mkdir -p "$dir"
  ten_line_program "$SRC/docs/python.md" "$dir"
  run "$quillon" init-db --db "$dir/demo.db" --scale 1 --force >/dev/null
  (cd "$dir" && env -u QUILLON_LIBRARY PYTHONPATH="$site" PYTHONDONTWRITEBYTECODE=1 "$PYTHON" -c \
    'import quillon; print(quillon.__file__); print(quillon.library_path())') >"$dir/where.out" ||
    fail "the package does not import from $site"
  cat "$dir/where.out"
  [ "$(sed -n 1p "$dir/where.out")" = "$site/quillon/__init__.py" ] || fail "quillon came from elsewhere"
  [[ "$(sed -n 2p "$dir/where.out")" == "$under"/* ]] || fail "the library loaded is not the one under $under"
  (cd "$dir" && env -u QUILLON_LIBRARY PYTHONPATH="$site" PYTHONDONTWRITEBYTECODE=1 "$PYTHON" ten.py) \
    >"$dir/ten.out" 2>&1 || {
    cat "$dir/ten.out"
    fail "the ten-line program failed"
  }
  cat "$dir/ten.out"
  cmp -s "$dir/ten.out" "$dir/ten.expected" || fail "the ten-line program printed other than the page shows"
}

case $step in
install)
  build=$1 work=$2
  rm -rf "$work/prefix"
  mkdir -p "$work"
  run cmake --install "$build" --prefix "$work/prefix" >"$work/install.log"
  p=$work/prefix
  for f in bin/quillon include/quillon/quillon.h include/quillon/automation/variant.h \
    share/quillon/schema/01_system.sql share/doc/quillon/README.md \
    share/doc/quillon/c-interface.md share/doc/quillon/examples/produce_order_material_issue.qhs \
    share/doc/quillon/examples/hosts/c_host.c share/doc/quillon/examples/hosts/python_host.py; do
    [ -e "$p/$f" ] || fail "$f is not installed"
  done
  # The drawing half of the command, in a build with the desktop dialogs.
  if [ -e "$build/apps/quillon/quillon-desktop" ]; then
    [ -x "$p/libexec/quillon/quillon-desktop" ] || fail "quillon-desktop is not installed in libexec"
  fi
  lib=$(libdir "$work")
  [ -L "$lib/libquillon.so" ] || fail "no libquillon.so link for -lquillon"
  [ -e "$lib/cmake/Quillon/QuillonConfig.cmake" ] || fail "no CMake package"
  [ -e "$lib/pkgconfig/quillon.pc" ] || fail "no pkg-config file"
  # Only the public headers: none of the dialogs, forms or engine internals.
  if find "$p/include/quillon" -path '*dialogs*' -o -path '*forms*' -o -name 'tokenizer.h' | grep . >/dev/null; then
    fail "private headers are installed"
  fi
  # The library exports the C interface. (Not grep -q: it would leave the pipe early, and pipefail
  # would count nm's broken pipe as a failure.)
  nm -D --defined-only "$lib/libquillon.so.1" | grep -w quillon_call >/dev/null || fail "quillon_call is not exported"
  ;;

headers)
  work=$1
  inc=$work/prefix/include/quillon
  rm -rf "$work/headers"
  mkdir -p "$work/headers"
  count=0
  while IFS= read -r header; do
    rel=${header#"$inc"/}
    echo "#include <$rel>" >"$work/headers/$(echo "$rel" | tr / _).cpp"
    count=$((count + 1))
  done < <(find "$inc" -name '*.h' | sort)
  ((count > 10)) || fail "only $count headers"
  # One translation unit per header, two at a time.
  find "$work/headers" -name '*.cpp' -print0 |
    xargs -0 -P 2 -I{} "$CXX" -std=c++20 -Wall -Wextra -Werror -fsyntax-only -I"$inc" {} ||
    fail "a header does not compile on its own"
  # The C interface is C, from C89 on, and C++ as well.
  echo '#include <quillon.h>' >"$work/one_header.c"
  run "$CC" -std=c89 -pedantic -Wall -Wextra -Werror -fsyntax-only -I"$inc" "$work/one_header.c"
  run "$CC" -std=c11 -pedantic -Wall -Wextra -Werror -fsyntax-only -I"$inc" "$work/one_header.c"
  echo "$count headers compile on their own"
  ;;

cmake)
  work=$1 src=$2
  out=$work/consumer-cmake
  rm -rf "$out"
  flags=()
  if ((${#SAN[@]})); then
    flags=("-DCMAKE_C_FLAGS=${SAN[*]}" "-DCMAKE_CXX_FLAGS=${SAN[*]}")
  fi
  run cmake -S "$src/consumer" -B "$out" -DCMAKE_PREFIX_PATH="$work/prefix" \
    -DCMAKE_C_COMPILER="$CC" -DCMAKE_CXX_COMPILER="$CXX" "${flags[@]}" >"$work/consumer-cmake.log"
  run cmake --build "$out" >>"$work/consumer-cmake.log"
  db=$work/consumer-cmake.db
  run "$work/prefix/bin/quillon" init-db --db "$db" --scale 1 --force >/dev/null
  run "$out/consumer_c" "$db" | tee "$work/consumer-c.out"
  grep -q '^user demo$' "$work/consumer-c.out" || fail "consumer_c did not log in"
  grep -q '^collection of 1: demo$' "$work/consumer-c.out" || fail "consumer_c read no collection"
  run "$out/consumer_cxx" "$db" | tee "$work/consumer-cxx.out"
  grep -q '^count 2, item k first$' "$work/consumer-cxx.out" || fail "consumer_cxx: no collection"
  grep -q '^items [1-9]' "$work/consumer-cxx.out" || fail "consumer_cxx: no query"
  grep -q '^error 429$' "$work/consumer-cxx.out" || fail "consumer_cxx: no error"
  ;;

pkgconfig)
  work=$1 src=$2
  export PKG_CONFIG_PATH
  PKG_CONFIG_PATH=$(libdir "$work")/pkgconfig
  [ "$(pkg-config --modversion quillon)" != "" ] || fail "pkg-config knows no quillon"
  read -r -a cflags <<<"$(pkg-config --cflags quillon)"
  read -r -a libs <<<"$(pkg-config --libs quillon)"
  # The prefix is found from where the file lies, not from where the build meant to install.
  [[ "${cflags[*]}" == *"$work/prefix"* || "${cflags[*]}" == *"/pkgconfig/../"* ]] ||
    fail "the cflags do not point into the prefix: ${cflags[*]}"
  run "$CC" "${SAN[@]}" "${cflags[@]}" -c "$src/consumer/consumer.c" -o "$work/consumer_pc.o"
  run "$CXX" "${SAN[@]}" "$work/consumer_pc.o" -o "$work/consumer_pc" "${libs[@]}"
  db=$work/consumer-pc.db
  run "$work/prefix/bin/quillon" init-db --db "$db" --scale 1 --force >/dev/null
  LD_LIBRARY_PATH=$(libdir "$work") run "$work/consumer_pc" "$db" | tee "$work/consumer-pc.out"
  grep -q '^user demo$' "$work/consumer-pc.out" || fail "the program did not log in"
  grep -q '^unknown class: .*429' "$work/consumer-pc.out" || fail "no error for an unknown class"
  ;;

command)
  work=$1
  q=$work/prefix/bin/quillon
  run "$q" --version | tee "$work/version.out"
  grep -Eq '^quillon [0-9]+\.[0-9]+.* \(commit ([0-9a-f]+|unknown)\)$' "$work/version.out" ||
    fail "--version names no version and commit"
  run "$q" init-db --db "$work/command.db" --scale 1 --force >/dev/null
  run "$q" sql --db "$work/command.db" --format csv "SELECT TOP 1 cInvCode FROM Inventory ORDER BY cInvCode" |
    tee "$work/command.out"
  grep -q '^0101001' "$work/command.out" || fail "sql found no item"
  # A drawn run: the installed command finds its drawing half in libexec.
  if [ -e "$work/prefix/libexec/quillon/quillon-desktop" ]; then
    echo "login user=demo date=2026-12-05" |
      QT_QPA_PLATFORM=offscreen run "$q" run --gui --db "$work/command.db" - | tee "$work/drawn.out"
    grep -q '^ok: ' "$work/drawn.out" || fail "the drawn run did not run through"
  fi
  ;;

python)
  work=$1 SRC=$2 PYTHON=$3
  p=$work/prefix
  init=$(find "$p" -path '*-packages/quillon/__init__.py' -print -quit)
  [ -n "$init" ] || fail "the quillon package is not installed under $p"
  site=$(dirname "$(dirname "$init")")
  [ "$site" = "$p/$("$PYTHON" "$SRC/python/site_dir.py" "$p")" ] ||
    fail "the package went to $site, not where $PYTHON puts packages for $p"
  for f in py.typed _install.py _objects.py; do
    [ -e "$site/quillon/$f" ] || fail "quillon/$f is not installed"
  done
  grep -qF "LIBRARY = \"$(libdir "$work")/libquillon.so.1\"" "$site/quillon/_install.py" ||
    fail "_install.py does not name the installed library: $(cat "$site/quillon/_install.py")"
  run_ten_lines "$site" "$p/bin/quillon" "$work/python" "$p"
  ;;

deb)
  build=$1 work=$2 SRC=${3:-} PYTHON=${4:-}
  rm -rf "$work/deb"
  mkdir -p "$work/deb"
  run cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/deb" >"$work/cpack.log"
  deb=$(find "$work/deb" -maxdepth 1 -name 'quillon_*.deb' -print -quit)
  [ -n "$deb" ] || fail "cpack made no quillon_*.deb"
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  for p in libsqlite3-0 libqt6widgets6 fonts-noto-cjk; do
    [[ ", $depends," == *", $p"[\ ,]* ]] || fail "the package does not depend on $p"
  done
  run dpkg-deb -x "$deb" "$work/deb/root"
  root=$work/deb/root
  for f in usr/bin/quillon usr/libexec/quillon/quillon-desktop usr/include/quillon/quillon.h \
    usr/share/quillon/schema/01_system.sql; do
    [ -e "$root/$f" ] || fail "the package lacks /$f"
  done
  find "$root/usr/lib" -name 'libquillon.so.1' | grep -q . || fail "the package lacks libquillon.so.1"
  q=$root/usr/bin/quillon
  run "$q" --version
  run "$q" init-db --db "$work/deb/demo.db" --scale 1 --force >/dev/null
  run "$q" sql --db "$work/deb/demo.db" --format csv "SELECT COUNT(*) AS n FROM Warehouse" | tee "$work/deb/sql.out"
  # CSV lines end in CR LF.
  tr -d '\r' <"$work/deb/sql.out" | grep -Eq '^[1-9][0-9]*$' ||
    fail "sql on the unpacked package counted nothing"
  # The Python package, where Debian's python3 looks, naming the library at its place in /usr; run
  # from the unpacked tree it finds the library beside it.
  if [ -n "$PYTHON" ]; then
    init=$(find "$root/usr/lib" -path '*-packages/quillon/__init__.py' -print -quit)
    [ -n "$init" ] || fail "the package lacks the quillon Python package"
    site=$(dirname "$(dirname "$init")")
    [ "${site#"$root"}" = "/usr/$("$PYTHON" "$SRC/python/site_dir.py" /usr)" ] ||
      fail "the Python package lies in ${site#"$root"}, not where $PYTHON looks under /usr"
    grep -Eq '^LIBRARY = "/usr/lib/([^/]+/)?libquillon.so.1"$' "$site/quillon/_install.py" ||
      fail "_install.py does not name /usr's library: $(cat "$site/quillon/_install.py")"
    [[ ", $(dpkg-deb -f "$deb" Suggests)," == *", python3"[\ ,]* ]] || fail "the package does not suggest python3"
    recorded=$(sed -n 's/^LIBRARY = "\(.*\)"$/\1/p' "$site/quillon/_install.py")
    # Where this machine has the package installed, the recorded library is the one loaded.
    under=$root/usr
    [ -e "$recorded" ] && under=$(dirname "$recorded")
    run_ten_lines "$site" "$q" "$work/deb/python" "$under"
  fi
  ;;

host)
  work=$1 name=$2 quillon=$3 expect=$4
  shift 4
  [ "$1" = "--" ] && shift
  mkdir -p "$work"
  db=$work/$name.db
  run "$quillon" init-db --db "$db" --scale 1 --force >/dev/null
  "$@" "$db" >"$work/$name.out" 2>&1 || {
    cat "$work/$name.out"
    fail "the host failed"
  }
  cat "$work/$name.out"
  expect_lines "$expect" "$work/$name.out"
  ;;

*)
  fail "unknown step"
  ;;
esac
