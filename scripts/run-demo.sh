#!/usr/bin/env bash
# The demo: builds the agent, starts the demo print server with the example jobs, lets the agent
# (headless, printing into spool folders) receive and print them, then shows the agent's log and
# the printed tickets and stops both programs.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only what the demo builds and runs on; the test command installs the rest.
scripts/install-deps.sh --demo
# A folder of its own without the tests, so the test libraries are not needed.
cmake --preset default -B build-demo -DQUILLON_BUILD_TESTS=OFF
cmake --build build-demo -j2 --target quillon-agent print-server

demo=build-demo/demo
rm -rf "$demo"
mkdir -p "$demo/data" "$demo/spool/Cocina" "$demo/spool/Bar" "$demo/spool/Facturas"
# The branch code (15 characters) and the printing options, as the agent stores them.
printf 'SUC0001BOGOTA01\r\nFacturas y PreFactruas,Mesa,Mostrador,Domicilio\r\n' >"$demo/data/Acceso"
cp examples/jobs/data/logo.bmp "$demo/data/logo.bmp"

jobs=$(ls examples/jobs/*.json | wc -l)
server_pid='' agent_pid=''
stop() {
  [ -n "$agent_pid" ] && kill "$agent_pid" 2>/dev/null || true
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
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

timeout 150 build-demo/src/app/quillon-agent --headless --server "127.0.0.1:$port" \
  --spool "$demo/spool" --default-printer Facturas --data-dir "$demo/data" --encoding utf-8 \
  </dev/null >"$demo/agent.log" 2>"$demo/agent.err" &
agent_pid=$!

# The server ends once the agent has answered every job.
wait "$server_pid" || { echo "El servidor de prueba no recibio todas las respuestas" >&2; }
server_pid=''
sleep 0.5

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
for raw in "$demo"/spool/*/*.raw; do
  [ -f "$raw" ] || continue
  echo
  echo "=== $raw (apertura del cajon) ==="
  od -An -tu1 "$raw"
done
