#!/usr/bin/env bash
# Builds Kalmet with its tests and runs the whole suite: unit tests, database tests on SQLite
# and on a throw-away PostgreSQL 15 server that lives only as long as this script.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

# openssl makes the certificates of the TLS tests' own server
pakete_installieren "${BASIS_PAKETE[@]}" libgtest-dev libgmock-dev postgresql-15 openssl poppler-utils unzip
dauer Pakete
bauen build -DKALMET_BUILD_TESTS=ON
dauer Bauen

PG_BIN=/usr/lib/postgresql/15/bin
PG_DIR=$(mktemp -d /tmp/kalmet-pg.XXXXXX)
als_pg() { "$@"; }
if [ "$(id -u)" -eq 0 ]; then
  # the server refuses to run as root; it starts in / as it may not enter root's folders
  chown postgres: "$PG_DIR"
  als_pg() { (cd / && runuser -u postgres -- "$@"); }
fi

pg_stoppen() {
  als_pg "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$PG_DIR"
}
trap pg_stoppen EXIT INT TERM

port_frei() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
PG_PORT=$((20000 + RANDOM % 20000))
until port_frei "$PG_PORT"; do PG_PORT=$((20000 + RANDOM % 20000)); done

als_pg "$PG_BIN/initdb" -D "$PG_DIR/data" -U postgres --auth=trust -E UTF8 --locale=C.UTF-8 >/dev/null
als_pg "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -l "$PG_DIR/server.log" -w \
  -o "-p $PG_PORT -k $PG_DIR -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200" start >/dev/null

export KALMET_TEST_PG_URL="postgresql://postgres@127.0.0.1:$PG_PORT/postgres"
export QT_QPA_PLATFORM=offscreen
rc=0
ctest --test-dir build --output-on-failure -j "$(nproc)" "$@" || rc=$?
dauer Tests
exit $rc
