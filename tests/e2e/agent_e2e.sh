#!/usr/bin/env bash
# End-to-end checks of quillon-agent --headless against the demo print server on loopback.
# Usage: agent_e2e.sh CASE AGENT PRINT_SERVER EXAMPLE_JOBS
# Every process runs under a time limit and is stopped when the case ends.
set -uo pipefail
case_name=$1 agent=$2 server=$3 jobs=$4

limit=90
source "$(dirname "$0")/e2e_setup.sh"
code=$(head -n1 "$jobs/data/Acceso" | tr -d '\r')

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

source "$(dirname "$0")/numbered_jobs.sh"

# The order and bill numbers printed in a printer's folder, ticket by ticket in file order.
printed_numbers() {
  for f in "$work/spool/$1"/*.txt; do [ -f "$f" ] && cat "$f"; done | ticket_numbers
}

# Waits up to $1 seconds until the $2 jobs of make_jobs are printed, then checks that each was
# printed exactly once, in the order sent, and that nothing is left in the outbox.
expect_all_printed() {
  local wanted_cocina wanted_facturas
  wanted_cocina=$(wanted_numbers "$2" Cocina)
  wanted_facturas=$(wanted_numbers "$2" Facturas)
  for _ in $(seq $(($1 * 10))); do
    [ "$(printed_numbers Cocina)" = "$wanted_cocina" ] &&
      [ "$(printed_numbers Facturas)" = "$wanted_facturas" ] && break
    sleep 0.1
  done
  [ "$(printed_numbers Cocina)" = "$wanted_cocina" ] ||
    fail "Cocina imprimio [$(printed_numbers Cocina)], se esperaba [$wanted_cocina]"
  [ "$(printed_numbers Facturas)" = "$wanted_facturas" ] ||
    fail "Facturas imprimio [$(printed_numbers Facturas)], se esperaba [$wanted_facturas]"
  [ -z "$(ls "$work/data/outbox"/*.ticket 2>/dev/null)" ] || fail "quedaron tickets en outbox"
  # Nothing comes out a second time later.
  sleep 3
  [ "$(printed_numbers Cocina)$(printed_numbers Facturas)" = "$wanted_cocina$wanted_facturas" ] ||
    fail "se imprimio algo dos veces"
}

# Sends $1 numbered jobs while Cocina and the default printer Facturas cannot print, and checks
# that every ticket waits in the outbox and is shown as waiting.
send_while_printers_fail() {
  make_jobs "$1" "$work/jobs" "$jobs"
  start_server --job "$work/jobs" --exit-after-statuses "$1"
  start_agent
  wait_server 40
  [ "$(ls "$work/data/outbox"/*.ticket | wc -l)" -eq "$1" ] || fail "no quedaron $1 tickets en outbox"
  [ -z "$(ls "$work/spool/Cocina"/*.txt "$work/spool/Facturas"/*.txt 2>/dev/null)" ] ||
    fail "se imprimio con las impresoras caidas"
  grep -q "tickets esperando la impresora Cocina" "$work/agent.out" || fail "no se aviso la espera"
}


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

  file_log)
    # Every line and balloon of the run is also in registro/ of the data folder, in order,
    # within a second or so of being written.
    start_server --job "$jobs/comanda_mesa.json" --job "$jobs/factura_comun.json" \
      --exit-after-statuses 2
    start_agent
    wait_server 20
    wait_log "$fin_line" 2 || fail "no se cerraron los dos trabajos"
    # The agent goes on writing (it tries to reconnect every second): the lines up to the second
    # job's end are compared, once the file has caught up with them.
    lines=$(grep -nF -- "$fin_line" "$work/agent.out" | sed -n 2p | cut -d: -f1)
    for _ in $(seq 50); do
      cmp -s <(head -n "$lines" "$work/agent.out") \
        <(cat "$work/data/registro"/*.log 2>/dev/null | head -n "$lines") && break
      sleep 0.1
    done
    diff <(head -n "$lines" "$work/agent.out") <(cat "$work/data/registro"/*.log | head -n "$lines") \
      >"$work/registro.diff" ||
      fail "registro/ no tiene las lineas de la salida: $(head -c 600 "$work/registro.diff")"
    ls "$work/data/registro" | grep -qE '^[0-9]{4}-[0-9]{2}-[0-9]{2}\.log$' ||
      fail "el archivo del registro no se llama AAAA-MM-DD.log"
    grep -q "\[Informacion\] Sistema de impresora: Conectando" "$work/data/registro"/*.log ||
      fail "falta el globo en el registro"
    # Stopped as a service is (SIGTERM) just after a line, which still waits in memory: the
    # file gets it on the way out.
    seen=$(wc -l <"$work/agent.out")
    for _ in $(seq 50); do
      [ "$(wc -l <"$work/agent.out")" -gt "$seen" ] && break
      sleep 0.05
    done
    kill -TERM "$(head -n1 "$work/data/.quillon-agent.lock")"
    wait "$agent_pid" 2>/dev/null
    diff "$work/agent.out" <(cat "$work/data/registro"/*.log) >"$work/registro.diff" ||
      fail "al detenerse con SIGTERM faltan lineas en registro/: $(head -c 600 "$work/registro.diff")"
    ;;

  reconnection)
    # The server drops the connection halfway through the first job and goes on with the next
    # one on the next connection: the agent reconnects within about a second, identifies
    # again, drops the half job with a log line and prints the next one.
    half=$(($(wc -c <"$jobs/comanda_mesa.json") / 2))
    start_server --job "$jobs/comanda_mesa.json" --job "$jobs/cajon.json" --drop-after "$half" \
      --exit-after-statuses 1
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
    # Counted in characters: the UTF-8 bytes that do not continue a character.
    characters=$(head -c "$half" "$jobs/comanda_mesa.json" | LC_ALL=C tr -d '\200-\277' | wc -c)
    grep -q "Se descartaron $characters caracteres recibidos sin \"_endMessage_\"" \
      "$work/agent.out" || fail "no se dijo cuanto texto se descarto"
    [ -f "$work/spool/Facturas/000001.raw" ] || fail "no se abrio el cajon"
    [ ! -f "$work/spool/Cocina/000001.txt" ] || fail "se imprimio el trabajo cortado"
    ;;

  rejected)
    # A job of an unknown kind, in Windows-1252 with an escape sequence in it: a balloon says
    # so, the log carries the escape written out, and the job is kept byte for byte where
    # --check-job reads it as the agent did.
    printf '{"config":[],"dato":{"cliente":"Pe\xf1a \x1b[2J"},"tipo":"regalo"}' >"$work/regalo.json"
    start_server --job "$work/regalo.json" --exit-after-statuses 1
    start_agent --encoding windows-1252
    wait_server 20
    wait_log "$fin_line" 1 || fail "no se cerro el trabajo"
    grep -q '\[Aviso\] Trabajo sin imprimir: Trabajo sin imprimir: el "tipo" "regalo" no es ninguno' \
      "$work/agent.out" || fail "falta el globo del trabajo rechazado"
    ! grep -q $'\x1b' "$work/agent.out" || fail "la salida lleva la secuencia de escape tal cual"
    grep -qF 'Peña \x1B[2J' "$work/agent.out" || fail "la secuencia no se ve escrita"
    kept=$(ls "$work/data/rechazados/"*-trabajo.json 2>/dev/null)
    [ "$(echo "$kept" | wc -w)" -eq 1 ] || fail "no se guardo el trabajo en rechazados"
    cmp -s "$kept" "$work/regalo.json" || fail "lo guardado no son los bytes recibidos"
    "$agent" --check-job "$kept" >"$work/check.out" 2>"$work/check.err" ||
      fail "--check-job no lee lo guardado"
    grep -q '"tipo":"regalo"' "$work/check.out" && grep -q 'Peña' "$work/check.out" ||
      fail "--check-job no lee el trabajo como el agente"
    ;;

  overlong)
    # More than 16 MiB without a terminator, then a whole kitchen order under the same
    # terminator, then a drawer kick: only the over-long text is lost.
    { head -c $((17 * 1024 * 1024)) /dev/zero | tr '\0' 'x'; cat "$jobs/comanda_mesa.json"; } \
      >"$work/largo.json"
    start_server --job "$work/largo.json" --job "$jobs/cajon.json" --exit-after-statuses 2
    start_agent
    wait_server 30
    wait_log "$fin_line" 2 || fail "no se cerraron los dos trabajos"
    grep -q 'caracteres recibidos: el texto pas. de 16 MiB sin "_endMessage_"' "$work/agent.out" ||
      fail "no se dijo que se descarto el texto largo"
    diff <(grep -v '^Fecha' "$work/spool/Cocina/000001.txt") \
      <(grep -v '^Fecha' "$jobs/expected/comanda_mesa/Cocina.txt") >/dev/null ||
      fail "la comanda tras el texto largo no se imprimio entera"
    [ -f "$work/spool/Facturas/000001.raw" ] || fail "no se abrio el cajon"
    ;;

  single_instance)
    # A lock file left by a power cut, a crash or a renamed PC, whatever it holds, never stops
    # a start.
    start_server
    for leftover in '' $'\x01\xff basura' $'1\nquillon-agent\nOTRO-PC-DE-LA-SUCURSAL\n'; do
      printf '%s' "$leftover" >"$work/data/.quillon-agent.lock"
      start_agent
      for _ in $(seq 50); do grep -q "$id_message" "$work/agent.out" && break; sleep 0.1; done
      grep -q "$id_message" "$work/agent.out" || fail "un archivo de bloqueo viejo impidio arrancar"
      kill "$agent_pid"
      wait "$agent_pid" 2>/dev/null
    done
    kill "$server_pid"
    wait "$server_pid" 2>/dev/null
    # A second agent on the same data folder says so and ends; the first one keeps running.
    start_server --job "$jobs/cajon.json"
    start_agent
    for _ in $(seq 50); do grep -q "$id_message" "$work/agent.out" && break; sleep 0.1; done
    timeout 10 "$agent" --headless --server "127.0.0.1:$port" --data-dir "$work/data" \
      </dev/null >"$work/second.out" 2>"$work/second.err"
    status=$?
    [ "$status" -eq 1 ] || fail "la segunda instancia termino con $status"
    grep -q "La Aplicación ya esta en ejecución" "$work/second.err" || fail "falta el mensaje"
    # A one-off job leaves the folder to the running agent.
    timeout 20 "$agent" --print-job "$jobs/comanda_mostrador.json" --spool "$work/spool" \
      --data-dir "$work/data" --encoding utf-8 >"$work/job.out" 2>"$work/job.err"
    [ $? -eq 1 ] && [ -s "$work/job.err" ] || fail "--print-job no cedio la carpeta al agente"
    [ ! -f "$work/spool/Cocina/000001.txt" ] || fail "--print-job imprimio junto al agente"
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

  offline_then_back)
    # The area and default printers are offline while 20 jobs come; once back, all print.
    touch "$work/spool/Cocina/offline" "$work/spool/Facturas/offline"
    send_while_printers_fail 20
    # Cocina first: a kitchen ticket must not slip to the default printer meanwhile.
    rm "$work/spool/Cocina/offline"
    rm "$work/spool/Facturas/offline"
    expect_all_printed 60 20
    grep -q "Se imprimieron los 10 tickets que esperaban la impresora Cocina" "$work/agent.out" ||
      fail "no se aviso que se imprimieron"
    ;;

  full_disk)
    # A data folder that takes no ticket while the printers are off: the agent says so at once,
    # writes the tickets once there is room, and a kill -9 after that loses none of them.
    mkdir -p "$work/data/outbox"
    for id in $(seq 1 10); do mkdir -p "$work/data/outbox/$(printf %012d "$id").ticket.part"; done
    touch "$work/spool/Cocina/offline" "$work/spool/Facturas/offline"
    make_jobs 10 "$work/jobs" "$jobs"
    start_server --job "$work/jobs" --exit-after-statuses 10
    start_agent
    wait_server 40
    wait_log "No hay espacio en disco: 10 tickets sin copia" 1 || fail "no se aviso la falta de espacio"
    [ -z "$(ls "$work/data/outbox"/*.ticket 2>/dev/null)" ] || fail "hubo copias sin espacio"
    rm -r "$work/data/outbox"/*.part
    # At the next retry, a minute at most.
    for _ in $(seq 700); do
      [ "$(ls "$work/data/outbox"/*.ticket 2>/dev/null | wc -l)" -eq 10 ] && break
      sleep 0.1
    done
    grep -q "Los 10 tickets sin copia ya están guardados en la bandeja de salida" "$work/agent.out" ||
      fail "no se guardaron al volver el espacio"
    kill -9 "$(head -n1 "$work/data/.quillon-agent.lock")"
    wait "$agent_pid" 2>/dev/null
    rm "$work/spool/Cocina/offline" "$work/spool/Facturas/offline"
    start_agent
    expect_all_printed 60 10
    ;;

  kill_restart)
    # The same with the agent killed while the tickets wait, and started again.
    touch "$work/spool/Cocina/offline" "$work/spool/Facturas/offline"
    send_while_printers_fail 20
    # The agent itself, not the time limit around it: its lock file names it.
    kill -9 "$(head -n1 "$work/data/.quillon-agent.lock")"
    wait "$agent_pid" 2>/dev/null
    start_agent
    wait_log "20 tickets de la ejecución anterior esperan su impresora" 1 ||
      fail "el agente no retomo los tickets en espera"
    rm "$work/spool/Cocina/offline"
    rm "$work/spool/Facturas/offline"
    expect_all_printed 60 20
    ;;

  missing_then_created)
    # The printers' folders do not exist yet when the agent starts and the jobs come.
    rm -r "$work/spool/Cocina" "$work/spool/Facturas"
    send_while_printers_fail 6
    mkdir "$work/spool/Cocina"
    mkdir "$work/spool/Facturas"
    expect_all_printed 60 6
    ;;

  read_only)
    # Folders that take no files: the tickets wait until they can be written.
    chattr +i "$work/spool/Cocina" "$work/spool/Facturas" 2>/dev/null ||
      { echo "OMITIDA: chattr +i no se puede usar aqui"; exit 77; }
    trap 'chattr -i "$work/spool/Cocina" "$work/spool/Facturas"; cleanup' EXIT
    send_while_printers_fail 6
    chattr -i "$work/spool/Cocina" "$work/spool/Facturas"
    expect_all_printed 60 6
    ;;

  reprint)
    # The last printed tickets are listed, and printed again through the running agent or,
    # without one, by the command line itself.
    start_server --job "$jobs/comanda_mostrador.json" --exit-after-statuses 1
    start_agent
    wait_server 20
    wait_log "$fin_line" 1 || fail "no se cerro el trabajo"
    list=$(timeout 20 "$agent" --list-tickets --data-dir "$work/data")
    echo "$list" | grep -qE '^  1  [0-9-]+ [0-9:]+  Cocina  comanda$' || fail "lista: $list"
    again=$(timeout 30 "$agent" --reprint 1 --data-dir "$work/data" 2>&1) ||
      fail "la reimpresion por el agente fallo: $again"
    [ "$again" = "Ticket 1 reimpreso en Cocina" ] || fail "respuesta: $again"
    cmp -s "$work/spool/Cocina/000001.txt" "$work/spool/Cocina/000002.txt" ||
      fail "la reimpresion no es el mismo ticket"
    timeout 30 "$agent" --reprint 1 --printer bar --data-dir "$work/data" >/dev/null 2>&1 ||
      fail "la reimpresion en Bar fallo"
    cmp -s "$work/spool/Cocina/000001.txt" "$work/spool/Bar/000001.txt" || fail "Bar no la recibio"
    timeout 20 "$agent" --reprint 7 --data-dir "$work/data" >/dev/null 2>"$work/unknown.err"
    [ $? -eq 2 ] && grep -q "No hay un ticket impreso con el número 7" "$work/unknown.err" ||
      fail "un numero que no existe, con el agente en marcha"
    kill "$agent_pid"
    wait "$agent_pid" 2>/dev/null
    timeout 30 "$agent" --reprint 1 --data-dir "$work/data" --spool "$work/spool" \
      --default-printer Facturas >"$work/alone.out" 2>&1 || fail "sin agente: $(cat "$work/alone.out")"
    cmp -s "$work/spool/Cocina/000001.txt" "$work/spool/Cocina/000003.txt" ||
      fail "sin agente no se reimprimio"
    # A number no ticket has, too large for any, or no number: said in Spanish, status 2.
    for number in 99 99999999999999999999999 18446744073709551616 12abc -1 ""; do
      timeout 20 "$agent" --reprint "$number" --data-dir "$work/data" --spool "$work/spool" \
        >"$work/bad.out" 2>"$work/bad.err"
      status=$?
      [ "$status" -eq 2 ] || fail "--reprint '$number' termino con $status"
      grep -qE "No hay un ticket impreso con el número|Numero de ticket" "$work/bad.err" ||
        fail "--reprint '$number' no dijo por que"
    done
    ;;

  discard)
    # A waiting ticket set aside from the command line: through the running agent, or without
    # one; either way kept in outbox/descartados and never printed.
    touch "$work/spool/Cocina/offline" "$work/spool/Facturas/offline"
    start_server --job "$jobs/comanda_mostrador.json" --exit-after-statuses 1
    start_agent
    wait_server 20
    wait_log "$fin_line" 1 || fail "no se cerro el trabajo"
    answer=$(timeout 30 "$agent" --discard 1 --data-dir "$work/data" 2>&1) ||
      fail "el descarte por el agente fallo: $answer"
    [ "$answer" = "Ticket 1 descartado: queda en outbox/descartados" ] || fail "respuesta: $answer"
    [ -f "$work/data/outbox/descartados/000000000001.ticket" ] || fail "no quedo en descartados"
    timeout 20 "$agent" --discard 1 --data-dir "$work/data" >/dev/null 2>"$work/again.err"
    [ $? -eq 2 ] && grep -q "No hay un ticket en espera con el número 1" "$work/again.err" ||
      fail "un ticket ya descartado, con el agente en marcha"
    rm "$work/spool/Cocina/offline" "$work/spool/Facturas/offline"
    sleep 3
    [ -z "$(find "$work/spool/Cocina" "$work/spool/Facturas" -type f)" ] ||
      fail "el ticket descartado se imprimio"
    kill "$agent_pid"
    wait "$agent_pid" 2>/dev/null
    # Without an agent: the command line takes the outbox itself.
    touch "$work/spool/Cocina/offline" "$work/spool/Facturas/offline"
    timeout 30 "$agent" --print-job "$jobs/comanda_mostrador.json" --data-dir "$work/data" \
      --spool "$work/spool" --default-printer Facturas >/dev/null 2>&1
    timeout 30 "$agent" --discard 2 --data-dir "$work/data" --spool "$work/spool" \
      --default-printer Facturas >"$work/alone.out" 2>&1 || fail "sin agente: $(cat "$work/alone.out")"
    [ -f "$work/data/outbox/descartados/000000000002.ticket" ] &&
      [ -z "$(ls "$work/data/outbox"/*.ticket 2>/dev/null)" ] || fail "sin agente no se descarto"
    ;;

  *)
    fail "caso desconocido"
    ;;
esac
echo "OK $case_name"
