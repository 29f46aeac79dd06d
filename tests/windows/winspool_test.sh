#!/usr/bin/env bash
# The Windows agent prints through winspool under Wine: a private cupsd with raw queues in front
# of loopback listeners, which Wine lists as Windows printers. Wine's printer list shows them and
# the default; a kitchen order and a drawer kick printed by quillon-agent.exe --print-job arrive
# as exactly the bytes the Linux agent makes for the same jobs; a printer with a driver gets a
# drawn page.
# Usage: winspool_test.sh WINDOWS_AGENT_EXE WINSPOOL_DRIVER_EXE LINUX_AGENT SOURCE_DIR
#        (WINEPREFIX set)
set -uo pipefail
windows_agent=$1 driver=$2 linux_agent=$3 source=$4
cups_scripts="$source/tests/cups_integration"
export PATH="$PATH:/usr/sbin:/sbin"

source "$cups_scripts/queue_test_setup.sh"
need_root_and_tools cupsd lpadmin lpstat python3
make_work_folder quillon-winspool
start_listeners Cocina Facturas Paginas

server="$work/cups"
mkdir -p "$work/client"
export CUPS_SERVERROOT="$work/client"
unset LPDEST PRINTER
start_cupsd || { cat "$server/log/cupsd.out" 2>/dev/null; echo "FALLO: cupsd no arranca"; exit 1; }
# Raw queues without a driver; the location tells the Windows agent to send ESC/POS, as an
# administrator would write it in the printer's properties.
for queue in Cocina Facturas; do
  lpadmin -p "$queue" -E -v "socket://127.0.0.1:${port[$queue]}" -m raw \
    -L "quillon-backend=raw" 2>/dev/null
done
lpadmin -p Paginas -E -v "socket://127.0.0.1:${port[Paginas]}" -m raw \
  -L "quillon-backend=driver" 2>/dev/null
lpadmin -d Facturas

expect_same() {  # file expected what
  if cmp -s "$1" "$2"; then pass "$3"; else fail "$3: $(cmp "$1" "$2" 2>&1 | head -1)"; fi
}

# --- Wine's printer list is the CUPS list ---
started=$(date +%s)
[ "$(timeout 120 wine "$driver" find cocina | tr -d '\r')" = "Cocina" ] &&
  pass "Wine lista la cola Cocina por nombre sin importar mayusculas" || fail "Cocina no aparece"
[ "$(timeout 120 wine "$driver" default | tr -d '\r')" = "Facturas" ] &&
  pass "la predeterminada es Facturas" || fail "predeterminada: $(wine "$driver" default)"
missing=$(timeout 120 wine "$driver" find Nada | tr -d '\r')
[ "${missing#error: }" != "$missing" ] && pass "una impresora que no existe no se encuentra" ||
  fail "impresora inexistente: $missing"

# --- the Linux agent's bytes for the same jobs, on spool printers ---
mkdir -p "$work/linux/Cocina" "$work/linux/Facturas" "$work/linux_data" "$work/windows_data"
cp "$source/examples/jobs/data/Acceso" "$source/examples/jobs/data/logo.bmp" "$work/linux_data/"
cp "$source/examples/jobs/data/Acceso" "$source/examples/jobs/data/logo.bmp" "$work/windows_data/"
for job in comanda_domicilio cajon; do
  timeout 120 "$linux_agent" --headless --spool "$work/linux" --default-printer Facturas \
    --data-dir "$work/linux_data" --encoding utf-8 --print-job "$source/examples/jobs/$job.json" \
    >"$work/linux.out" 2>&1 || fail "el agente de Linux no imprimio $job"
done
kitchen=$(find "$work/linux/Cocina" -name '*.escpos' | head -1)
drawer=$(find "$work/linux/Facturas" -name '*.raw' | head -1)

# --- the Windows agent through winspool ---
for job in comanda_domicilio cajon; do
  timeout 120 wine "$windows_agent" --data-dir "$work/windows_data" --encoding utf-8 \
    --print-job "$source/examples/jobs/$job.json" >"$work/windows.out" 2>&1 ||
    fail "quillon-agent.exe no imprimio $job: $(tr -d '\r' <"$work/windows.out" | tail -3)"
  settle
done
[ "$(received Cocina)" -eq 1 ] && pass "la comanda llega a la cola Cocina" ||
  fail "Cocina recibio $(received Cocina) trabajos"
expect_same "$(last_job Cocina)" "$kitchen" "la comanda llega con los bytes ESC/POS del agente de Linux"
[ "$(received Facturas)" -eq 1 ] && pass "el cajon llega a la cola Facturas" ||
  fail "Facturas recibio $(received Facturas) trabajos"
expect_same "$(last_job Facturas)" "$drawer" "el cajon llega con los bytes del agente de Linux"
[ "$(od -An -tu1 "$(last_job Facturas)" | xargs)" = "27 112 0 60 240" ] &&
  pass "el cajon recibe exactamente 27 112 0 60 240" ||
  fail "bytes del cajon: $(od -An -tu1 "$(last_job Facturas)" | xargs)"

# --- the Windows agent follows its jobs: a ticket in a printer is printed once the spooler is
# done with it (under Wine, once Wine handed it to CUPS) ---
job=$(timeout 120 wine "$driver" ticket Cocina | tr -d '\r' | sed -n 's/^impreso, trabajo //p')
[ -n "$job" ] && [ "$job" -gt 0 ] && pass "el trabajo RAW tiene el numero $job del spooler" ||
  fail "el trabajo RAW no dio numero: $job"
settle
state=$(timeout 120 wine "$driver" follow Cocina "${job:-0}" | tr -d '\r')
[ "$state" = "completado" ] && pass "el trabajo entregado se sigue como completado" ||
  fail "el trabajo entregado se sigue como [$state]"
[ -z "$(ls "$work/windows_data/outbox/"*.ticket 2>/dev/null)" ] &&
  pass "los tickets de quillon-agent.exe salen de outbox una vez impresos" ||
  fail "quedan en outbox: $(ls "$work/windows_data/outbox/")"

# --- a printer with a driver gets a page drawn with GDI ---
timeout 120 wine "$driver" ticket Paginas | grep -q impreso || fail "ticket en la impresora con driver"
settle
[ "$(received Paginas)" -eq 1 ] && head -c 4 "$(last_job Paginas)" | grep -q '%!PS' &&
  pass "la impresora con driver recibe una pagina dibujada" ||
  fail "la impresora con driver recibio: $(head -c 20 "$(last_job Paginas)" 2>/dev/null | od -c | head -2)"

echo "Las pruebas por winspool tardaron $(($(date +%s) - started)) s"
[ "$failures" -eq 0 ] || { echo "$failures fallos"; exit 1; }
