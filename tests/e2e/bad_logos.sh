#!/usr/bin/env bash
# A logo.bmp that cannot be printed costs the logo, never the invoice or the paper: a header that
# claims 1 x 2147483647 pixels in 62 bytes, PNG bytes that are no picture, an empty file. A real
# PNG under that name prints as the logo.
# Usage: bad_logos.sh AGENT EXAMPLE_JOBS
set -uo pipefail
agent=$1 jobs=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FALLO: $*" >&2; exit 1; }

# Prints the example invoice with the logo.bmp of $1 on a fresh spool; sets $escpos.
print_invoice() {
  rm -rf "$work/data" "$work/cola"
  mkdir -p "$work/data" "$work/cola/Facturas"
  cp "$jobs/data/Acceso" "$work/data/"
  cp "$1" "$work/data/logo.bmp"
  timeout 60 "$agent" --spool "$work/cola" --default-printer Facturas --data-dir "$work/data" \
    --encoding utf-8 --print-job "$jobs/factura_comun.json" >"$work/agent.out" 2>"$work/agent.err" ||
    fail "$(basename "$1"): la factura no se imprimio: $(cat "$work/agent.err")"
  escpos=$work/cola/Facturas/000001.escpos
  [ -f "$escpos" ] || fail "$(basename "$1"): no hay tiquete"
}
has_raster() { od -An -tx1 -v "$1" | tr -d ' \n' | grep -q '1d7630'; }

printf 'BM\076\0\0\0\0\0\0\0\076\0\0\0\050\0\0\0\001\0\0\0\377\377\377\177\001\0\030\0' \
  >"$work/enorme.bmp"
head -c 32 /dev/zero >>"$work/enorme.bmp"
printf '\211PNG\r\n\032\n\0\0\0\rIHDR\0\001\0\0\0\001\0\0' >"$work/roto.png"
: >"$work/vacio.bmp"
for logo in enorme.bmp roto.png vacio.bmp; do
  print_invoice "$work/$logo"
  size=$(stat -c %s "$escpos")
  [ "$size" -lt 1048576 ] || fail "$logo: tiquete de $size bytes"
  lines=$(wc -l <"${escpos%.escpos}.txt")
  [ "$lines" -lt 100 ] || fail "$logo: tiquete de $lines lineas"
  has_raster "$escpos" && fail "$logo: se imprimio un logo"
  grep -q "El logo no se puede imprimir: " "$work/agent.out" || fail "$logo: no se dijo por que"
  echo "ok: $logo deja la factura sin logo ($size bytes, $lines lineas)"
done

# The paper of a short ticket, drawn as a PNG, is a logo the printers can use.
printf '\033@\035!\021QUILLON\n\035V\102\003' >"$work/marca.escpos"
"$agent" --render-escpos "$work/marca.escpos" "$work/papel.png" || fail "--render-escpos fallo"
print_invoice "$work/papel.png"
has_raster "$escpos" || fail "el logo PNG no se imprimio"
grep -q "El logo no se puede imprimir" "$work/agent.out" && fail "el logo PNG se dio por malo"
echo "ok: un PNG llamado logo.bmp se imprime como logo"
