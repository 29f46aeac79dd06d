#!/usr/bin/env bash
# A kitchen order from the job's terminator to the ticket's last byte at the printer, with the
# printer reached directly (--printer Cocina=tcp://...) and through a raw queue of a private CUPS
# server (socket://) in front of the same printer-sim, in one run; p50 and p99 of each.
# Usage: direct_vs_cups.sh AGENT PRINTER_SIM [RUNS]   (as root for the CUPS half: it starts cupsd)
set -euo pipefail
agent=$1 sim=$2 runs=${3:-30}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
export PATH="$PATH:/usr/sbin:/sbin" QT_QPA_PLATFORM=offscreen
work=$(mktemp -d /tmp/quillon-direct-bench.XXXXXX)
chmod 755 "$work"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"

echo ready >"$work/control"
"$sim" --port 0 --port-file "$work/sim_port" --dir "$work/printed" --control "$work/control" \
  2>"$work/sim.err" &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/sim_port" ] && break; sleep 0.1; done
sim_port=$(cat "$work/sim_port")

# Plays the print server: sends the order $runs times, one at a time, and takes the time from
# the terminator to the modification time of the ticket file the simulator writes.
measure() {
  local label=$1
  shift
  mkdir -p "$work/data-$label"
  cp "$source_dir/examples/jobs/data/Acceso" "$work/data-$label/"
  python3 - "$runs" "$work/printed" "$source_dir/examples/jobs/comanda_mostrador.json" \
    "$label" "$work/port-$label" <<'PY' &
import os, socket, sys, time
runs, printed, job, label, port_file = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5]
server = socket.socket(); server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
server.bind(("127.0.0.1", 0)); server.listen(1)
open(port_file, "w").write(str(server.getsockname()[1]))
link, _ = server.accept(); link.settimeout(30)
link.recv(4096)  # the agent's identification
body = open(job, "rb").read() + b"_endMessage_"
times = []
for _ in range(runs):
    before = set(os.listdir(printed))
    link.sendall(body)
    start = time.time_ns()
    deadline = time.time() + 30
    new = []
    while not new and time.time() < deadline:
        new = [n for n in set(os.listdir(printed)) - before if n.endswith(".escpos")]
        time.sleep(0.002)
    if not new: sys.exit("sin ticket a tiempo")
    times.append((os.stat(os.path.join(printed, new[0])).st_mtime_ns - start) / 1e6)
    time.sleep(0.3)
times.sort()
p = lambda q: times[min(len(times) - 1, int(q * len(times)))]
print(f"{label}: {runs} comandas, p50 {p(0.5):.1f} ms, p99 {p(0.99):.1f} ms")
PY
  local driver=$!
  for _ in $(seq 50); do [ -s "$work/port-$label" ] && break; sleep 0.1; done
  "$agent" --headless --server "127.0.0.1:$(cat "$work/port-$label")" --data-dir "$work/data-$label" \
    --encoding utf-8 "$@" </dev/null >"$work/agent-$label.out" 2>&1 &
  local agent_pid=$!
  pids+=($agent_pid)
  wait "$driver"
  kill "$agent_pid"
}

measure directa --printer "Cocina=tcp://127.0.0.1:$sim_port"
if [ "$(id -u)" -eq 0 ]; then
  server="$work/cups"
  mkdir -p "$work/client"
  export CUPS_SERVERROOT="$work/client"
  unset LPDEST PRINTER
  source "$source_dir/tests/cups_integration/private_cupsd.sh"
  start_cupsd
  lpadmin -p Cocina -E -v "socket://127.0.0.1:$sim_port"
  measure cups
else
  echo "cups: hace falta ser root para iniciar un cupsd propio"
fi
