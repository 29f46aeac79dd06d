#!/usr/bin/env bash
# Jobs cut at random on the wire against quillon-agent --headless: the demo server drops the
# connection inside some jobs (in the JSON, right before the terminator or inside it) and goes
# on from the next job, or with --resend from the cut job, whole. Every job sent whole must be
# printed exactly once, and no job that was only cut may be printed. Prints the figures.
# Usage: wire_cuts.sh AGENT PRINT_SERVER EXAMPLE_JOBS COUNT PERCENT SEED [--resend]
set -uo pipefail
agent=$1 server=$2 jobs=$3 count=$4 percent=$5 seed=$6 resend=${7:-}
limit=$((60 + count / 2))  # seconds: about one reconnection a second for every cut

fail() {
  echo "FALLO: $*" >&2
  tail -n 5 "$work/server.err" "$work/agent.err" >&2
  exit 1
}
source "$(dirname "$0")/e2e_setup.sh"

# Kitchen orders that differ only in their number, printed as "Pedido N" on each ticket.
mkdir -p "$work/jobs"
for n in $(seq "$count"); do
  sed "s/\"nPedido\": 1523/\"nPedido\": $n/" "$jobs/comanda_mesa.json" \
    >"$work/jobs/$(printf %05d "$n").json"
done

start_server --job "$work/jobs" --cut-percent "$percent" --seed "$seed" $resend
start_agent

fin_line='------------------------------ fin ------------------------------'
# Done when everything was sent and the agent closed as many jobs as went whole.
for _ in $(seq $((limit * 10))); do
  if grep -q 'todo enviado' "$work/server.err"; then
    whole=$(grep -c '^print-server: entero ' "$work/server.err")
    [ "$(grep -c -- "$fin_line" "$work/agent.out")" -ge "$whole" ] && break
  fi
  sleep 0.1
done
grep -q 'todo enviado' "$work/server.err" || fail "el servidor no termino de enviar"
sleep 1  # room for a job printed twice to show up

export LC_ALL=C  # comm and uniq need the order sort gives
number() { sed -E 's/.*\/0*([0-9]+)\.json.*/\1/'; }
grep '^print-server: entero ' "$work/server.err" | number | sort >"$work/whole"
grep '^print-server: cortado ' "$work/server.err" | number | sort >"$work/cut"
grep -h '^Pedido ' "$work/spool/Cocina/"*.txt 2>/dev/null | sed 's/^Pedido //' | sort \
  >"$work/printed"
in_text=0 before=0 inside=0
while read -r sent total; do
  text=$((total - 12))
  if [ "$sent" -lt "$text" ]; then in_text=$((in_text + 1))
  elif [ "$sent" -eq "$text" ]; then before=$((before + 1))
  else inside=$((inside + 1)); fi
done < <(sed -nE 's/^print-server: cortado .* tras ([0-9]+) de ([0-9]+) bytes$/\1 \2/p' \
  "$work/server.err")

sent_whole=$(wc -l <"$work/whole")
printed_once=$(comm -12 <(sort -u "$work/whole") <(uniq -u "$work/printed") | wc -l)
printed_twice=$(uniq -d "$work/printed" | wc -l)
never_whole=$(comm -23 <(sort -u "$work/cut") <(sort -u "$work/whole"))
cut_printed=$(comm -12 <(echo "$never_whole" | sort -u) <(sort -u "$work/printed") | grep -c .)
resent=$(comm -12 <(sort -u "$work/cut") <(sort -u "$work/whole") | wc -l)
resent_once=$(comm -12 <(comm -12 <(sort -u "$work/cut") <(sort -u "$work/whole")) \
  <(uniq -u "$work/printed") | wc -l)
dropped_lines=$(grep -c 'caracteres recibidos sin "_endMessage_"' "$work/agent.out")

echo "trabajos $count, cortes $(wc -l <"$work/cut") (en el JSON $in_text, antes del terminador" \
  "$before, dentro del terminador $inside), lineas de texto descartado $dropped_lines"
echo "enviados enteros $sent_whole, impresos una vez $printed_once, impresos mas de una vez" \
  "$printed_twice, cortados sin reenvio impresos $cut_printed, reenviados $resent," \
  "reenviados impresos una vez $resent_once"
[ "$printed_once" -eq "$sent_whole" ] || fail "no todos los trabajos enteros se imprimieron una vez"
[ "$printed_twice" -eq 0 ] || fail "hay trabajos impresos mas de una vez"
[ "$cut_printed" -eq 0 ] || fail "se imprimio un trabajo cortado"
[ "$(wc -l <"$work/printed")" -eq "$sent_whole" ] || fail "se imprimio algo que no se envio entero"
[ "$resent_once" -eq "$resent" ] || fail "no todos los reenviados se imprimieron una vez"
echo OK
