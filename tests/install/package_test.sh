#!/usr/bin/env bash
# The Debian package: made by scripts/package-deb.sh from this build, installed with dpkg -i,
# its agent run as a user other than root, then removed so the machine is left as it was.
# Usage: package_test.sh SOURCE_DIR BUILD_DIR VERSION
set -uo pipefail
source_dir=$1 build_dir=$2 version=$3
work=$(mktemp -d)
chmod 755 "$work"
. "$(dirname "$0")/lib.sh"

[ "$(id -u)" -eq 0 ] || { echo "instalar un paquete pide root: se omite"; exit 77; }
if dpkg-query -W -f='${Status}' quillon-agent 2>/dev/null | grep -q 'install ok installed'; then
  echo "quillon-agent ya estaba instalado en este equipo: se omite"
  exit 77
fi
installed=''
cleanup() {
  [ -n "$installed" ] && dpkg --purge quillon-agent >/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$source_dir/scripts/package-deb.sh" "$build_dir" >"$work/package.out" 2>"$work/package.err" ||
  fail "scripts/package-deb.sh no hizo el paquete"
deb=$(ls "$build_dir"/packages/quillon-agent_"$version"_*.deb 2>/dev/null)
[ -f "$deb" ] || fail "no hay paquete quillon-agent_${version}_*.deb"

dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents.out"
for file in ./usr/bin/quillon-agent ./usr/share/applications/quillon-agent.desktop \
  ./etc/xdg/autostart/quillon-agent.desktop ./usr/lib/systemd/user/quillon-agent.service \
  ./usr/share/icons/hicolor/scalable/apps/quillon-agent.svg \
  ./usr/share/man/man1/quillon-agent.1.gz ./usr/share/doc/quillon-agent/examples/agent.conf; do
  grep -qx "$file" "$work/contents.out" || fail "el paquete no trae $file"
done
grep -q print-server "$work/contents.out" && fail "el paquete trae el servidor de prueba"
# Found by dpkg-shlibdeps from the libraries the program links.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6widgets6 libcups2 zlib1g; do
  [[ $depends == *"$library"* ]] || fail "Depends no nombra $library: $depends"
done

dpkg -i "$deb" >"$work/dpkg.out" 2>"$work/dpkg.err" || fail "dpkg -i no instalo el paquete"
installed=yes
make_home "$work/casa"
out=$(as_user env -i PATH=/usr/bin:/bin HOME="$work/casa" quillon-agent --version)
[ "$out" = "quillon-agent $version" ] || fail "quillon-agent --version dijo: $out"
store_code "$work/casa/.local/share/quillon-agent/Acceso" /usr/bin/quillon-agent HOME="$work/casa"
[ -e /usr/bin/Acceso ] && fail "guardo Acceso junto al programa instalado"

dpkg --purge quillon-agent >/dev/null || fail "dpkg --purge no quito el paquete"
installed=''
[ -e /usr/bin/quillon-agent ] && fail "quedo /usr/bin/quillon-agent"
echo "ok: $deb instalado y quitado"
