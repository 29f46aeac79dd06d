#!/usr/bin/env bash
# The Windows agent under Wine against the demo print server, next to the Linux agent: both
# print the example jobs on spool printers, and every ticket file of the Windows agent (text,
# json, ESC/POS and raw) must equal the Linux agent's byte for byte.
# Usage: headless_e2e.sh WINDOWS_AGENT_EXE LINUX_AGENT PRINT_SERVER SOURCE_DIR
set -uo pipefail
windows_agent=$1 linux_agent=$2 server=$3 source=$4
jobs="$source/examples/jobs"
jobs_count=$(ls "$jobs"/*.json | wc -l)

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FALLO: $*" >&2
  for f in "$work"/*/*.out "$work"/*/*.err; do
    [ -f "$f" ] && { echo "--- $f" >&2; cut -c1-300 "$f" >&2; }
  done
  exit 1
}

# One run: the server sends the ten jobs after the identification and ends after ten status
# replies; the agent prints them on spool folders Cocina, Bar and Facturas.
run() {
  local name=$1
  shift
  local dir="$work/$name"
  mkdir -p "$dir/data" "$dir/spool/Cocina" "$dir/spool/Bar" "$dir/spool/Facturas"
  cp "$jobs/data/Acceso" "$jobs/data/logo.bmp" "$dir/data/"
  timeout 120 "$server" --port 0 --wait-id --exit-after-statuses $jobs_count \
    --job "$jobs" --timeout 110 >"$dir/server.out" 2>"$dir/server.err" &
  local server_pid=$!
  pids+=($server_pid)
  local port=
  for _ in $(seq 100); do
    port=$(sed -n 's/^PORT //p' "$dir/server.out" 2>/dev/null)
    [ -n "$port" ] && break
    sleep 0.1
  done
  [ -n "$port" ] || fail "el servidor no anuncio su puerto"
  timeout 120 "$@" --headless --server "127.0.0.1:$port" --spool "$dir/spool" \
    --default-printer Facturas --data-dir "$dir/data" --encoding utf-8 \
    </dev/null >"$dir/agent.out" 2>"$dir/agent.err" &
  local agent_pid=$!
  pids+=($agent_pid)
  wait "$server_pid" || fail "$name: el servidor no recibio las $jobs_count respuestas"
  kill "$agent_pid" 2>/dev/null
  wait "$agent_pid" 2>/dev/null
}

started=$(date +%s)
run linux "$linux_agent"
run windows wine "$windows_agent"
echo "Las dos ejecuciones tardaron $(($(date +%s) - started)) s"

# The same files on both, with the same bytes, but for the moment of printing (a cancellation
# prints the time to the second) and the logo's own path in the pictures of the json files.
normalise() {
  LC_ALL=C sed -E -e 's#[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}#AAAA-MM-DD hh:mm:ss#g' \
    -e 's#"file": "[^"]*logo\.bmp"#"file": "logo.bmp"#g' "$1"
}
linux_files=$(cd "$work/linux/spool" && find . -type f | sort)
windows_files=$(cd "$work/windows/spool" && find . -type f | sort)
[ "$linux_files" = "$windows_files" ] ||
  fail "archivos distintos: $(diff <(echo "$linux_files") <(echo "$windows_files"))"
[ "$(echo "$linux_files" | wc -l)" -ge 30 ] || fail "muy pocos tiquetes: $linux_files"
for file in $linux_files; do
  case $file in
    # The picture of a ticket shows its time too: the Windows agent's picture must be what the
    # Linux agent draws from the Windows agent's own bytes.
    *.png)
      "$linux_agent" --render-escpos "$work/windows/spool/${file%.png}.escpos" "$work/drawn.png" ||
        fail "--render-escpos fallo con ${file%.png}.escpos"
      cmp -s "$work/drawn.png" "$work/windows/spool/$file" || fail "$file difiere"
      ;;
    *)
      cmp -s <(normalise "$work/linux/spool/$file") <(normalise "$work/windows/spool/$file") ||
        fail "$file difiere"
      ;;
  esac
done

echo "$(echo "$linux_files" | wc -l) archivos iguales en Windows y Linux"
