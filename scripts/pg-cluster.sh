#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests and the benchmark: initdb in
# DIR as an unprivileged user, trust authentication, a Unix socket in DIR only
# (no TCP). Prints the connection URI of its "postgres" database on start.
#   scripts/pg-cluster.sh start DIR    (DIR is created; it must not hold a cluster)
#   scripts/pg-cluster.sh stop DIR     (stops the server and removes DIR)
set -euo pipefail
action=${1:-}; dir=${2:-}
if [ -z "$action" ] || [ -z "$dir" ]; then
  echo "usage: $0 start|stop DIR" >&2; exit 2
fi
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
  echo "$0: no PostgreSQL server under /usr/lib/postgresql (Debian package postgresql)" >&2; exit 1
fi
# The server refuses to run as root: it runs as the package's "postgres" user,
# or as whoever runs this script when that is not root.
as=()
if [ "$(id -u)" -eq 0 ]; then
  id postgres >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin postgres
  as=(runuser -u postgres --)
fi
case "$action" in
  start)
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    [ "$(id -u)" -eq 0 ] && chown postgres "$dir"
    chmod 700 "$dir"
    "${as[@]}" "$bin/initdb" -D "$dir/data" --auth=trust --username=postgres -E UTF8 \
      --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start \
      -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off -c max_connections=200" \
      >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
    echo "postgresql:///postgres?host=$dir&user=postgres"
    ;;
  stop)
    if [ -d "$dir/data" ]; then
      "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    ;;
  *) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
