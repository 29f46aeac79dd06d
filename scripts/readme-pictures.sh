#!/usr/bin/env bash
# Makes the pictures of the README in docs/: the paper of a kitchen order and of an invoice, as
# the spool printers draw them from the example jobs, and the window on a virtual desktop with a
# tray (Xvfb and trayer), taken with ImageMagick's import.
#   scripts/readme-pictures.sh [AGENT]   (AGENT: a built quillon-agent; by default it is built)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
agent=${1:-build/src/app/quillon-agent}
if [ $# -eq 0 ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default -j2 --target quillon-agent
fi
agent=$(realpath "$agent")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p docs "$work/cola/Cocina" "$work/cola/Bar" "$work/cola/Facturas" "$work/data"
cp examples/jobs/data/Acceso examples/jobs/data/logo.bmp "$work/data/"

for job in comanda_mesa factura_cerrada; do
  "$agent" --spool "$work/cola" --default-printer Facturas --data-dir "$work/data" \
    --encoding utf-8 --print-job "examples/jobs/$job.json" >/dev/null
done
cp "$work/cola/Cocina/000001.png" docs/comanda_mesa_cocina.png
cp "$work/cola/Facturas/000001.png" docs/factura_cerrada.png

# "TECNICA" on the second line of Acceso keeps the window in view at start.
printf '%s\r\nTECNICA\r\n' "$(head -n1 examples/jobs/data/Acceso | tr -d '\r')" >"$work/data/Acceso"
cat >"$work/desktop.sh" <<SCRIPT
trayer --edge top --align right --widthtype request --height 24 --transparent false &
sleep 1
"$agent" --data-dir "$work/data" --server 127.0.0.1:1 >/dev/null 2>&1 &
sleep 3
import -window root "$PWD/docs/ventana.png"
kill %1 %2
SCRIPT
xvfb-run -a -s "-screen 0 640x400x24" bash "$work/desktop.sh"
ls -l docs/*.png
