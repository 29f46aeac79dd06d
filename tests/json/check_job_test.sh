#!/usr/bin/env bash
# Runs quillon-agent --check-job on small job texts and compares stdout, stderr and the status.
set -u
agent="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

# expect NAME INPUT_BYTES EXPECTED_STDOUT EXPECTED_STDERR EXPECTED_STATUS [OPTIONS...]
expect() {
  local name="$1" input="$2" out="$3" err="$4" status="$5"
  shift 5
  printf '%s' "$input" > "$work/job"
  "$agent" --check-job "$work/job" "$@" > "$work/out" 2> "$work/err"
  local got=$?
  if [[ "$got" != "$status" || "$(cat "$work/out")" != "$out" || "$(cat "$work/err")" != "$err" ]]; then
    echo "FALLA $name: estado $got, salida [$(cat "$work/out")], errores [$(od -c "$work/err")]"
    failures=$((failures + 1))
  fi
}

expect missing_colon '{"a" 1}' '{"a":1}' $'Invalid Key at position 6 : a\r' 1
expect cut_decimals '{"n": 1.999}' '{"n":1.99}' '' 0
expect decimals_with_point '{"p": -1250.50, "q": 1e3, "r": 0.129}' '{"p":-1250.5,"q":1000,"r":0.12}' '' 0
expect empty_and_literals '{"a":[1,null,true,false,"x\"y\\z\n"],"b":{}, "cantidad":' \
  '{"a":[1,null,true,false,"x\"y\\z\n"],"b":{},"cantidad":empty}' \
  $'Missing \'}\': ,"b":{}, "cantidad":\r' 1
expect no_root '42' 'empty' 'Invalid JSON' 1
expect windows_1252 $'{"plato":"Pi\xf1a \x80"}' '{"plato":"Piña €"}' '' 0
expect utf_8 '{"plato":"Piña €"}' '{"plato":"Piña €"}' '' 0 --encoding utf-8
# Without --encoding a well-formed UTF-8 file is read as UTF-8, any other as Windows-1252.
expect utf_8_detected '{"plato":"Piña €"}' '{"plato":"Piña €"}' '' 0
expect windows_1252_forced $'{"plato":"Pi\xc3\xb1a"}' '{"plato":"PiÃ±a"}' '' 0 --encoding windows-1252

# Standard input, and an error line holding text outside ASCII.
printf '{"ñ" 1}' | "$agent" --check-job - --encoding utf-8 > "$work/out" 2> "$work/err"
status=$?
if [[ $status != 1 || "$(cat "$work/out")" != '{"ñ":1}' || "$(cat "$work/err")" != $'Invalid Key at position 6 : ñ\r' ]]; then
  echo "FALLA stdin: estado $status, salida [$(cat "$work/out")]"
  failures=$((failures + 1))
fi

# A file that cannot be read.
"$agent" --check-job "$work/no-existe.json" > "$work/out" 2> "$work/err"
status=$?
if [[ $status != 2 || -s "$work/out" ]] || ! grep -q "No se pudo leer" "$work/err"; then
  echo "FALLA missing_file: estado $status"
  failures=$((failures + 1))
fi

[[ $failures == 0 ]] && echo "check_job: todo correcto"
exit $((failures != 0))
