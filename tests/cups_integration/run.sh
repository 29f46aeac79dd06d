#!/usr/bin/env bash
# Prints through a CUPS server of its own: a private cupsd on a free loopback port, raw queues
# and one queue with a driver in front of small listeners that keep what each job delivers.
# First the CUPS adapter alone (listing, probe, backends), then the example jobs through
# quillon-agent --print-job: kitchen tickets on the queues of their areas, the invoice on the
# default queue, the drawer bytes, the fallback from a stopped queue, and a stopped default.
# Last the running agent against the demo print server: tickets that wait while CUPS is stopped
# print once it runs again, and an agent started before CUPS and its queues prints once they are
# there.
# Usage: run.sh QUILLON_AGENT CUPS_ADAPTER_DRIVER SOURCE_DIR PRINT_SERVER
set -euo pipefail
agent=$1 driver=$2 source=$3 print_server=$4
here=$(cd "$(dirname "$0")" && pwd)
export PATH="$PATH:/usr/sbin:/sbin"

source "$here/queue_test_setup.sh"
need_root_and_tools cupsd lpadmin lpstat cupsenable cupsdisable cupsaccept cupsreject python3
make_work_folder quillon-cups
start_listeners Cocina Bar Facturas Caja Paginas

# --- the private CUPS server ---
server="$work/cups"
mkdir -p "$server"/{etc,spool,cache,state,tmp,log} "$work/client"
# The clients read no configuration of this machine: no lpoptions default, no client.conf.
export CUPS_SERVERROOT="$work/client" QT_QPA_PLATFORM=offscreen
unset LPDEST PRINTER
started=no
for _ in 1 2 3; do
  if start_cupsd; then started=yes; break; fi
  kill "$cupsd_pid" 2>/dev/null || true
  wait "$cupsd_pid" 2>/dev/null || true
done
if [ "$started" != yes ]; then
  cat "$server/log/cupsd.out" "$server/log/error_log" 2>/dev/null || true
  echo "FALLO: cupsd no arranca"
  exit 1
fi
echo "cupsd en $CUPS_SERVER"

add_raw_queues() {
  for queue in "$@"; do
    lpadmin -p "$queue" -E -v "socket://127.0.0.1:${port[$queue]}"
  done
}
add_raw_queues Cocina Bar Facturas Caja
lpadmin -p Paginas -E -v "socket://127.0.0.1:${port[Paginas]}/?snmp=false" \
  -P "$here/pdf_ticket.ppd" 2>/dev/null
lpadmin -d Caja

# --- helpers ---
expect_count() {  # queue count what
  local n
  n=$(received "$1")
  if [ "$n" -eq "$2" ]; then pass "$3"; else fail "$3: $1 recibio $n trabajos, se esperaban $2"; fi
}
expect_ticket() {  # queue expected.txt what
  if python3 "$here/escpos_text.py" "$(last_job "$1")" "$2"; then pass "$3"; else fail "$3"; fi
}
adapter() { "$driver" "$@" 2>/dev/null || true; }  # its output says what happened
run_agent() {  # job file; output in $work/agent.out
  timeout 120 "$agent" --headless --data-dir "$work/data" --encoding utf-8 \
    --print-job "$source/examples/jobs/$1" >"$work/agent.out" 2>&1 || true
  grep -E "\[(Informacion|Advertencia|Error)\]" "$work/agent.out" | cut -c21- || true
}

# --- the CUPS adapter alone ---
[ "$(adapter find cocina)" = "Cocina" ] && [ "$(adapter default)" = "Caja" ] &&
  pass "colas por nombre sin importar mayusculas y la predeterminada" ||
  fail "busqueda de colas: $(adapter find cocina) / $(adapter default)"

[ "$(adapter names | sort | tr '\n' ' ')" = "Bar Caja Cocina Facturas Paginas " ] &&
  pass "la lista de colas del servidor" || fail "lista de colas: $(adapter names | tr '\n' ' ')"

adapter check Nada | grep "no está instalada" >/dev/null &&
  pass "una cola que no existe no pasa la prueba" || fail "cola inexistente"
cupsreject Bar
adapter check Bar | grep "no acepta trabajos" >/dev/null &&
  pass "una cola que rechaza trabajos no pasa la prueba" || fail "cola que rechaza trabajos"
cupsaccept Bar
cupsdisable Bar
adapter check Bar | grep "detenida" >/dev/null &&
  pass "una cola detenida no pasa la prueba" || fail "cola detenida"
"$driver" raw Bar >/dev/null 2>&1 && fail "trabajo aceptado en una cola detenida" || true
cupsenable Bar
for _ in 1 2 3; do "$driver" check Cocina >/dev/null 2>&1 || fail "la prueba de Cocina falla"; done
settle
[ -z "$(lpstat -W all -o 2>/dev/null)" ] && pass "las pruebas no dejan trabajos en CUPS" ||
  fail "las pruebas dejaron trabajos: $(lpstat -W all -o | tr '\n' ' ')"

cp "$source/examples/jobs/data/logo.bmp" "$work/logo.bmp"
"$driver" ticket Paginas "$work/logo.bmp" >/dev/null 2>&1 || fail "ticket en la cola con driver"
settle
expect_count Paginas 1 "la cola con driver recibe un trabajo"
if head -c 5 "$(last_job Paginas)" | grep '%PDF-' >/dev/null &&
  grep -aq 'MediaBox \[0 0 227' "$(last_job Paginas)"; then
  pass "la cola con driver recibe una pagina de 80 mm de ancho"
else
  fail "la cola con driver no recibio una pagina de rollo"
fi
lpadmin -p Paginas -o quillon-backend-default=raw
"$driver" ticket Paginas "$work/logo.bmp" >/dev/null 2>&1 || fail "ticket con quillon-backend=raw"
settle
python3 "$here/escpos_text.py" "$(last_job Paginas)" | grep "DIRECCIÓN: Calle Ñandú 5" >/dev/null &&
  pass "quillon-backend=raw manda ESC/POS a una cola con driver" || fail "quillon-backend=raw"
lpadmin -p Paginas -R quillon-backend-default

# --- the example jobs through the agent ---
if ! "$agent" --help 2>&1 | grep -- "--print-job" >/dev/null; then
  fail "quillon-agent no tiene --print-job"
  exit 1
fi
cp -r "$source/examples/jobs/data" "$work/data"
expected="$source/examples/jobs/expected"

run_agent comanda_domicilio.json
settle
expect_count Cocina 1 "la comanda llega a la cola Cocina"
expect_ticket Cocina "$expected/comanda_domicilio/Cocina.txt" "la comanda en Cocina es la del ticket de la carpeta, linea por linea"

run_agent comanda_mesa.json
settle
expect_count Cocina 2 "comanda de mesa: Cocina"
expect_count Bar 1 "comanda de mesa: Bar"
expect_ticket Cocina "$expected/comanda_mesa/Cocina.txt" "comanda de mesa en Cocina, linea por linea"
expect_ticket Bar "$expected/comanda_mesa/Bar.txt" "comanda de mesa en Bar, linea por linea"

run_agent factura_comun.json
settle
expect_count Caja 1 "la factura llega a la cola predeterminada"
expect_ticket Caja "$expected/factura_comun/Facturas.txt" "la factura, linea por linea"
python3 "$here/escpos_text.py" "$(last_job Caja)" | grep "^DIRECCIÓN: " >/dev/null &&
  pass "DIRECCIÓN en mayusculas con su tilde" || fail "DIRECCIÓN"

run_agent cajon.json
settle
expect_count Facturas 1 "el cajon se abre en la cola Facturas"
[ "$(od -An -tu1 "$(last_job Facturas)" | xargs)" = "27 112 0 60 240" ] &&
  pass "el cajon recibe exactamente 27 112 0 60 240" ||
  fail "bytes del cajon: $(od -An -tu1 "$(last_job Facturas)" | xargs)"

cupsdisable Cocina
run_agent comanda_mostrador.json
settle
expect_count Cocina 2 "una cola detenida no recibe la comanda"
expect_count Caja 2 "la comanda pasa a la impresora predeterminada"
expect_ticket Caja "$expected/comanda_mostrador/Cocina.txt" "la comanda en la predeterminada, linea por linea"

cupsdisable Caja
run_agent comanda_mostrador.json
grep -q "Error al imprimir" "$work/agent.out" &&
  pass "sin impresora predeterminada disponible se avisa el error" || fail "no hubo aviso de error"
settle
expect_count Caja 2 "la predeterminada detenida no recibe nada"
expect_count Cocina 2 "Cocina detenida no recibe nada"
[ -z "$(lpstat -o 2>/dev/null)" ] && pass "no quedan trabajos en espera en CUPS" ||
  fail "trabajos en espera: $(lpstat -o | tr '\n' ' ')"

jobs_in_cups=$(lpstat -W all -o 2>/dev/null | wc -l)
delivered=$(find "$work/out" -name '*.bin' | wc -l)
[ "$jobs_in_cups" -eq "$delivered" ] && pass "cada trabajo de CUPS llego a una impresora ($delivered)" ||
  fail "CUPS tiene $jobs_in_cups trabajos y llegaron $delivered"

# --- the running agent while CUPS is stopped and started again ---
source "$source/tests/e2e/numbered_jobs.sh"
# The numbers printed on the tickets a queue received after its first $2 jobs.
queue_numbers() {
  local file
  for file in $(find "$work/out/$1" -name '*.bin' | sort | tail -n +$(($2 + 1))); do
    python3 "$here/escpos_text.py" "$file" || true
  done | ticket_numbers || true
}
# Waits up to 60 s until Cocina and Caja received the numbers of `make_jobs $1` after their first
# $2 and $3 jobs, then checks each came once and in order.
expect_printed_once() {
  local wanted_cocina wanted_caja
  wanted_cocina=$(wanted_numbers "$1" Cocina)
  wanted_caja=$(wanted_numbers "$1" Caja)
  for _ in $(seq 120); do
    [ "$(queue_numbers Cocina "$2")" = "$wanted_cocina" ] &&
      [ "$(queue_numbers Caja "$3")" = "$wanted_caja" ] && break
    sleep 0.5
  done
  settle
  sleep 3
  [ "$(queue_numbers Cocina "$2")" = "$wanted_cocina" ] &&
    [ "$(queue_numbers Caja "$3")" = "$wanted_caja" ] && pass "$4" ||
    fail "$4: Cocina [$(queue_numbers Cocina "$2")] Caja [$(queue_numbers Caja "$3")]"
}

cupsenable Cocina Caja
cp -r "$source/examples/jobs/data" "$work/running"
make_jobs 6 "$work/jobs" "$source/examples/jobs"
before_cocina=$(received Cocina) before_caja=$(received Caja)
cups_port=${CUPS_SERVER##*:}
kill "$cupsd_pid"
wait "$cupsd_pid" 2>/dev/null || true
run_agent_with_server "$work/running" --job "$work/jobs" --exit-after-statuses 6
wait_for_server || fail "el servidor de demostracion no termino"
waiting=$(ls "$work/running/outbox"/*.ticket 2>/dev/null | wc -l)
[ "$waiting" -eq 6 ] && pass "con CUPS detenido los 6 tickets esperan en outbox" ||
  fail "con CUPS detenido esperan $waiting tickets"
grep -q "No se pudo consultar el servidor de impresión CUPS" "$work/running.out" &&
  ! grep -q "No se encontró la impresora" "$work/running.out" &&
  pass "CUPS detenido se dice como tal, no como una impresora que falta" ||
  fail "el aviso de CUPS detenido: $(grep -m1 'Error al imprimir' "$work/running.out")"
start_cupsd "$cups_port" || fail "cupsd no arranco de nuevo"
expect_printed_once 6 "$before_cocina" "$before_caja" \
  "al volver CUPS cada ticket se imprime una vez y en orden, sin un trabajo nuevo"
kill "$agent_pid" 2>/dev/null || true
wait "$agent_pid" 2>/dev/null || true

# --- an agent started before CUPS and before its queues exist ---
kill "$cupsd_pid"
wait "$cupsd_pid" 2>/dev/null || true
server="$work/cups-nueva"
export CUPS_SERVER="127.0.0.1:$(free_port)"
printf '{"config": [], "dato": [], "tipo": "comanda"}' >"$work/nada.json"
rm -r "$work/jobs"
make_jobs 2 "$work/jobs" "$source/examples/jobs"
cp -r "$source/examples/jobs/data" "$work/early"
before_cocina=$(received Cocina) before_caja=$(received Caja)
# The first job prints nothing; the others come 8 s apart, once CUPS and the queues are there.
run_agent_with_server "$work/early" --job "$work/nada.json" --job "$work/jobs" --pause 8000 \
  --exit-after-statuses 3
sleep 2
start_cupsd "${CUPS_SERVER##*:}" || fail "el cupsd nuevo no arranco"
add_raw_queues Cocina Caja
lpadmin -d Caja
wait_for_server || fail "el servidor de demostracion no termino"
expect_printed_once 2 "$before_cocina" "$before_caja" \
  "el agente iniciado antes que CUPS imprime el siguiente trabajo cuando CUPS esta"
[ -z "$(ls "$work/early/outbox"/*.ticket 2>/dev/null)" ] || fail "quedaron tickets en outbox"

if [ "$failures" -ne 0 ]; then
  echo "$failures comprobaciones fallaron"
  exit 1
fi
echo "todas las comprobaciones pasaron"
