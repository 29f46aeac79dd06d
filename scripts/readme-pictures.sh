#!/usr/bin/env bash
# Makes the pictures of the README in docs/: the paper of a kitchen order and of an invoice, as
# the spool printers draw them from the example jobs, and the window on a virtual desktop with a
# tray (Xvfb and trayer), taken with ImageMagick's import: its Panel page with no server, and its
# Status page with a job from the demo server, a test ticket on a simulated network printer out
# of paper and a printed ticket chosen, clicked through with xdotool.
#   scripts/readme-pictures.sh [AGENT]   (AGENT: a built quillon-agent; by default it is built)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
agent=${1:-build/src/app/quillon-agent}
if [ $# -eq 0 ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default -j2 --target quillon-agent print-server printer-sim
fi
agent=$(realpath "$agent")
tools=$(dirname "$agent")/../../tools
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

# The Status page: every option checked, so the kitchen order prints on Cocina and Bar; "Barra"
# a network printer without paper. The clicks are at the window's places at the top left of a
# desktop without a window manager: the tray icon, the Status tab, Barra, "Imprimir prueba", the
# kitchen order's ticket.
rm -rf "$work/cola" "$work/status" && mkdir -p "$work/cola/Cocina" "$work/cola/Bar" \
  "$work/cola/Facturas" "$work/status" "$work/sim"
cp examples/jobs/data/logo.bmp "$work/status/"
printf '%s\r\nFacturas y PreFactruas,Mesa,Mostrador,Domicilio\r\n' \
  "$(head -n1 examples/jobs/data/Acceso | tr -d '\r')" >"$work/status/Acceso"
echo paper-end >"$work/sim/control"
cat >"$work/status.sh" <<SCRIPT
trayer --edge top --align right --widthtype request --height 24 --transparent false &
"$tools/printer-sim" --port 0 --dir "$work/sim" --control "$work/sim/control" \
  --port-file "$work/sim/port" &
"$tools/print-server" --port 0 --job examples/jobs/comanda_mesa.json >"$work/server.out" 2>&1 &
sleep 1
"$agent" --data-dir "$work/status" --spool "$work/cola" --default-printer Facturas \
  --encoding utf-8 --server "127.0.0.1:\$(head -n1 "$work/server.out" | cut -d' ' -f2)" \
  --printer "Barra=tcp://127.0.0.1:\$(cat "$work/sim/port")" >/dev/null 2>&1 &
sleep 4
for place in "628 12" "166 21" "80 155" "357 164" "80 347"; do
  xdotool mousemove \$place click 1
  sleep 1
done
sleep 4
import -window root "$PWD/docs/status-page.png"
kill %1 %2 %3 %4
SCRIPT
xvfb-run -a -s "-screen 0 640x400x24" bash "$work/status.sh"
ls -l docs/*.png
