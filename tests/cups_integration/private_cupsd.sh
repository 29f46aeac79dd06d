# Sourced by the scripts that print through a CUPS server of their own: a private cupsd on a
# loopback port, its configuration and state under $server, no file devices, no authentication.
# start_cupsd adds its process to $pids and exports CUPS_SERVER.
free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
# Starts cupsd with the configuration under $server, on port $1 or a free one.
start_cupsd() {
  local cups_port=${1:-$(free_port)}
  mkdir -p "$server"/{etc,spool,cache,state,tmp,log}
  cat >"$server/etc/cups-files.conf" <<CONF
ServerRoot $server/etc
RequestRoot $server/spool
CacheDir $server/cache
StateDir $server/state
TempDir $server/tmp
AccessLog $server/log/access_log
ErrorLog $server/log/error_log
PageLog $server/log/page_log
SystemGroup root
FileDevice No
CONF
  cat >"$server/etc/cupsd.conf" <<CONF
Listen 127.0.0.1:$cups_port
LogLevel info
AccessLogLevel ${cups_access_log_level:-actions}
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
  cupsd -f -c "$server/etc/cupsd.conf" -s "$server/etc/cups-files.conf" >"$server/log/cupsd.out" 2>&1 &
  cupsd_pid=$!
  pids+=("$cupsd_pid")
  export CUPS_SERVER="127.0.0.1:$cups_port"
  for _ in $(seq 100); do
    lpstat -r 2>/dev/null | grep "is running" >/dev/null && return 0
    kill -0 "$cupsd_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
