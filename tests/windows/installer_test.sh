#!/usr/bin/env bash
# The installer under Wine, silent: a per-user install with the server's address, start at logon
# and a Start-menu entry; the uninstaller keeps Acceso and agent.conf; a second install keeps the
# address and leaves agent.conf as it was.
# Usage: installer_test.sh SETUP_EXE   (WINEPREFIX set)
set -uo pipefail
setup=$1
local_dir="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/quillon-agent"
menu="$(dirname "$(dirname "$local_dir")")/Roaming/Microsoft/Windows/Start Menu/Programs"
fail() { echo "FALLO: $*" >&2; exit 1; }
run_key() {
  wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v quillon-agent 2>/dev/null |
    tr -d '\r' | grep 'quillon-agent.exe'
}

timeout 120 wine "$setup" /S /SERVER=127.0.0.1:4000 || fail "la instalacion termino con error"
[ -f "$local_dir/quillon-agent.exe" ] || fail "no se instalo el programa en $local_dir"
[ -f "$menu/Servidor de Impresoras/Servidor de Impresoras.lnk" ] || fail "sin entrada de menu"
run_key | grep -q 'quillon-agent.exe" --server "127.0.0.1:4000"' || fail "sin inicio: $(run_key)"

printf 'SUC0001BOGOTACENTRO\r\n\r\n' >"$local_dir/Acceso"
printf '[impresoras]\r\nCocina = tcp://192.168.1.50\r\n' >"$local_dir/agent.conf"
cp "$local_dir/agent.conf" "$WINEPREFIX/agent.conf.antes"
# _?= runs the uninstaller in place, so the test can wait for it.
timeout 120 wine "$local_dir/desinstalar.exe" /S "_?=C:\\users\\$(id -un)\\AppData\\Local\\quillon-agent" ||
  fail "la desinstalacion termino con error"
[ ! -f "$local_dir/quillon-agent.exe" ] || fail "el programa sigue instalado"
[ -f "$local_dir/Acceso" ] || fail "la desinstalacion borro Acceso"
cmp -s "$local_dir/agent.conf" "$WINEPREFIX/agent.conf.antes" || fail "la desinstalacion toco agent.conf"
[ -z "$(run_key)" ] || fail "el inicio con la sesion sigue: $(run_key)"
rm -f "$local_dir/desinstalar.exe"

timeout 120 wine "$setup" /S || fail "la segunda instalacion termino con error"
run_key | grep -q -- '--server "127.0.0.1:4000"' || fail "no se conservo el servidor: $(run_key)"
cmp -s "$local_dir/agent.conf" "$WINEPREFIX/agent.conf.antes" || fail "la reinstalacion toco agent.conf"
timeout 120 wine "$local_dir/desinstalar.exe" /S "_?=C:\\users\\$(id -un)\\AppData\\Local\\quillon-agent"
rm -rf "$local_dir" "$WINEPREFIX/agent.conf.antes"
echo "instalacion, desinstalacion y reinstalacion correctas"
