# Sourced by the tests that print through CUPS queues of their own (the CUPS integration test and
# the Windows agent's winspool test): the skip rule, a work folder cleaned up at exit with every
# process in $pids, the fail and pass lines, and a listener in front of each queue.
queue_test_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$queue_test_dir/private_cupsd.sh"

skip() {
  echo "OMITIDA: $*"
  exit 77
}
# Skips the test unless it runs as root and finds every tool named.
need_root_and_tools() {
  [ "$(id -u)" -eq 0 ] || skip "hace falta ser root para iniciar un cupsd propio"
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || skip "falta $tool (paquetes cups, cups-client, cups-bsd, python3)"
  done
}
# $work: a new folder /tmp/NAME.XXXXXX that the backends (the lp user) can read.
make_work_folder() {
  work=$(mktemp -d "/tmp/$1.XXXXXX")
  chmod 755 "$work"
  pids=()
  failures=0
  trap cleanup EXIT
}
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
fail() {
  echo "FALLO: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }
# One listener per queue named, keeping what each job delivers under $work/out/QUEUE;
# port[QUEUE] is where it listens.
start_listeners() {
  declare -gA port listener_pid
  local queue
  for queue in "$@"; do
    python3 "$queue_test_dir/listener.py" "$work/$queue.port" "$work/out/$queue" &
    pids+=($!)
    listener_pid[$queue]=$!
  done
  for queue in "$@"; do
    for _ in $(seq 100); do [ -f "$work/$queue.port" ] && break; sleep 0.1; done
    port[$queue]=$(cat "$work/$queue.port")
  done
}
# The printer behind a queue switched off (nobody listens on its port) and on again.
switch_off() {
  kill "${listener_pid[$1]}" 2>/dev/null || true
  wait "${listener_pid[$1]}" 2>/dev/null || true
}
switch_on() {
  rm -f "$work/$1.port"
  python3 "$queue_test_dir/listener.py" "$work/$1.port" "$work/out/$1" "${port[$1]}" &
  pids+=($!)
  listener_pid[$1]=$!
  for _ in $(seq 100); do [ -f "$work/$1.port" ] && break; sleep 0.1; done
}
# Starts the demo server ($print_server) with the job files given and the agent ($agent, with
# the options in the array agent_options) on data folder $1; its output goes to
# $work/running.out, the server's to $work/server.out.
run_agent_with_server() {
  local data=$1
  shift
  "$print_server" --port 0 --wait-id --timeout 120 "$@" >"$work/server.out" 2>&1 &
  pids+=($!)
  server_pid=$!
  # A loaded machine may take a while to start a sanitized build.
  for _ in $(seq 300); do grep -q '^PORT ' "$work/server.out" && break; sleep 0.1; done
  timeout 300 "$agent" --headless --data-dir "$data" --encoding utf-8 "${agent_options[@]}" \
    --server "127.0.0.1:$(sed -n 's/^PORT //p' "$work/server.out")" >>"$work/running.out" 2>&1 &
  pids+=($!)
  agent_pid=$!
}
agent_options=()
# Waits up to 60 s for the demo server to end; when it does not, shows where both sides were.
wait_for_server() {
  for _ in $(seq 600); do kill -0 "$server_pid" 2>/dev/null || return 0; sleep 0.1; done
  echo "(el servidor de demostracion sigue; sus ultimas lineas y las del agente:)"
  tail -n 8 "$work/server.out" "$work/running.out" | cut -c1-200
  return 1
}
# Jobs a queue's listener has stored, and the newest of them.
received() { find "$work/out/$1" -name '*.bin' 2>/dev/null | wc -l; }
last_job() { printf '%s/out/%s/%03d.bin' "$work" "$1" "$(received "$1")"; }
# Waits until CUPS has no job left to deliver and every listener has stored what it got.
settle() {
  for _ in $(seq 300); do
    if [ -z "$(lpstat -o 2>/dev/null)" ] && [ -z "$(find "$work/out" -name '*.part')" ]; then
      sleep 0.5
      [ -z "$(find "$work/out" -name '*.part')" ] && return 0
    fi
    sleep 0.1
  done
  echo "(CUPS no termino de entregar: $(lpstat -o | tr '\n' ' '))"
}
