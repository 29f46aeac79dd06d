#!/usr/bin/env python3
"""Plays a printer on port 9100 style: accepts connections on a free loopback port, or on PORT,
and keeps the bytes of each one in OUTDIR/NNN.bin (written once the connection is closed), after
those already there.
Usage: listener.py PORTFILE OUTDIR [PORT]"""
import os
import socket
import sys

port_file, out_dir = sys.argv[1], sys.argv[2]
os.makedirs(out_dir, exist_ok=True)
server = socket.socket()
server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
server.bind(("127.0.0.1", int(sys.argv[3]) if len(sys.argv) > 3 else 0))
server.listen(8)
with open(port_file + ".part", "w") as f:
    f.write(str(server.getsockname()[1]))
os.rename(port_file + ".part", port_file)

count = len([name for name in os.listdir(out_dir) if name.endswith(".bin")])
while True:
    connection, _ = server.accept()
    count += 1
    data = bytearray()
    while True:
        chunk = connection.recv(65536)
        if not chunk:
            break
        data += chunk
    connection.close()
    name = os.path.join(out_dir, "%03d" % count)
    with open(name + ".part", "wb") as f:
        f.write(data)
    os.rename(name + ".part", name + ".bin")
