#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests and the benchmark: initdb in
# DIR as an unprivileged user, trust authentication, a Unix socket in DIR only
# (no TCP). Prints the connection URI of its "postgres" database on start.
#   scripts/pg-cluster.sh start DIR       (DIR is created; it must not hold a cluster)
#   scripts/pg-cluster.sh restart DIR     (a server restart: every session is ended)
#   scripts/pg-cluster.sh start-pair DIR  (a primary and a synchronous streaming
#                                          standby; prints the two-host URI that
#                                          follows the primary)
#   scripts/pg-cluster.sh failover DIR    (the primary stops at once, the standby
#                                          is promoted)
#   scripts/pg-cluster.sh stop DIR        (stops whatever runs there, removes DIR)
set -euo pipefail
action=${1:-}; dir=${2:-}
if [ -z "$action" ] || [ -z "$dir" ]; then
  echo "usage: $0 start|restart|start-pair|failover|stop DIR" >&2; exit 2
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
# Starts the server of data directory $1 with its socket in $2.
serve() {
  "${as[@]}" "$bin/pg_ctl" -D "$1" -l "$1.log" -w -t 60 start \
    -o "-c listen_addresses='' -c unix_socket_directories='$2' -c fsync=off -c max_connections=200 ${3:-}" \
    >/dev/null || { cat "$1.log" >&2; exit 1; }
}
# Makes DIR, owned by the server's user, and a fresh cluster in DIR/data.
init() {
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  [ "$(id -u)" -eq 0 ] && chown postgres "$dir"
  chmod 700 "$dir"
  "${as[@]}" "$bin/initdb" -D "$dir/data" --auth=trust --username=postgres -E UTF8 \
    --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
}
case "$action" in
  start)
    init
    serve "$dir/data" "$dir"
    echo "postgresql:///postgres?host=$dir&user=postgres"
    ;;
  restart)
    "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/data.log" -m fast -w -t 60 restart >/dev/null
    ;;
  start-pair)
    init
    "${as[@]}" mkdir "$dir/sock1" "$dir/sock2"
    # A commit returns once the standby has it: a save that returned
    # survives the loss of the primary.
    serve "$dir/data" "$dir/sock1" \
      "-c synchronous_standby_names='standby' -c synchronous_commit=on -c wal_level=replica"
    "${as[@]}" "$bin/pg_basebackup" -D "$dir/standby" -R -X stream \
      -d "host=$dir/sock1 user=postgres application_name=standby" >"$dir/basebackup.log" 2>&1 ||
      { cat "$dir/basebackup.log" >&2; exit 1; }
    serve "$dir/standby" "$dir/sock2" "-c hot_standby=on"
    # The standby is synchronous once it has caught up.
    for _ in $(seq 1 100); do
      state=$("${as[@]}" "$bin/psql" -h "$dir/sock1" -U postgres -d postgres -tAc \
        "SELECT sync_state FROM pg_stat_replication WHERE application_name = 'standby'")
      [ "$state" = sync ] && break
      sleep 0.1
    done
    [ "$state" = sync ] || { echo "$0: the standby did not become synchronous" >&2; exit 1; }
    echo "postgresql:///postgres?host=$dir/sock1,$dir/sock2&user=postgres&target_session_attrs=read-write"
    ;;
  failover)
    "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null
    "${as[@]}" "$bin/pg_ctl" -D "$dir/standby" -w -t 60 promote >/dev/null
    ;;
  stop)
    for d in "$dir/data" "$dir/standby"; do
      if [ -d "$d" ]; then
        "${as[@]}" "$bin/pg_ctl" -D "$d" -m immediate -w stop >/dev/null 2>&1 || true
      fi
    done
    rm -rf "$dir"
    ;;
  *) echo "usage: $0 start|restart|start-pair|failover|stop DIR" >&2; exit 2 ;;
esac
