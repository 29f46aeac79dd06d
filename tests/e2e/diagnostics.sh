#!/usr/bin/env bash
# quillon-agent --diagnostico through the real program: a data folder with tickets waiting,
# printed and discarded, nine days of registro/ and files in rechazados/ give a zip with the
# expected members, only the last 7 days of the log, and the ticket files only with
# --con-tickets; a bad target is refused with status 2 and leaves nothing behind.
# Usage: diagnostics.sh AGENT EXAMPLE_JOBS
set -uo pipefail
agent=$1 jobs=$2 server=unused

fail() {
  echo "FALLO (diagnostico): $*" >&2
  exit 1
}

source "$(dirname "$0")/e2e_setup.sh"
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/quillon-agent"
printf 'default-printer = Facturas\r\n; la de las facturas\r\n' >"$XDG_CONFIG_HOME/quillon-agent/agent.conf"
options=(--data-dir "$work/data" --spool "$work/spool" --encoding utf-8)

print_job() { timeout 30 "$agent" --print-job "$jobs/comanda_mostrador.json" "${options[@]}" >/dev/null 2>&1; }
print_job || fail "el primer trabajo no se imprimio"
touch "$work/spool/Cocina/offline" "$work/spool/Facturas/offline"
print_job
print_job
timeout 30 "$agent" --discard 3 "${options[@]}" >/dev/null 2>&1 || fail "no se descarto el ticket 3"

mkdir -p "$work/data/rechazados"
printf 'CONTENIDO-RECHAZADO' >"$work/data/rechazados/000001-20240517-134507-comanda.json"
printf '' >"$work/data/rechazados/000002-20240517-134508-desconocido.json"
expected_logs=$(date +%F).log
for days in 1 2 3 4 5 6 7 8; do
  day=$(date -d "-$days day" +%F)
  echo "linea del dia $day" >"$work/data/registro/$day.log"
  [ "$days" -le 6 ] && expected_logs="$expected_logs $day.log"
done

# Reads the zip as any other program would: every CRC checked, then the member named by the
# second argument ("*": all of them, one after the other), or without one "MEMBERS name...".
read_zip() {
  python3 - "$@" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    if z.testzip() is not None:
        sys.exit("CRC malo en " + z.testzip())
    if len(sys.argv) > 2:
        names = z.namelist() if sys.argv[2] == "*" else [sys.argv[2]]
        for name in names:
            sys.stdout.buffer.write(z.read(name))
    else:
        print("MEMBERS", *sorted(z.namelist()))
PY
}

said=$(timeout 30 "$agent" --diagnostico "$work/d.zip" "${options[@]}" 2>"$work/d.err") ||
  fail "termino con $?: $(cat "$work/d.err")"
[ "$said" = "Diagnóstico guardado en $work/d.zip" ] || fail "dijo: $said"
wanted="agent.conf configuracion.txt impresoras.txt impresos/indice rechazados.txt tickets.txt"
wanted="$wanted version.txt"
for log in $expected_logs; do wanted="$wanted registro/$log"; done
sorted() { tr ' ' '\n' | grep . | LC_ALL=C sort | tr '\n' ' '; }
got=$(read_zip "$work/d.zip" | sed 's/^MEMBERS //' | sorted)
[ "$got" = "$(echo "$wanted" | sorted)" ] || fail "miembros: [$got], se esperaba [$wanted]"

cmp -s <(read_zip "$work/d.zip" agent.conf) "$XDG_CONFIG_HOME/quillon-agent/agent.conf" ||
  fail "agent.conf no va tal cual"
day=$(date -d "-6 day" +%F)
[ "$(read_zip "$work/d.zip" "registro/$day.log")" = "linea del dia $day" ] ||
  fail "el registro de hace 6 dias no va entero"
config=$(read_zip "$work/d.zip" configuracion.txt)
echo "$config" | grep -q "Código de sucursal: SUC0001BOGOTACENTRO" &&
  echo "$config" | grep -q "Opciones: Facturas y PreFactruas,Mesa,Mostrador,Domicilio" &&
  echo "$config" | grep -q "Impresora predeterminada: Facturas" || fail "configuracion: $config"
printers=$(read_zip "$work/d.zip" impresoras.txt)
echo "$printers" | grep -qx "  Bar: lista" &&
  echo "$printers" | grep -qx "  Cocina: no puede imprimir: La impresora está fuera de línea" &&
  echo "$printers" | grep -q "^  Facturas (predeterminada): no puede imprimir" ||
  fail "impresoras: $printers"
tickets=$(read_zip "$work/d.zip" tickets.txt)
for section in "En espera (outbox/): 1" "En la impresora (outbox/): 0" \
  "Impresos (impresos/indice), del más reciente: 1" "Descartados (outbox/descartados/): 1"; do
  echo "$tickets" | grep -qxF "$section" || fail "falta [$section] en: $tickets"
done
for id in 1 2 3; do
  echo "$tickets" | grep -qE "^  $id  [0-9-]+ [0-9:]+  Cocina  comanda$" || fail "ticket $id: $tickets"
done
rejected=$(read_zip "$work/d.zip" rechazados.txt)
echo "$rejected" | grep -qx "  000001-20240517-134507-comanda.json  19 bytes" &&
  echo "$rejected" | grep -qx "  000002-20240517-134508-desconocido.json  0 bytes" ||
  fail "rechazados: $rejected"
read_zip "$work/d.zip" "*" | grep -qa CONTENIDO-RECHAZADO && fail "va el contenido de un rechazado"

# With --con-tickets the ticket files themselves, byte for byte.
timeout 30 "$agent" --diagnostico "$work/t.zip" --con-tickets "${options[@]}" >/dev/null 2>&1 ||
  fail "--con-tickets termino con $?"
for ticket in outbox/000000000002.ticket outbox/descartados/000000000003.ticket \
  impresos/000000000001.ticket; do
  cmp -s <(read_zip "$work/t.zip" "$ticket") "$work/data/$ticket" || fail "falta $ticket"
done
[ "$(read_zip "$work/t.zip" | wc -w)" -eq "$(($(read_zip "$work/d.zip" | wc -w) + 3))" ] ||
  fail "con tickets: $(read_zip "$work/t.zip")"

# A broken agent.conf is part of what the diagnostics tell.
printf 'clave-mala = 1\n' >"$XDG_CONFIG_HOME/quillon-agent/agent.conf"
timeout 30 "$agent" --diagnostico "$work/b.zip" "${options[@]}" >/dev/null 2>&1 ||
  fail "con agent.conf roto termino con $?"
read_zip "$work/b.zip" configuracion.txt | grep -q "^agent.conf no se aplicó: .*clave-mala" ||
  fail "no dice por que agent.conf no se aplico"

# Bad targets: status 2, a Spanish reason, no file.
check_refused() {
  timeout 30 "$agent" --diagnostico "$1" "${options[@]}" >"$work/bad.out" 2>"$work/bad.err"
  local status=$?
  [ "$status" -eq 2 ] || fail "$1 termino con $status"
  grep -q "^No se guardó el diagnóstico: $2" "$work/bad.err" || fail "$1 dijo: $(cat "$work/bad.err")"
  [ ! -s "$work/bad.out" ] || fail "$1 escribio en la salida estandar"
}
check_refused "$work/no-existe/d.zip" "no existe la carpeta"
check_refused "$work/data" "$work/data es una carpeta"
check_refused /proc/d.zip "no se pudo escribir /proc/d.zip"
[ ! -e "$work/no-existe" ] && [ -z "$(ls /proc | grep 'd\.zip')" ] || fail "quedo algo de un zip fallido"
timeout 30 "$agent" --con-tickets "${options[@]}" >/dev/null 2>"$work/alone.err"
[ $? -eq 2 ] && grep -q "^--con-tickets va con --diagnostico" "$work/alone.err" ||
  fail "--con-tickets sin --diagnostico: $(cat "$work/alone.err")"
echo "OK diagnostico"
