#!/usr/bin/env bash
# End-to-end checks of quillon-agent --headless against the demo print server on loopback.
# Usage: agent_e2e.sh CASE AGENT PRINT_SERVER EXAMPLE_JOBS
# Every process runs under a time limit and is stopped when the case ends.
set -uo pipefail
case_name=$1 agent=$2 server=$3 jobs=$4

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FALLO ($case_name): $*" >&2
  for f in "$work"/*.out "$work"/*.err; do
    [ -f "$f" ] && { echo "--- $f" >&2; cut -c1-300 "$f" >&2; }
  done
  exit 1
}

# A data folder with the example Acceso (a 19-character code and every option) and a spool
# folder with the printers the example jobs name.
mkdir -p "$work/data" "$work/spool/Cocina" "$work/spool/Bar" "$work/spool/Facturas"
cp "$jobs/data/Acceso" "$work/data/Acceso"
code=$(head -n1 "$jobs/data/Acceso" | tr -d '\r')

# Starts the print server with the given options; sets $port.
start_server() {
  timeout 40 "$server" --port 0 --wait-id "$@" >"$work/server.out" 2>"$work/server.err" &
  pids+=($!)
  server_pid=$!
  for _ in $(seq 50); do
    port=$(sed -n 's/^PORT //p' "$work/server.out" 2>/dev/null)
    [ -n "$port" ] && return
    sleep 0.1
  done
  fail "el servidor no anuncio su puerto"
}

start_agent() {
  timeout 40 "$agent" --headless --server "127.0.0.1:$port" --spool "$work/spool" \
    --default-printer Facturas --data-dir "$work/data" --encoding utf-8 "$@" \
    </dev/null >"$work/agent.out" 2>"$work/agent.err" &
  pids+=($!)
  agent_pid=$!
}

# Waits up to $1 seconds for the server to end by itself.
wait_server() {
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$server_pid" 2>/dev/null || return 0
    sleep 0.1
  done
  fail "el servidor no recibio lo esperado a tiempo"
}

count() { grep -c -- "$1" "$2"; }

# Waits up to 5 seconds for the agent to log `$1` at least `$2` times.
wait_log() {
  for _ in $(seq 50); do
    [ "$(count "$1" "$work/agent.out")" -ge "$2" ] && return 0
    sleep 0.1
  done
  return 1
}

fin_line='------------------------------ fin ------------------------------'


id_message="{\"idSyA\":\"$code\",\"type\":\"id\"}"
status_message="{\"idSyA\":\"$code\",\"status\":\"0\"}"

case "$case_name" in
  identification)
    # Identifies on connect, then one status reply after each job, and prints the tickets.
    start_server --job "$jobs/comanda_mesa.json" --job "$jobs/factura_comun.json" \
      --pieces --seed 7 --exit-after-statuses 2
    start_agent
    wait_server 20
    [ "$(sed -n 2p "$work/server.out")" = "$id_message" ] || fail "el primer mensaje no es la identificacion"
    [ "$(count "$status_message" "$work/server.out")" -eq 2 ] || fail "no hubo un estado por trabajo"
    grep -q "\[Informacion\] Sistema de impresora: Conectando al servidor de impresion $" \
      "$work/agent.out" || fail "falta el globo de inicio"
    wait_log "$fin_line" 2 || fail "no se cerraron los dos trabajos"
    diff <(grep -v '^Fecha' "$work/spool/Cocina/000001.txt") \
      <(grep -v '^Fecha' "$jobs/expected/comanda_mesa/Cocina.txt") >/dev/null ||
      fail "la comanda de Cocina no es la esperada"
    [ -f "$work/spool/Facturas/000001.txt" ] || fail "no se imprimio la factura"
    ;;

  reconnection)
    # The server drops the connection halfway through the first job: the agent reconnects
    # within about a second, identifies again and prints the job whole from both halves.
    half=$(($(wc -c <"$jobs/comanda_mesa.json") / 2))
    start_server --job "$jobs/comanda_mesa.json" --drop-after "$half" --exit-after-statuses 1
    start_agent
    wait_server 20
    wait_log "$fin_line" 1 || fail "no se cerro el trabajo"
    [ "$(count "$id_message" "$work/server.out")" -eq 2 ] || fail "no se identifico de nuevo"
    [ "$(count "$status_message" "$work/server.out")" -eq 1 ] || fail "falta el estado del trabajo"
    dropped=$(grep -m1 'Servidor de impresoras desconectado' "$work/agent.out" | cut -c12-19)
    again=$(grep "$id_message" "$work/agent.out" | sed -n 2p | cut -c12-19)
    [ -n "$dropped" ] && [ -n "$again" ] || fail "no se vio la desconexion y la nueva conexion"
    gap=$(( $(date -d "$again" +%s) - $(date -d "$dropped" +%s) ))
    # The watch ticks every second; the margin is for a busy machine, not a speed target.
    [ "$gap" -le 5 ] || fail "tardo $gap s en reconectar"
    diff <(grep -v '^Fecha' "$work/spool/Cocina/000001.txt") \
      <(grep -v '^Fecha' "$jobs/expected/comanda_mesa/Cocina.txt") >/dev/null ||
      fail "el trabajo partido no se imprimio entero"
    [ ! -f "$work/spool/Cocina/000002.txt" ] || fail "el trabajo se imprimio dos veces"
    ;;

  single_instance)
    # A second agent on the same data folder says so and ends; the first one keeps running.
    start_server --job "$jobs/cajon.json"
    start_agent
    for _ in $(seq 50); do grep -q "$id_message" "$work/agent.out" && break; sleep 0.1; done
    timeout 10 "$agent" --headless --server "127.0.0.1:$port" --data-dir "$work/data" \
      </dev/null >"$work/second.out" 2>"$work/second.err"
    status=$?
    [ "$status" -ne 0 ] && [ "$status" -ne 124 ] || fail "la segunda instancia termino con $status"
    grep -q "La Aplicación ya esta en ejecución" "$work/second.err" || fail "falta el mensaje"
    sleep 1.2
    # The lock file names the process that holds the data folder.
    holder=$(head -n1 "$work/data/.quillon-agent.lock")
    [ -n "$holder" ] && kill -0 "$holder" 2>/dev/null || fail "la primera instancia se detuvo"
    [ "$(count "$id_message" "$work/server.out")" -eq 1 ] || fail "la segunda instancia se conecto"
    [ -f "$work/spool/Facturas/000001.raw" ] || fail "la primera instancia no abrio el cajon"
    # An agent that died without cleaning up does not block the next start.
    kill -9 "$holder"
    wait "$agent_pid" 2>/dev/null
    start_agent
    wait_log "$id_message" 1 || fail "no arranco tras una caida de la instancia anterior"
    ;;

  closed_input)
    # No code stored and nobody to type one: the prompt ends the program instead of looping.
    rm "$work/data/Acceso"
    start_server
    timeout 10 "$agent" --headless --server "127.0.0.1:$port" --data-dir "$work/data" \
      </dev/null >"$work/agent.out" 2>"$work/agent.err"
    status=$?
    [ "$status" -ne 0 ] && [ "$status" -ne 124 ] || fail "termino con $status"
    grep -q "No tiene registrado un codigo para esta sucursal" "$work/agent.err" || fail "falta la pregunta"
    grep -q "Se termino la entrada estandar" "$work/agent.err" || fail "falta el aviso de fin de entrada"
    [ ! -s "$work/server.out" ] || [ "$(count "idSyA" "$work/server.out")" -eq 0 ] || fail "se conecto sin codigo"
    # A code typed on standard input is stored and used.
    printf 'corto\n123456789012345\n' | timeout 5 "$agent" --headless \
      --server "127.0.0.1:$port" --data-dir "$work/data" >"$work/typed.out" 2>"$work/typed.err"
    [ "$(cat "$work/data/Acceso")" = $'123456789012345\r\nFacturas y PreFactruas,Mesa,Mostrador,Domicilio\r' ] ||
      fail "el codigo escrito no quedo guardado"
    grep -q '{"idSyA":"123456789012345","type":"id"}' "$work/server.out" || fail "no uso el codigo escrito"
    ;;

  print_job)
    # One job file through the same dispatch; a job that does not parse fails with the
    # parser's error text.
    timeout 20 "$agent" --print-job "$jobs/comanda_mostrador.json" --spool "$work/spool" \
      --default-printer Facturas --data-dir "$work/data" --encoding utf-8 \
      >"$work/agent.out" 2>"$work/agent.err" || fail "el trabajo bueno fallo"
    diff <(grep -v '^Fecha' "$work/spool/Cocina/000001.txt") \
      <(grep -v '^Fecha' "$jobs/expected/comanda_mostrador/Cocina.txt") >/dev/null ||
      fail "la comanda no es la esperada"
    printf '{"config" [], "tipo": "comanda"}' >"$work/bad.json"
    timeout 20 "$agent" --print-job "$work/bad.json" --spool "$work/spool" --data-dir "$work/data" \
      >"$work/bad.out" 2>"$work/bad.err"
    [ $? -eq 1 ] || fail "el trabajo malo no termino con 1"
    grep -q "Invalid" "$work/bad.err" || fail "falta el texto de error del analizador"
    [ ! -f "$work/spool/Cocina/000002.txt" ] || fail "el trabajo malo imprimio algo"
    ;;

  *)
    fail "caso desconocido"
    ;;
esac
echo "OK $case_name"
