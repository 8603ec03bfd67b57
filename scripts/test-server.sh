#!/usr/bin/env bash
# A private PostgreSQL server for one test run: a cluster in a scratch folder, reached only through
# the Unix socket in that folder (no TCP port), run by an unprivileged user even when the tests run
# as root, with the demo account built once as the template every test's own database is made from.
#
#   test-server.sh start DIR QUILLON_BINARY   initdb into DIR, start, build the template database
#   test-server.sh bare DIR                   initdb into DIR and start, without any database of
#                                             ours (for a test that stops its own server)
#   test-server.sh copy DIR FROM TO           a database TO with the contents of FROM
#   test-server.sh pooler DIR                 start Debian's pgbouncer in session mode in front of
#                                             the server in DIR: its socket is in DIR/pooler, port
#                                             6432 (exits 3 when pgbouncer is not installed)
#   test-server.sh stop DIR                   stop the server (and its pooler) and remove DIR
#   test-server.sh bindir                     the folder of initdb and pg_ctl (empty: not installed)
#   test-server.sh dir BUILD                  the folder for the cluster of a build: BUILD/test-server,
#                                             or one under /tmp when the server's user cannot
#                                             reach BUILD (a build under a private home)
#
# The server is at postgresql:///?host=DIR&user=quillon; the template database is quillon_template.
# A role "desk" with the password "desk" may log in with it (the fault tests use a wrong one).
# QUILLON_TEST_SERVER_MAX_CONNECTIONS sets the server's max_connections (300; the pooler's pool is
# 20 fewer). QUILLON_TEST_SERVER_SHARED_BUFFERS sets its shared_buffers (64MB: enough for the
# tests; a benchmark of a large account may give it a quarter of the machine's memory).
set -euo pipefail

bindir() {
  local d
  for d in "$(pg_config --bindir 2>/dev/null || true)" /usr/lib/postgresql/*/bin /usr/local/bin; do
    if [ -n "$d" ] && [ -x "$d/initdb" ] && [ -x "$d/pg_ctl" ] && [ -x "$d/postgres" ]; then
      echo "$d"
      return
    fi
  done
}

# Runs a command as the server's user: the caller, or an unprivileged one when that is root (the
# server refuses to run as root).
as_server_user() {
  if [ "$(id -u)" -ne 0 ]; then
    "$@"
  else
    local user=postgres
    id -u "$user" >/dev/null 2>&1 || user=nobody
    setpriv --reuid="$user" --regid="$(id -g "$user")" --init-groups --reset-env -- \
      env PATH="$PATH" LC_ALL=C "$@"
  fi
}

server_user() {
  if [ "$(id -u)" -ne 0 ]; then id -un; else id -u postgres >/dev/null 2>&1 && echo postgres || echo nobody; fi
}

# A fresh cluster in $1, started, reached only through the socket in $1.
start_cluster() {
  local dir=$1 bin max_connections=${QUILLON_TEST_SERVER_MAX_CONNECTIONS:-300}
  bin=$(bindir)
  [ -n "$bin" ] || { echo "test-server: initdb and pg_ctl not found" >&2; exit 1; }
  # A server left over from an interrupted run goes first.
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_server_user "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  mkdir -p "$dir"
  chown "$(server_user)" "$dir"
  chmod 0755 "$dir"
  as_server_user "$bin/initdb" -D "$dir/data" -U quillon --auth-local=trust --auth-host=reject \
    -E UTF8 --locale=C --no-sync >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log" >&2; exit 1; }
  # The superuser logs in without a password, every other role with its own.
  printf 'local all quillon trust\nlocal all all scram-sha-256\n' >"$dir/data/pg_hba.conf"
  chown "$(server_user)" "$dir/data/pg_hba.conf"
  as_server_user "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off \
        -c synchronous_commit=off -c full_page_writes=off -c max_connections=$max_connections \
        -c shared_buffers=${QUILLON_TEST_SERVER_SHARED_BUFFERS:-64MB} -c max_locks_per_transaction=256 -c wal_level=minimal \
        -c max_wal_senders=0 -c max_wal_size=128MB" start >/dev/null ||
    { cat "$dir/server.log" >&2; exit 1; }
}

# pgbouncer in session mode in front of the cluster in $1: the same roles log in through it as
# they would directly (the server checks their passwords); its socket is in $1/pooler.
start_pooler() {
  local dir=$1 pooler=$1/pooler bin max_connections=${QUILLON_TEST_SERVER_MAX_CONNECTIONS:-300}
  bin=$(command -v pgbouncer || true)
  [ -n "$bin" ] || bin=/usr/sbin/pgbouncer
  [ -x "$bin" ] || { echo "test-server: pgbouncer is not installed" >&2; exit 3; }
  mkdir -p "$pooler"
  printf '"quillon" ""\n"desk" ""\n"clerk" ""\n' >"$pooler/users.txt"
  cat >"$pooler/pgbouncer.ini" <<EOF
[databases]
* = host=$dir port=5432
[pgbouncer]
listen_addr =
listen_port = 6432
unix_socket_dir = $pooler
auth_type = trust
auth_file = $pooler/users.txt
pool_mode = session
max_client_conn = $((max_connections * 2))
default_pool_size = $((max_connections - 20))
max_db_connections = $((max_connections - 20))
ignore_startup_parameters = extra_float_digits,options
logfile = $pooler/pgbouncer.log
pidfile = $pooler/pgbouncer.pid
EOF
  chown -R "$(server_user)" "$pooler"
  as_server_user "$bin" -d "$pooler/pgbouncer.ini" ||
    { cat "$pooler/pgbouncer.log" >&2 2>/dev/null; exit 1; }
  for _ in $(seq 100); do [ -S "$pooler/.s.PGSQL.6432" ] && return; sleep 0.1; done
  echo "test-server: pgbouncer did not start" >&2
  cat "$pooler/pgbouncer.log" >&2 2>/dev/null
  exit 1
}

cmd=${1:-}
case "$cmd" in
  bindir)
    bindir
    ;;
  dir)
    build=$2
    if as_server_user test -x "$build" 2>/dev/null; then
      echo "$build/test-server"
    else
      echo "/tmp/quillon-test-server-$(printf '%s' "$build" | md5sum | cut -c1-12)"
    fi
    ;;
  start)
    dir=$2
    quillon=$3
    start_cluster "$dir"
    uri="postgresql:///quillon_template?host=$dir&user=quillon"
    "$quillon" init-db --db "$uri" --scale 1 --force >/dev/null
    # Roles are the server's own statements, not T-SQL: its own client makes this one.
    "$(bindir)/psql" -X -q -v ON_ERROR_STOP=1 -h "$dir" -U quillon -d postgres \
      -c "create role desk login password 'desk'" >/dev/null
    echo "test-server: PostgreSQL at $dir"
    ;;
  bare)
    start_cluster "$2"
    ;;
  copy)
    dir=$2
    "$(bindir)/psql" -X -q -h "$dir" -U quillon -d postgres \
      -c "DROP DATABASE IF EXISTS \"$4\"" -c "CREATE DATABASE \"$4\" TEMPLATE \"$3\""
    ;;
  pooler)
    start_pooler "$2"
    ;;
  stop)
    dir=$2
    if [ -f "$dir/pooler/pgbouncer.pid" ]; then
      kill "$(cat "$dir/pooler/pgbouncer.pid")" 2>/dev/null || true
      for _ in $(seq 50); do [ -f "$dir/pooler/pgbouncer.pid" ] || break; sleep 0.1; done
    fi
    bin=$(bindir)
    if [ -n "$bin" ] && [ -f "$dir/data/postmaster.pid" ]; then
      # Nothing of the cluster is kept: no checkpoint on the way out. The server is gone when its
      # lock file is (its process may stay a zombie where nothing reaps it).
      as_server_user "$bin/pg_ctl" -D "$dir/data" -m immediate -W stop >/dev/null
      for _ in $(seq 300); do [ -f "$dir/data/postmaster.pid" ] || break; sleep 0.1; done
    fi
    rm -rf "$dir"
    ;;
  *)
    echo "usage: test-server.sh start DIR QUILLON | bare DIR | pooler DIR | stop DIR | bindir" >&2
    exit 2
    ;;
esac
