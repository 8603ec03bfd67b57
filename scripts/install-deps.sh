#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need.
# Idempotent: apt-get runs only when a package is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  # Clang: the second compiler every change is built with, and its sanitizer and libFuzzer
  # runtimes (make test-sanitize, make fuzz).
  clang libclang-rt-14-dev
  libsqlite3-dev
  # Accounts on a database server: the client library, and the server itself for the tests,
  # which run every test of the account database on a private PostgreSQL instance too.
  libpq-dev postgresql
  libgtest-dev libgmock-dev libbenchmark-dev
  # `make bench` measures `quillon sql` against the engines' own shells (sqlite3; psql comes with
  # the server) and their peak memory as /usr/bin/time reports it.
  sqlite3 time
  # Desktop dialogs: Qt 6 Widgets, its platform plugins (xcb for a desktop, offscreen for
  # tests and screenshots on machines without a display) and a font with Chinese glyphs.
  qt6-base-dev qt6-qpa-plugins libgl-dev fontconfig fonts-noto-cjk
  # The Python package over the C interface, its tests (pytest) and the check of its type hints
  # (mypy); dpkg-deb comes with dpkg.
  python3 python3-pytest mypy
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "install-deps: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
