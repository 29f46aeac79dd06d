# Numbered jobs for the printing tests, sourced by them. make_jobs N FOLDER EXAMPLES writes N job
# files into FOLDER, in turn a kitchen order for Cocina (order P-1, P-3...) and a bill for the
# default printer (number FE-1002, FE-1004...), so that what was printed tells which job it was.
make_jobs() {
  local count=$1 folder=$2 examples=$3 i
  mkdir -p "$folder"
  for i in $(seq "$count"); do
    if [ $((i % 2)) -eq 1 ]; then
      sed "s/\"M-0087\"/\"P-$i\"/" "$examples/comanda_mostrador.json" >"$folder/$(printf %03d "$i").json"
    else
      sed "s/\"idFacturaCuenta\": 2087/\"idFacturaCuenta\": $((1000 + i))/" \
        "$examples/prefactura_propina.json" >"$folder/$(printf %03d "$i").json"
    fi
  done
}

# The numbers printed on the tickets of make_jobs, read from text on standard input, in order.
ticket_numbers() { grep -ohE '^Pedido P-[0-9]+|No FE-[0-9]+' | grep -oE '[0-9]+$' | tr '\n' ' '; }

# The numbers make_jobs N puts on the tickets of Cocina (odd) or of the default printer (even).
wanted_numbers() {
  local i
  for i in $(seq "$1"); do
    if [ "$2" = Cocina ] && [ $((i % 2)) -eq 1 ]; then printf '%s ' "$i"; fi
    if [ "$2" != Cocina ] && [ $((i % 2)) -eq 0 ]; then printf '%s ' "$((1000 + i))"; fi
  done
}
