#!/usr/bin/env bash
# The agent's CUPS submission beside `lp -o raw` of the same bytes, against a raw queue of a
# private CUPS server in front of a loopback listener: the scheduler requests one ticket costs
# (read from the server's access log), then the time of each, in turns, as whole processes and,
# for the agent's way, inside one process as a running agent does it. With AGENT (and OLD_AGENT)
# also the requests of a whole kitchen order through quillon-agent --print-job; with PRINT_SERVER
# too, the running agent against the demo server: the requests a ticket costs until the agent
# saw it completed (its watch included) and those of an idle minute; and the time from the start
# of --print-job to the listener's last byte beside `lp -o raw`'s.
# Usage: cups_vs_lp.sh BENCH_CUPS_SUBMIT [RUNS] [AGENT [OLD_AGENT]] [PRINT_SERVER]
#        (as root: it starts cupsd)
set -euo pipefail
submit=$1 runs=${2:-30} agent=${3:-} old_agent=${4:-} print_server=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
export PATH="$PATH:/usr/sbin:/sbin"
[ "$(id -u)" -eq 0 ] || { echo "hace falta ser root para iniciar un cupsd propio"; exit 2; }

work=$(mktemp -d /tmp/quillon-cups-bench.XXXXXX)
chmod 755 "$work"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$work"' EXIT

python3 "$source_dir/tests/cups_integration/listener.py" "$work/port" "$work/out" &
pids+=($!)
for _ in $(seq 100); do [ -f "$work/port" ] && break; sleep 0.1; done
server="$work/cups"
mkdir -p "$work/client"
export CUPS_SERVERROOT="$work/client" QT_QPA_PLATFORM=offscreen
unset LPDEST PRINTER
cups_access_log_level=all  # every request in the access log, to count them
source "$source_dir/tests/cups_integration/private_cupsd.sh"
start_cupsd
for queue in Cocina Caja; do lpadmin -p "$queue" -E -v "socket://127.0.0.1:$(cat "$work/port")"; done
lpadmin -d Caja

# The bytes of a kitchen ticket as the agent sends them.
mkdir -p "$work/spool/Cocina" "$work/data"
cp "$source_dir/examples/jobs/data/Acceso" "$work/data/"
"${agent:-true}" --print-job "$source_dir/examples/jobs/comanda_mostrador.json" --spool "$work/spool" \
  --data-dir "$work/data" --encoding utf-8 >"$work/spool.out" 2>&1 || true
ticket="$work/spool/Cocina/000001.escpos"
[ -f "$ticket" ] || { cat "$work/spool.out" >&2; printf '\033@\033t\020COMANDA DE PRUEBA\n%.0s' $(seq 40) >"$ticket"; }
echo "ticket de $(wc -c <"$ticket") bytes"

requests() { wc -l <"$server/log/access_log"; }
count_requests() {  # what command...
  local before
  before=$(requests)
  "$@" >/dev/null 2>&1
  sleep 0.3
  echo $(($(requests) - before))
}
echo "peticiones al planificador por ticket:"
echo "  agente (bench_cups_submit): $(count_requests "$submit" Cocina "$ticket" 1)"
echo "  lp -o raw:                  $(count_requests lp -d Cocina -o raw "$ticket")"
for program in $old_agent $agent; do
  rm -rf "$work/data/outbox" "$work/data/impresos"
  echo "  $program --print-job (comanda): $(count_requests "$program" --print-job \
    "$source_dir/examples/jobs/comanda_mostrador.json" --data-dir "$work/data" --encoding utf-8)"
done

now_us() { echo $(($(date +%s%N) / 1000)); }
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR + 1) / 2)]}'; }
: >"$work/agent.times"
: >"$work/lp.times"
for _ in $(seq "$runs"); do
  start=$(now_us); "$submit" Cocina "$ticket" 1 >/dev/null; echo $(($(now_us) - start)) >>"$work/agent.times"
  start=$(now_us); lp -d Cocina -o raw "$ticket" >/dev/null; echo $(($(now_us) - start)) >>"$work/lp.times"
done
echo "proceso entero, mediana de $runs en turnos:"
echo "  agente (bench_cups_submit): $(median <"$work/agent.times") us"
echo "  lp -o raw:                  $(median <"$work/lp.times") us"
echo "dentro de un proceso (como el agente en marcha), mediana de $runs envios:"
echo "  agente: $("$submit" Cocina "$ticket" "$runs" | tail -n +2 | median) us"

[ -n "$print_server" ] && [ -n "$agent" ] || exit 0

# --- the running agent: one kitchen ticket, its watch, and an idle stretch ---
last_byte_us() {  # the newest listener file's modification time, in microseconds
  local newest
  newest=$(find "$work/out" -name '*.bin' -printf '%T@ %p\n' | sort -n | tail -1 | cut -d' ' -f1)
  python3 -c "print(int(float('$newest') * 1e6))"
}
received() { find "$work/out" -name '*.bin' | wc -l; }
cp -r "$source_dir/examples/jobs/data" "$work/running"
"$print_server" --port 0 --wait-id --timeout 600 \
  --job "$source_dir/examples/jobs/comanda_mostrador.json" >"$work/server.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do grep -q '^PORT ' "$work/server.out" && break; sleep 0.1; done
before_jobs=$(received)
before=$(requests)  # the agent asks the scheduler nothing before its first job
"$agent" --headless --data-dir "$work/running" --encoding utf-8 \
  --server "127.0.0.1:$(sed -n 's/^PORT //p' "$work/server.out")" >"$work/agent.out" 2>&1 &
agent_pid=$!
pids+=("$agent_pid")
for _ in $(seq 2000); do [ "$(received)" -gt "$before_jobs" ] && break; sleep 0.01; done
for _ in $(seq 100); do [ -z "$(ls "$work/running/outbox"/*.ticket 2>/dev/null)" ] && break; sleep 0.1; done
echo "agente en marcha, una comanda en Cocina:"
echo "  peticiones al planificador hasta saberla impresa (con la vigilancia): $(($(requests) - before))"
# From the start of a whole process to the printer's last byte: the watch comes after it.
until_printed() {  # command...
  local start count
  count=$(received)
  start=$(now_us)
  "$@" >/dev/null 2>&1
  for _ in $(seq 400); do [ "$(received)" -gt "$count" ] && break; sleep 0.002; done
  echo $(($(last_byte_us) - start))
}
rm -rf "$work/data/outbox" "$work/data/impresos"
echo "  --print-job -> ultimo byte en la impresora: $(until_printed "$agent" --print-job \
  "$source_dir/examples/jobs/comanda_mostrador.json" --data-dir "$work/data" --encoding utf-8) us"
echo "  lp -o raw   -> ultimo byte en la impresora: $(until_printed lp -d Cocina -o raw "$ticket") us"
before=$(requests)
sleep 60
echo "  peticiones en un minuto sin tickets en vuelo: $(($(requests) - before))"
