#!/usr/bin/env bash
# Printers that take a ticket and do not print it, through a CUPS server of its own: a kitchen
# printer switched off while its queue is there, switched on before the fallback time (printed
# once there) or after it (printed once on the default printer, marked as a copy, and nothing
# left on the dead queue); a queue that holds its jobs, handled the same; and an agent killed
# while its ticket is held, the printer on after the restart: exactly one copy.
# Usage: not_responding.sh QUILLON_AGENT SOURCE_DIR PRINT_SERVER
set -euo pipefail
agent=$1 source=$2 print_server=$3
here=$(cd "$(dirname "$0")" && pwd)
export PATH="$PATH:/usr/sbin:/sbin"

source "$here/queue_test_setup.sh"
need_root_and_tools cupsd lpadmin lpstat lp cancel python3
make_work_folder quillon-responding
start_listeners Cocina Caja
server="$work/cups"
mkdir -p "$work/client"
export CUPS_SERVERROOT="$work/client" QT_QPA_PLATFORM=offscreen
unset LPDEST PRINTER
start_cupsd || start_cupsd || {
  cat "$server/log/error_log" 2>/dev/null || true
  echo "FALLO: cupsd no arranca"
  exit 1
}
for queue in Cocina Caja; do lpadmin -p "$queue" -E -v "socket://127.0.0.1:${port[$queue]}"; done
lpadmin -d Caja

# Kitchen orders for Cocina numbered P-1..P-N, in $work/$1.
kitchen_orders() {
  local i
  mkdir -p "$work/$1"
  for i in $(seq "$2"); do
    sed "s/\"M-0087\"/\"P-$i\"/" "$source/examples/jobs/comanda_mostrador.json" \
      >"$work/$1/$(printf %03d "$i").json"
  done
}
# The order numbers printed on the tickets a queue received after its first $2, in order.
numbers_on() {
  local file
  for file in $(find "$work/out/$1" -name '*.bin' | sort | tail -n +$(($2 + 1))); do
    python3 "$here/escpos_text.py" "$file" || true
  done | grep -oE '^Pedido P-[0-9]+' | grep -oE '[0-9]+$' | tr '\n' ' ' || true
}
copies_on() {
  local file
  for file in $(find "$work/out/$1" -name '*.bin' | sort | tail -n +$(($2 + 1))); do
    python3 "$here/escpos_text.py" "$file" || true
  done | grep -c '^COPIA: la impresora Cocina no respondió' || true
}
# Waits up to $2 seconds for a line of the agent's output holding $1.
wait_for_line() {
  local i
  for i in $(seq $(($2 * 10))); do
    grep -qF "$1" "$work/running.out" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}
stop_agent() {
  kill "$agent_pid" 2>/dev/null || true
  wait "$agent_pid" 2>/dev/null || true
}
jobs_on() { lpstat -o "$1" 2>/dev/null | wc -l; }
outbox_count() { find "$1/outbox" -maxdepth 1 -name '*.ticket' | wc -l; }

# --- switched off, then on before the fallback time ---
kitchen_orders uno 1
cp -r "$source/examples/jobs/data" "$work/d1"
switch_off Cocina
agent_options=(--fallback-after 60)
: >"$work/running.out"
started=$SECONDS
run_agent_with_server "$work/d1" --job "$work/uno" --exit-after-statuses 1
if wait_for_line "La impresora Cocina no responde: 1 ticket sin imprimir" 40; then
  pass "el aviso de que Cocina no responde llega en $((SECONDS - started)) s"
else
  fail "no hubo aviso de que Cocina no responde"
fi
"$agent" --data-dir "$work/d1" --list-tickets 2>/dev/null | grep -q "En la impresora" &&
  pass "el ticket se lista como en la impresora, no como impreso" ||
  fail "el ticket no figura en la impresora: $("$agent" --data-dir "$work/d1" --list-tickets)"
switch_on Cocina
wait_for_line "La impresora Cocina volvió: se imprimió el ticket" 60 &&
  pass "al encenderla se avisa que volvió" || fail "no se aviso que Cocina volvio"
settle
[ "$(numbers_on Cocina 0)" = "1 " ] && [ "$(received Caja)" -eq 0 ] &&
  pass "el ticket se imprime una vez en Cocina y nada en la predeterminada" ||
  fail "Cocina [$(numbers_on Cocina 0)], Caja recibio $(received Caja)"
[ "$(outbox_count "$work/d1")" -eq 0 ] && pass "el ticket impreso sale de outbox" ||
  fail "quedan $(outbox_count "$work/d1") tickets en outbox"
stop_agent

# --- switched off past the fallback time: ten orders ---
kitchen_orders diez 10
cp -r "$source/examples/jobs/data" "$work/d2"
switch_off Cocina
before_cocina=$(received Cocina)
agent_options=(--fallback-after 20)
: >"$work/running.out"
started=$SECONDS
run_agent_with_server "$work/d2" --job "$work/diez" --exit-after-statuses 10
wait_for_line "La impresora Cocina no responde" 40 &&
  pass "10 comandas: el aviso llega en $((SECONDS - started)) s" || fail "10 comandas: sin aviso"
[ "$(received Caja)" -eq 0 ] && pass "nada va a la predeterminada antes del tiempo" ||
  fail "la predeterminada recibio $(received Caja) antes del tiempo"
wait_for_line "Los tickets de Cocina se imprimieron en Caja" 60 &&
  pass "se avisa que los tickets de Cocina se imprimieron en Caja ($((SECONDS - started)) s)" ||
  fail "no se aviso del paso a Caja"
settle
[ "$(numbers_on Caja 0)" = "1 2 3 4 5 6 7 8 9 10 " ] &&
  pass "las 10 comandas se imprimen una vez en la predeterminada, en orden" ||
  fail "en Caja: [$(numbers_on Caja 0)]"
[ "$(copies_on Caja 0)" -eq 10 ] && pass "cada una lleva la linea COPIA" ||
  fail "llevan COPIA $(copies_on Caja 0) de 10"
[ "$(jobs_on Cocina)" -eq 0 ] && pass "no queda ningun trabajo en la cola de Cocina" ||
  fail "quedan $(jobs_on Cocina) trabajos en Cocina"
switch_on Cocina
sleep 4
[ "$(received Cocina)" -eq "$before_cocina" ] &&
  pass "al encender Cocina despues no se imprime nada de nuevo" ||
  fail "Cocina recibio $(($(received Cocina) - before_cocina)) trabajos al encenderse"
stop_agent

# --- a queue that holds its jobs, as CUPS does with a backend that fails ---
kitchen_orders tres 1
cp -r "$source/examples/jobs/data" "$work/d3"
before_cocina=$(received Cocina) before_caja=$(received Caja)
lpadmin -p Cocina -o job-hold-until-default=indefinite
agent_options=(--fallback-after 20)
: >"$work/running.out"
run_agent_with_server "$work/d3" --job "$work/tres" --exit-after-statuses 1
wait_for_line "La impresora Cocina no responde: 1 ticket sin imprimir (no se pudo enviar el trabajo)" 40 &&
  pass "un trabajo retenido hace que Cocina no responda" || fail "sin aviso del trabajo retenido"
wait_for_line "El ticket de Cocina se imprimió en Caja" 60 &&
  pass "el ticket retenido pasa a la predeterminada" || fail "el ticket retenido no paso a Caja"
lpadmin -p Cocina -R job-hold-until-default
settle
[ "$(numbers_on Caja "$before_caja")" = "1 " ] && [ "$(received Cocina)" -eq "$before_cocina" ] &&
  [ "$(jobs_on Cocina)" -eq 0 ] &&
  pass "el ticket retenido se imprime una vez, en la predeterminada" ||
  fail "retenido: Caja [$(numbers_on Caja "$before_caja")], Cocina $(received Cocina), en cola $(jobs_on Cocina)"
stop_agent

# --- killed while the ticket is held; the printer on after the restart ---
kitchen_orders cuatro 1
cp -r "$source/examples/jobs/data" "$work/d4"
before_cocina=$(received Cocina) before_caja=$(received Caja)
lpadmin -p Cocina -o job-hold-until-default=indefinite
agent_options=(--fallback-after 600)
: >"$work/running.out"
run_agent_with_server "$work/d4" --job "$work/cuatro" --exit-after-statuses 1
wait_for_server || fail "el servidor de demostracion no termino"
for _ in $(seq 50); do [ "$(jobs_on Cocina)" -eq 1 ] && break; sleep 0.1; done
# The agent itself, not the timeout in front of it.
kill -9 $(pgrep -P "$agent_pid") "$agent_pid"
wait "$agent_pid" 2>/dev/null || true
submitted=$(grep -c "Print-Job" "$server/log/access_log")
: >"$work/running.out"
run_agent_with_server "$work/d4" --exit-after-statuses 1
wait_for_line "1 ticket de la ejecución anterior estaba en la impresora" 20 ||
  fail "el agente no retomo el ticket que estaba en la impresora: $(head -5 "$work/running.out")"
lpadmin -p Cocina -R job-hold-until-default
for job in $(lpstat -o Cocina | awk '{print $1}'); do lp -i "$job" -H resume >/dev/null; done
settle
for _ in $(seq 50); do [ "$(outbox_count "$work/d4")" -eq 0 ] && break; sleep 0.2; done
[ "$(numbers_on Cocina "$before_cocina")" = "1 " ] && [ "$(received Caja)" -eq "$before_caja" ] &&
  [ "$(grep -c "Print-Job" "$server/log/access_log")" -eq "$submitted" ] &&
  pass "tras kill -9 con el ticket retenido se imprime exactamente una copia" ||
  fail "tras kill -9: Cocina [$(numbers_on Cocina "$before_cocina")], Caja $(received Caja)"
[ "$(outbox_count "$work/d4")" -eq 0 ] && pass "y sale de outbox al imprimirse" ||
  fail "tras kill -9 quedan $(outbox_count "$work/d4") tickets en outbox"
stop_agent

if [ "$failures" -ne 0 ]; then
  echo "$failures comprobaciones fallaron"
  exit 1
fi
echo "todas las comprobaciones pasaron"
