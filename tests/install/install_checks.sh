#!/usr/bin/env bash
# The installed layout, checked on the built program and the packaging files.
# Usage: install_checks.sh CASE AGENT SOURCE_DIR BUILD_DIR
#   desktop      desktop-file-validate accepts the menu and autostart entries
#   unit         systemd-analyze verify accepts the user service (skipped without systemd)
#   settings     agent.conf fills the options, flags win, a bad value stops the start
#   data_folder  Acceso beside the program when it can be written, else in the XDG data folder
set -uo pipefail
case_name=$1 agent=$2 source_dir=$3 build_dir=$4
work=$(mktemp -d)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/lib.sh"

case $case_name in
desktop)
  out=$(desktop-file-validate "$source_dir/packaging/quillon-agent.desktop" \
    "$source_dir/packaging/quillon-agent-autostart.desktop" 2>&1) || fail "$out"
  [ -z "$out" ] || fail "desktop-file-validate: $out"
  ;;

unit)
  command -v systemd-analyze >/dev/null || { echo "systemd-analyze no esta: se omite"; exit 77; }
  # The unit as built, pointing at this build's program; its manual page where man finds it.
  sed "s|^ExecStart=[^ ]*|ExecStart=$agent|" "$build_dir/packaging/quillon-agent.service" \
    >"$work/quillon-agent.service"
  grep -qx 'Restart=on-failure' "$work/quillon-agent.service" || fail "falta Restart=on-failure"
  mkdir -p "$work/man/man1" "$work/run"
  chmod 700 "$work/run"
  cp "$build_dir/packaging/quillon-agent.1.gz" "$work/man/man1/"
  XDG_RUNTIME_DIR="$work/run" MANPATH="$work/man" \
    systemd-analyze verify --user "$work/quillon-agent.service" >"$work/verify.out" 2>"$work/verify.err" ||
    fail "systemd-analyze verify no acepta la unidad"
  [ -s "$work/verify.err" ] && fail "systemd-analyze verify se queja"
  ;;

settings)
  mkdir -p "$work/data" "$work/cfg/quillon-agent" "$work/cola/Caja" "$work/otra/Caja"
  cp "$source_dir/examples/jobs/data/Acceso" "$work/data/"
  job="$source_dir/examples/jobs/factura_comun.json"
  conf="$work/cfg/quillon-agent/agent.conf"
  run() { XDG_CONFIG_HOME="$work/cfg" "$agent" --data-dir "$work/data" --print-job "$job" "$@" \
    >"$work/agent.out" 2>"$work/agent.err"; }

  printf '; comentario\nserver = 127.0.0.1:3999\nspool = %s\ndefault-printer = Caja\nencoding = utf-8\n' \
    "$work/cola" >"$conf"
  run || fail "no imprimio con agent.conf"
  [ -f "$work/cola/Caja/000001.txt" ] || fail "la factura no llego a la impresora de agent.conf"
  [ -f "$work/cola/Caja/000001.png" ] || fail "la factura no tiene su dibujo"

  run --spool "$work/otra" || fail "no imprimio con --spool"
  [ -f "$work/otra/Caja/000001.txt" ] || fail "--spool no tuvo prioridad sobre agent.conf"
  [ -f "$work/cola/Caja/000002.txt" ] && fail "imprimio en la carpeta de agent.conf pese a --spool"

  # Each bad file stops the start with its reason, and nothing is printed.
  bad_files=("encoding = latin1" "impresora = Caja" "spool = cola/relativa" "server = host:70000"
    "default-printer = Caja, Barra" "spool $work/cola")
  reasons=("encoding=latin1" "impresora=Caja" "spool=cola/relativa" "server=host:70000"
    "default-printer=Caja,Barra" "la línea 1")
  for i in "${!bad_files[@]}"; do
    printf '%s\n' "${bad_files[$i]}" >"$conf"
    run
    status=$?
    [ $status -eq 2 ] || fail "'${bad_files[$i]}' termino con $status y no con 2"
    grep -qF "${reasons[$i]}" "$work/agent.err" || fail "el mensaje de '${bad_files[$i]}' no lo nombra"
    grep -qF "El agente no se inicia" "$work/agent.err" || fail "el mensaje no dice que no arranca"
  done
  [ -f "$work/cola/Caja/000002.txt" ] && fail "imprimio con un agent.conf equivocado"
  ;;

data_folder)
  # A copy of the program in a folder this user cannot write: the code goes to the XDG folder.
  mkdir -p "$work/programa" "$work/bin"
  cp "$agent" "$work/programa/quillon-agent"
  [ "$(id -u)" -eq 0 ] || chmod 555 "$work/programa"
  make_home "$work/casa"
  store_code "$work/casa/.local/share/quillon-agent/Acceso" "$work/programa/quillon-agent" \
    HOME="$work/casa"
  [ -f "$work/programa/Acceso" ] && fail "guardo Acceso en la carpeta del programa"
  make_home "$work/datos"
  store_code "$work/datos/quillon-agent/Acceso" "$work/programa/quillon-agent" \
    HOME="$work/casa" XDG_DATA_HOME="$work/datos"

  # A folder this user can write keeps Acceso beside the program, as a build folder does...
  chmod 755 "$work/programa"
  [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$work/programa"
  store_code "$work/programa/Acceso" "$work/programa/quillon-agent" HOME="$work/casa"
  # ...unless it is a programs' folder.
  cp "$agent" "$work/bin/quillon-agent"
  [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$work/bin"
  make_home "$work/casa2"
  store_code "$work/casa2/.local/share/quillon-agent/Acceso" "$work/bin/quillon-agent" \
    HOME="$work/casa2"
  [ -f "$work/bin/Acceso" ] && fail "guardo Acceso en una carpeta bin"
  ;;
*)
  fail "caso desconocido $case_name"
  ;;
esac
echo "ok: $case_name"
