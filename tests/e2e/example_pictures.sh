#!/usr/bin/env bash
# Every ticket of the example jobs printed on spool printers gets the picture of its paper, and
# --render-escpos draws the same picture from the ticket's .escpos file.
# Usage: example_pictures.sh AGENT EXAMPLE_JOBS
set -uo pipefail
agent=$1 jobs=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FALLO: $*" >&2; exit 1; }

mkdir -p "$work/data" "$work/cola/Cocina" "$work/cola/Bar" "$work/cola/Facturas"
cp "$jobs/data/Acceso" "$jobs/data/logo.bmp" "$work/data/"
for job in "$jobs"/*.json; do
  "$agent" --spool "$work/cola" --default-printer Facturas --data-dir "$work/data" \
    --encoding utf-8 --print-job "$job" >"$work/agent.out" 2>"$work/agent.err" ||
    fail "$(basename "$job") no se imprimio: $(cat "$work/agent.err")"
done

# The tickets the reviewed examples expect, one .txt each.
expected=$(find "$jobs/expected" -name '*.txt' | wc -l)
tickets=0
for escpos in "$work"/cola/*/*.escpos; do
  png=${escpos%.escpos}.png
  [ -f "$png" ] || fail "$escpos no tiene su dibujo"
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png no es PNG"
  "$agent" --render-escpos "$escpos" "$work/dibujo.png" || fail "--render-escpos fallo con $escpos"
  cmp -s "$png" "$work/dibujo.png" || fail "--render-escpos no dibuja lo mismo que la cola ($escpos)"
  tickets=$((tickets + 1))
done
[ "$tickets" -eq "$expected" ] || fail "$tickets tiquetes dibujados, se esperaban $expected"
ls "$work"/cola/Facturas/*.raw >/dev/null 2>&1 || fail "falta la apertura del cajon"
for raw in "$work"/cola/*/*.raw; do
  [ -f "${raw%.raw}.png" ] && fail "un trabajo crudo no se dibuja: ${raw%.raw}.png"
done

"$agent" --render-escpos "$work/falta.escpos" "$work/x.png" 2>"$work/render.err"
[ $? -eq 2 ] || fail "--render-escpos de un archivo que falta no termino con 2"
echo "ok: $tickets tiquetes con su dibujo"
