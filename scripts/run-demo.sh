#!/usr/bin/env bash
# The demo: builds the agent, starts the demo print server with the example jobs, lets the agent
# (headless, printing into spool folders) receive and print them, then shows the agent's log and
# the printed tickets and stops both programs.
#   scripts/run-demo.sh [--paper-out]
# --paper-out: Cocina is a network receipt printer (the printer simulator) reached directly that
# is out of paper when the orders come; the demo shows the agent waiting, then puts the paper
# back and shows the orders printing once.
set -euo pipefail
cd "$(dirname "$0")/.."
paper_out=false
case "${1:-}" in
  '') ;;
  --paper-out) paper_out=true ;;
  *) echo "Uso: scripts/run-demo.sh [--paper-out]" >&2; exit 2 ;;
esac
# Only what the demo builds and runs on; the test command installs the rest.
scripts/install-deps.sh --demo
# A folder of its own without the tests, so the test libraries are not needed.
cmake --preset default -B build-demo -DQUILLON_BUILD_TESTS=OFF
cmake --build build-demo -j2 --target quillon-agent print-server printer-sim

demo=build-demo/demo
rm -rf "$demo"
mkdir -p "$demo/data" "$demo/spool/Cocina" "$demo/spool/Bar" "$demo/spool/Facturas"
# The branch code (15 characters) and the printing options, as the agent stores them.
printf 'SUC0001BOGOTA01\r\nFacturas y PreFactruas,Mesa,Mostrador,Domicilio\r\n' >"$demo/data/Acceso"
cp examples/jobs/data/logo.bmp "$demo/data/logo.bmp"

jobs=$(ls examples/jobs/*.json | wc -l)
server_pid='' agent_pid='' sim_pid=''
stop() {
  [ -n "$agent_pid" ] && kill "$agent_pid" 2>/dev/null || true
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap stop EXIT

timeout 120 build-demo/tools/print-server --port 0 --wait-id --job examples/jobs --pieces --pause 300 \
  --exit-after-statuses "$jobs" >"$demo/server.log" 2>"$demo/server.err" &
server_pid=$!
port=''
for _ in $(seq 50); do
  port=$(sed -n 's/^PORT //p' "$demo/server.log")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "El servidor de prueba no arranco" >&2; cat "$demo/server.err" >&2; exit 1; }
echo "Servidor de prueba en 127.0.0.1:$port con $jobs trabajos de examples/jobs"

direct=()
if $paper_out; then
  # The simulator keeps what it prints in $demo/cocina; the word in $demo/cocina.modo switches it.
  echo paper-end >"$demo/cocina.modo"
  timeout 150 build-demo/tools/printer-sim --port 0 --port-file "$demo/cocina.puerto" \
    --dir "$demo/cocina" --control "$demo/cocina.modo" 2>"$demo/cocina.log" &
  sim_pid=$!
  for _ in $(seq 50); do
    [ -s "$demo/cocina.puerto" ] && break
    sleep 0.1
  done
  [ -s "$demo/cocina.puerto" ] || { echo "El simulador de impresora no arranco" >&2; exit 1; }
  direct=(--printer "Cocina=tcp://127.0.0.1:$(cat "$demo/cocina.puerto")")
  echo "Cocina: impresora de red simulada en 127.0.0.1:$(cat "$demo/cocina.puerto"), sin papel"
fi

timeout 150 build-demo/src/app/quillon-agent --headless --server "127.0.0.1:$port" \
  --spool "$demo/spool" --default-printer Facturas --data-dir "$demo/data" --encoding utf-8 \
  "${direct[@]}" </dev/null >"$demo/agent.log" 2>"$demo/agent.err" &
agent_pid=$!

# The server ends once the agent has answered every job.
wait "$server_pid" || { echo "El servidor de prueba no recibio todas las respuestas" >&2; }
server_pid=''
sleep 0.5

# Waits up to $2 seconds for the agent to log a line with $1, and shows it.
wait_log() {
  for _ in $(seq $(($2 * 10))); do
    grep -m1 -- "$1" "$demo/agent.log" && return 0
    sleep 0.1
  done
  echo "(el agente no dijo \"$1\" en $2 s)"
}
if $paper_out; then
  echo
  echo "=== Cocina sin papel: las comandas esperan en $demo/data/outbox ==="
  wait_log "La impresora Cocina no responde" 10
  ls "$demo/data/outbox"
  echo
  echo "=== Se repone el papel ==="
  echo ready >"$demo/cocina.modo"
  wait_log "La impresora Cocina volvió" 20
  sleep 0.5
fi

echo
echo "=== Registro del agente ($demo/agent.log, lineas largas recortadas) ==="
python3 -c 'import sys
for line in open(sys.argv[1], encoding="utf-8", errors="replace"):
    line = line.rstrip("\n")
    print(line if len(line) <= 150 else line[:150] + " ...")' "$demo/agent.log"
echo
echo "=== Mensajes que recibio el servidor ==="
tail -n +2 "$demo/server.log"
for ticket in "$demo"/spool/*/*.txt; do
  echo
  echo "=== $ticket ==="
  cat "$ticket"
done
if $paper_out; then
  echo
  echo "=== Tickets que imprimio Cocina, en red (sus bytes y su dibujo) ==="
  ls "$demo"/cocina/*.escpos "$demo"/cocina/*.png
fi
for raw in "$demo"/spool/*/*.raw; do
  [ -f "$raw" ] || continue
  echo
  echo "=== $raw (apertura del cajon) ==="
  od -An -tu1 "$raw"
done
