# Shared by the install tests: failing with the files to look at, and running an agent as a
# user who cannot write where the program lives.

fail() {
  echo "FALLO: $*" >&2
  for f in "$work"/*.out "$work"/*.err; do
    [ -f "$f" ] && { echo "--- $f" >&2; cut -c1-300 "$f" | tail -20 >&2; }
  done
  exit 1
}

# Runs "$@" as a user other than root: nobody when the test runs as root, else the caller.
as_user() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"
  else
    "$@"
  fi
}

# A home folder that the user of as_user owns.
make_home() {
  mkdir -p "$1"
  [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$1"
  return 0
}

# store_code FILE AGENT [ENV...]: starts AGENT headless (as the user of as_user, with the given
# environment) against a port where no server listens, types a branch code at its prompt, and
# waits until FILE holds that code. The agent is stopped before returning.
store_code() {
  local file=$1 agent=$2
  shift 2
  printf 'SUC0001BOGOTA01\n' | as_user env -i PATH=/usr/bin:/bin "$@" \
    timeout 30 "$agent" --headless --server 127.0.0.1:1 >"$work/agent.out" 2>"$work/agent.err" &
  local pid=$!
  for _ in $(seq 100); do
    [ -f "$file" ] && grep -q SUC0001BOGOTA01 "$file" && break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  grep -q SUC0001BOGOTA01 "$file" 2>/dev/null || fail "el codigo no quedo en $file"
}
