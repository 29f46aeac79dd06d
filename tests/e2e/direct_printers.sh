#!/usr/bin/env bash
# The agent against printer-sim, a network receipt printer on loopback reached directly
# (--printer Cocina=tcp://...), with the spool printer Facturas as the default printer.
# Usage: direct_printers.sh CASE AGENT PRINT_SERVER PRINTER_SIM EXAMPLE_JOBS [SETTINGS]
# SETTINGS says where the agent looks for agent.conf: xdg ($XDG_CONFIG_HOME/quillon-agent, Linux;
# the default) or data (the data folder, Windows).
set -uo pipefail
case_name=$1 agent=$2 server=$3 sim=$4 jobs=$5 settings=${6:-xdg}

limit=40
source "$(dirname "$0")/e2e_setup.sh"
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$work/config/quillon-agent" "$work/printed"
conf=$work/config/quillon-agent/agent.conf
[ "$settings" = data ] && conf=$work/data/agent.conf

# The simulator in the mode $1, on a port of its own; sets $sim_port.
start_sim() {
  echo "$1" >"$work/control"
  # Started off it listens on nothing yet, so the port it takes when switched on is chosen here,
  # one the system has free; otherwise it picks its own.
  local chosen=0
  [ "$1" = off ] &&
    chosen=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  timeout "$limit" "$sim" --port "$chosen" --port-file "$work/sim_port" --dir "$work/printed" \
    --control "$work/control" 2>"$work/sim.err" &
  pids+=($!)
  if [ "$chosen" -ne 0 ]; then
    sim_port=$chosen
    return
  fi
  for _ in $(seq 50); do
    sim_port=$(cat "$work/sim_port" 2>/dev/null)
    [ -n "$sim_port" ] && return
    sleep 0.1
  done
  fail "el simulador no anuncio su puerto"
}
sim_mode() { echo "$1" >"$work/control"; }
printed() { ls "$work/printed"/*.escpos 2>/dev/null | wc -l; }

# Waits up to $2 seconds for the agent to log `$1`.
wait_log() {
  for _ in $(seq $(($2 * 10))); do
    grep -q -- "$1" "$work/agent.out" && return 0
    sleep 0.1
  done
  return 1
}
# Waits up to $2 seconds for the simulator to have printed $1 tickets.
wait_printed() {
  for _ in $(seq $(($2 * 10))); do
    [ "$(printed)" -ge "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# The jobs named $1 (example files, in that order) from the print server, to the agent with the
# printer $2 on the simulator; more agent options may follow.
send_jobs() {
  local names=($1) printer=$2 i=0
  shift 2
  mkdir -p "$work/jobs"
  for name in "${names[@]}"; do
    i=$((i + 1))
    cp "$jobs/$name.json" "$work/jobs/$(printf %03d $i).json"
  done
  start_server --job "$work/jobs" --exit-after-statuses "$i"
  start_agent --printer "$printer=tcp://127.0.0.1:$sim_port" "$@"
}
# One kitchen order for Cocina.
send_order() { send_jobs comanda_mostrador Cocina "$@"; }

# Exactly the tickets $2... printed on the simulator (each the text of one, in order), within
# $1 seconds and still so a while later, none left waiting.
expect_printed() {
  local seconds=$1
  shift
  wait_printed $# "$seconds" || fail "se imprimieron $(printed) de $# tickets"
  sleep 3
  [ "$(printed)" -eq $# ] || fail "se imprimieron $(printed) tickets, no $#"
  local number=0
  for text in "$@"; do
    number=$((number + 1))
    local ticket
    ticket=$work/printed/$(printf %04d $number)
    grep -qa -- "$text" "$ticket.escpos" || fail "el ticket $number no es el que lleva $text"
    [ -f "$ticket.png" ] || fail "falta el dibujo del ticket $number"
  done
  [ -z "$(ls "$work/data/outbox"/*.ticket 2>/dev/null)" ] || fail "quedaron tickets en outbox"
}
# Exactly one kitchen order printed.
expect_printed_once() { expect_printed "$1" M-0087; }

case "$case_name" in
  paper_end_before)
    # Out of paper before the ticket: it does not go, the user hears why within about two
    # seconds, and it prints once when the paper is back.
    start_sim paper-end
    send_order --fallback-after 0
    wait_log "La impresora Cocina no responde: 1 ticket sin imprimir (sin papel)" 4 ||
      fail "no se aviso que no hay papel"
    [ "$(printed)" -eq 0 ] || fail "se imprimio sin papel"
    [ "$(ls "$work/data/outbox"/*.ticket | wc -l)" -eq 1 ] || fail "el ticket no espera en outbox"
    sim_mode ready
    expect_printed_once 6
    grep -q "La impresora Cocina volvió" "$work/agent.out" || fail "no se aviso que volvio"
    ;;

  paper_end_after)
    # The paper runs out with the ticket in the printer's buffer: no GS r answer, so the ticket
    # stays in the printer, the status asked then says why, and it prints once, never twice.
    start_sim runs-out
    send_order --fallback-after 0
    wait_log "La impresora Cocina no responde: 1 ticket sin imprimir (sin papel)" 16 ||
      fail "no se aviso que se acabo el papel"
    grep -q "Ticket 1 (comanda) impreso" "$work/agent.out" && fail "se dio por impreso sin papel"
    [ "$(printed)" -eq 0 ] || fail "se imprimio sin papel"
    sim_mode ready
    expect_printed_once 6
    ;;

  off_past_fallback)
    # Off for longer than fallback-after: the order prints once on the default printer, marked
    # as a copy, and never on Cocina when it comes back.
    start_sim off
    send_order --fallback-after 3
    wait_log "La impresora Cocina no responde: 1 ticket sin imprimir (apagada o desconectada)" 4 ||
      fail "no se aviso que esta apagada"
    for _ in $(seq 100); do
      [ -n "$(ls "$work/spool/Facturas"/*.txt 2>/dev/null)" ] && break
      sleep 0.1
    done
    [ "$(ls "$work/spool/Facturas"/*.txt 2>/dev/null | wc -l)" -eq 1 ] ||
      fail "no se imprimio una vez en la predeterminada"
    grep -q "COPIA: la impresora Cocina no respondió" "$work/spool/Facturas"/*.txt ||
      fail "falta la linea COPIA"
    sim_mode ready
    sleep 4
    [ "$(printed)" -eq 0 ] || fail "se imprimio tambien en Cocina"
    ;;

  cover_open)
    # The cover open before the ticket: it waits saying so, and prints once when it is closed.
    start_sim cover-open
    send_order --fallback-after 0
    wait_log "La impresora Cocina no responde: 1 ticket sin imprimir (tapa abierta)" 4 ||
      fail "no se aviso que la tapa esta abierta"
    sleep 2
    [ "$(printed)" -eq 0 ] || fail "se imprimio con la tapa abierta"
    grep -q "Ticket 1 (comanda) impreso" "$work/agent.out" && fail "se dio por impreso con la tapa abierta"
    sim_mode ready
    expect_printed_once 6
    ;;

  off_then_on)
    # Off when the ticket comes: it waits, and prints once when the printer is back on.
    start_sim off
    send_order --fallback-after 0
    wait_log "La impresora Cocina no responde: 1 ticket sin imprimir (apagada o desconectada)" 6 ||
      fail "no se aviso que esta apagada"
    [ "$(ls "$work/data/outbox"/*.ticket | wc -l)" -eq 1 ] || fail "el ticket no espera en outbox"
    sim_mode ready
    expect_printed_once 8
    [ -z "$(ls "$work/spool/Facturas")" ] || fail "se imprimio tambien en la predeterminada"
    ;;

  near_end)
    # Near the end of the roll it still prints, and says so once for two tickets.
    start_sim near-end
    send_jobs "comanda_mostrador comanda_mesa" Cocina
    expect_printed 8 M-0087 "Mesa 12"
    # The balloon is its own line; the log repeats it as a warning.
    [ "$(grep -c "^[0-9-]* [0-9:]* La impresora Cocina se está quedando sin papel$" \
      "$work/agent.out")" -eq 1 ] || fail "el globo de poco papel no salio una vez"
    [ "$(grep -c "\[Aviso\] Impresoras: La impresora Cocina se está quedando sin papel" \
      "$work/agent.out")" -eq 1 ] || fail "el registro no dice una vez que queda poco papel"
    ;;

  drawer)
    # The drawer kick to a direct Facturas reaches that printer once, and no spool printer.
    start_sim ready
    send_jobs cajon Facturas
    for _ in $(seq 50); do
      [ -f "$work/printed/cajon.log" ] && break
      sleep 0.1
    done
    sleep 3
    [ "$(cat "$work/printed/cajon.log" 2>/dev/null | wc -l)" -eq 1 ] ||
      fail "el cajon no se abrio una vez en la impresora"
    [ "$(printed)" -eq 0 ] || fail "el cajon imprimio un ticket"
    [ -z "$(ls "$work/spool/Facturas")" ] || fail "el cajon fue a la cola de Facturas"
    ;;

  settings_printers)
    # Cocina mapped by the [impresoras] section of agent.conf, as Notepad writes it (a byte order
    # mark, CR-LF, comments, a quoted value): the order prints once on the simulator.
    start_sim ready
    printf '\xEF\xBB\xBF; impresoras de la sucursal\r\n[impresoras]\r\n# la de la cocina\r\nCocina = "tcp://127.0.0.1:%s"\r\n' \
      "$sim_port" >"$conf"
    mkdir -p "$work/jobs"
    cp "$jobs/comanda_mostrador.json" "$work/jobs/001.json"
    start_server --job "$work/jobs" --exit-after-statuses 1
    start_agent
    expect_printed_once 20
    [ -z "$(ls "$work/spool/Cocina")" ] || fail "se imprimio en la cola Cocina y no en la de agent.conf"
    ;;

  silent)
    # A printer that answers no status request: one log line, then printed blindly.
    start_sim silent
    send_order
    wait_log "La impresora Cocina no informa su estado" 4 || fail "no se aviso que no informa"
    expect_printed_once 4
    [ "$(grep -c "no informa su estado" "$work/agent.out")" -eq 1 ] || fail "se aviso mas de una vez"
    ;;

  kill_in_printer)
    # kill -9 while the ticket is in the printer's buffer without paper: the next run clears the
    # buffer, sends it again once the printer is ready, and it prints once.
    start_sim runs-out
    send_order --fallback-after 0
    for _ in $(seq 50); do
      grep -q "en el búfer sin imprimir" "$work/sim.err" && break
      sleep 0.1
    done
    grep -q "en el búfer sin imprimir" "$work/sim.err" || fail "el ticket no llego a la impresora"
    # The agent itself, not the time limit around it: its lock file names it.
    kill -9 "$(head -n1 "$work/data/.quillon-agent.lock")"
    wait "$agent_pid" 2>/dev/null
    sim_mode paper-end
    mv "$work/agent.out" "$work/first.out"
    start_agent --printer "Cocina=tcp://127.0.0.1:$sim_port" --fallback-after 0
    wait_log "estaba en la impresora" 4 || fail "no se pregunto por el ticket de antes"
    sleep 3
    [ "$(printed)" -eq 0 ] || fail "se imprimio sin papel"
    sim_mode ready
    expect_printed_once 8
    ;;

  bad_address)
    # A bad address stops the start, in the file as on the command line.
    printf '[impresoras]\nCocina = tcp://cocina:99999\n' >"$conf"
    timeout 30 "$agent" --headless --data-dir "$work/data" </dev/null >"$work/agent.out" \
      2>"$work/agent.err"
    [ $? -eq 2 ] || fail "una direccion mala no termino con 2"
    grep -q "agent.conf: impresoras/Cocina=tcp://cocina:99999: no es una dirección válida: tcp://HOST\[:PUERTO\]" \
      "$work/agent.err" || fail "el mensaje no nombra archivo, clave y lo aceptado"
    rm "$conf"
    timeout 30 "$agent" --headless --data-dir "$work/data" --printer "Bar=ipp://x" </dev/null \
      >"$work/agent.out" 2>"$work/agent.err"
    [ $? -eq 2 ] || fail "--printer malo no termino con 2"
    grep -q "Impresora no válida en --printer: Bar=ipp://x" "$work/agent.err" ||
      fail "el mensaje de --printer no nombra la opcion"
    ;;

  test_print)
    # The test ticket on a spool printer, on an alias of it and on a direct printer: each
    # printed once, saying how it was reached; on a direct printer out of paper it waits, says
    # why and ends with 1.
    start_sim ready
    one_off() {
      timeout 30 "$agent" --data-dir "$work/data" --spool "$work/spool" --default-printer Facturas \
        "$@" </dev/null >"$work/agent.out" 2>"$work/agent.err"
    }
    one_off --test-print Facturas || fail "la prueba en la cola Facturas no termino con 0"
    one_off --printer Caja=Facturas --test-print Caja || fail "la prueba en el alias no termino con 0"
    [ "$(ls "$work/spool/Facturas"/*.txt | wc -l)" -eq 2 ] || fail "no hay dos pruebas en Facturas"
    grep -q "Conexión: alias de la impresora Facturas" "$work/spool/Facturas"/*.txt ||
      fail "la prueba del alias no dice como se llega"
    grep -q "ÁÉÍÓÚ Ñ ñ ¿¡ \$ 12.500" "$work/spool/Facturas"/*.txt || fail "falta la linea de acentos"
    one_off --printer "Cocina=tcp://127.0.0.1:$sim_port" --test-print Cocina ||
      fail "la prueba en la impresora de red no termino con 0"
    [ "$(printed)" -eq 1 ] || fail "la impresora de red imprimio $(printed) pruebas"
    grep -qa "tcp://127.0.0.1:$sim_port" "$work/printed/0001.escpos" || fail "la prueba no dice la direccion"
    sim_mode paper-end
    one_off --printer "Cocina=tcp://127.0.0.1:$sim_port" --test-print Cocina
    [ $? -eq 1 ] || fail "la prueba sin papel no termino con 1"
    grep -q "sin papel" "$work/agent.err" "$work/agent.out" || fail "no dice por que espera"
    [ "$(printed)" -eq 1 ] || fail "sin papel se imprimio una prueba"
    ;;

  *)
    echo "caso desconocido: $case_name" >&2
    exit 2
    ;;
esac
echo "ok ($case_name)"
