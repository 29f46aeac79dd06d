#!/usr/bin/env bash
# Jobs the demo server sends again when their status reply did not reach it, against
# quillon-agent --headless on spool printers: each ticket prints once, and a repeat the server
# meant prints again.
# Usage: resent_jobs.sh CASE AGENT PRINT_SERVER EXAMPLE_JOBS [COUNT]
#   drop_after_each  ten two-area kitchen orders and a drawer kick, the link dropped right
#                    after each job, before its reply is read, and the job sent again
#   kill_random      COUNT numbered jobs (default 200), the agent killed with SIGKILL at random
#                    moments and started again: none lost, and at most one in five re-sends
#                    twice (the outbox's instant between a printer taking a ticket and its move
#                    out of the outbox); prints the figures
#   same_connection  one job sent twice on one connection: two tickets
set -uo pipefail
case_name=$1 agent=$2 server=$3 jobs=$4 count=${5:-200}

fail() {
  echo "FALLO ($case_name): $*" >&2
  for f in "$work"/*.out "$work"/*.err; do
    [ -f "$f" ] && { echo "--- $f" >&2; tail -n 20 "$f" | cut -c1-300 >&2; }
  done
  exit 1
}

limit=$((60 + count * 2))
source "$(dirname "$0")/e2e_setup.sh"
source "$(dirname "$0")/numbered_jobs.sh"
resent_line='Trabajo repetido tras reconectar: ya se había impreso'

# Waits up to $1 seconds for the server to have had every job answered.
wait_all_answered() {
  for _ in $(seq $(($1 * 10))); do
    grep -q 'todo enviado' "$work/server.err" && return 0
    sleep 0.1
  done
  fail "el servidor no recibio todas las respuestas"
}

# comm needs the order of a plain sort.
in_order() { LC_ALL=C sort; }
missing() { LC_ALL=C comm -23 <(echo "$1") <(echo "$2" | uniq); }

# The order and bill numbers printed in a printer's folder, one a line, sorted.
printed_sorted() {
  for f in "$work/spool/$1"/*.txt; do [ -f "$f" ] && cat "$f"; done | ticket_numbers |
    tr ' ' '\n' | grep . | in_order
}

case "$case_name" in
  drop_after_each)
    mkdir -p "$work/jobs"
    for n in $(seq 10); do
      sed "s/\"nPedido\": 1523/\"nPedido\": $n/" "$jobs/comanda_mesa.json" \
        >"$work/jobs/$(printf %03d "$n").json"
    done
    cp "$jobs/cajon.json" "$work/jobs/011.json"
    start_server --job "$work/jobs" --drop-after-each
    start_agent
    wait_all_answered 60
    sleep 1  # room for a ticket printed twice to show up
    for area in Cocina Bar; do
      printed=$(grep -h '^Pedido ' "$work/spool/$area/"*.txt | sort | uniq -c | awk '{print $1}' |
        sort -u | tr '\n' ' ')
      [ "$printed" = "1 " ] || fail "$area no imprimio cada pedido una vez (veces: $printed)"
      [ "$(grep -h '^Pedido ' "$work/spool/$area/"*.txt | wc -l)" -eq 10 ] ||
        fail "$area no imprimio los 10 pedidos"
    done
    kicks=$(ls "$work/spool/Facturas/"*.raw 2>/dev/null | wc -l)
    [ "$kicks" -eq 1 ] || fail "el cajon se abrio $kicks veces"
    [ "$(grep -c '^print-server: sin respuesta\|^print-server: conexion cortada' \
      "$work/server.err")" -ge 11 ] || fail "el servidor no corto tras cada trabajo"
    [ "$(grep -c -- "$resent_line" "$work/agent.out")" -eq 11 ] ||
      fail "no se anuncio cada trabajo repetido"
    ;;

  kill_random)
    make_jobs "$count" "$work/jobs" "$jobs"
    # Jobs a little apart, so that the kills fall before, inside and after them.
    start_server --job "$work/jobs" --await-status --pause "${PAUSE_MS:-40}"
    kills=0
    : >"$work/agent.all"
    RANDOM=${SEED:-7}
    while ! grep -q 'todo enviado' "$work/server.err"; do
      # A kill while the start rewrites Acceso can leave it torn, which is not what this tests.
      cp "$jobs/data/Acceso" "$work/data/Acceso"
      start_agent
      sleep "$(printf '0.%03d' $((20 + RANDOM % 380)))"
      grep -q 'todo enviado' "$work/server.err" && break
      # The agent itself, not the time limit around it.
      child=$(pgrep -P "$agent_pid")
      if [ -n "$child" ] && kill -9 "$child" 2>/dev/null; then
        kills=$((kills + 1))
      else
        kill "$agent_pid" 2>/dev/null
      fi
      wait "$agent_pid" 2>/dev/null
      cat "$work/agent.out" >>"$work/agent.all"
      [ "$kills" -le $((count * 3)) ] || fail "demasiados reinicios sin terminar"
    done
    wanted_cocina=$(wanted_numbers "$count" Cocina | tr ' ' '\n' | grep . | in_order)
    wanted_facturas=$(wanted_numbers "$count" Facturas | tr ' ' '\n' | grep . | in_order)
    for _ in $(seq 600); do
      [ -z "$(missing "$wanted_cocina" "$(printed_sorted Cocina)")" ] &&
        [ -z "$(missing "$wanted_facturas" "$(printed_sorted Facturas)")" ] && break
      sleep 0.1
    done
    sleep 2  # room for a ticket printed twice to show up
    cat "$work/agent.out" >>"$work/agent.all"
    printed=$( (printed_sorted Cocina; printed_sorted Facturas) | in_order)
    wanted=$( (echo "$wanted_cocina"; echo "$wanted_facturas") | in_order)
    twice=$(echo "$printed" | uniq -d | grep -c .)
    lost=$(missing "$wanted" "$printed" | grep -c .)
    unanswered=$(grep -c '^print-server: sin respuesta' "$work/server.err")
    echo "trabajos $count, kill -9 $kills, sin respuesta y reenviados $unanswered," \
      "anunciados como repetidos $(grep -c -- "$resent_line" "$work/agent.all")," \
      "tickets impresos $(echo "$printed" | grep -c .) de $(echo "$wanted" | grep -c .)," \
      "dos veces $twice, perdidos $lost"
    [ "$lost" -eq 0 ] || fail "$lost tickets no se imprimieron"
    # A re-sent job prints each ticket once. What is left is the outbox's own instant between
    # a spool printer's files and the ticket's move out of the outbox (a kill there prints it
    # again at the start, re-sent or not), so a few doubles are tolerated, where without the
    # record more than half of the re-sends print twice.
    [ "$twice" -le $((unanswered / 5 + 1)) ] || fail "$twice tickets se imprimieron dos veces"
    ;;

  same_connection)
    start_server --job "$jobs/comanda_mostrador.json" --job "$jobs/comanda_mostrador.json" \
      --await-status
    start_agent
    wait_all_answered 30
    sleep 1
    [ "$(ls "$work/spool/Cocina/"*.txt | wc -l)" -eq 2 ] || fail "no se imprimio dos veces"
    ! grep -q -- "$resent_line" "$work/agent.out" || fail "se tomo por repetido"
    ;;

  *)
    fail "caso desconocido"
    ;;
esac
echo OK
