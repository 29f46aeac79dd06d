#!/usr/bin/env python3
"""Plays a printer on port 9100 style: accepts connections on a free loopback port and keeps the
bytes of each one in OUTDIR/NNN.bin (written once the connection is closed).
Usage: listener.py PORTFILE OUTDIR"""
import os
import socket
import sys

port_file, out_dir = sys.argv[1], sys.argv[2]
os.makedirs(out_dir, exist_ok=True)
server = socket.socket()
server.bind(("127.0.0.1", 0))
server.listen(8)
with open(port_file + ".part", "w") as f:
    f.write(str(server.getsockname()[1]))
os.rename(port_file + ".part", port_file)

count = 0
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
