# Sourced by the end-to-end scripts: a work folder with a data folder (the example Acceso) and
# the spool printers Cocina, Bar and Facturas, removed at the end with every process started
# here. Needs $agent, $server, $jobs and $case_name; $limit is each process's time limit in
# seconds. A script that defines no function fail gets one that shows what every process wrote.
limit=${limit:-40}
declare -F fail >/dev/null || fail() {
  echo "FALLO ($case_name): $*" >&2
  for f in "$work"/*.out "$work"/*.err; do
    [ -f "$f" ] && { echo "--- $f" >&2; cut -c1-300 "$f" >&2; }
  done
  exit 1
}
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/data" "$work/spool/Cocina" "$work/spool/Bar" "$work/spool/Facturas"
cp "$jobs/data/Acceso" "$work/data/Acceso"

# Starts the print server with the given options; sets $port and $server_pid.
start_server() {
  timeout "$limit" "$server" --port 0 --wait-id "$@" >"$work/server.out" 2>"$work/server.err" &
  pids+=($!)
  server_pid=$!
  for _ in $(seq 50); do
    port=$(sed -n 's/^PORT //p' "$work/server.out" 2>/dev/null)
    [ -n "$port" ] && return
    sleep 0.1
  done
  fail "el servidor no anuncio su puerto"
}

# Starts the agent headless against it, on the spool printers; more options may follow.
start_agent() {
  timeout "$limit" "$agent" --headless --server "127.0.0.1:$port" --spool "$work/spool" \
    --default-printer Facturas --data-dir "$work/data" --encoding utf-8 "$@" \
    </dev/null >"$work/agent.out" 2>"$work/agent.err" &
  pids+=($!)
  agent_pid=$!
}
