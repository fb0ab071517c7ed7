#!/usr/bin/python3
"""A Modbus TCP master at a steady rate: reads 8 coils once every 1/RATE s
for SECONDS and prints the answers' latencies, median and 99th percentile,
in microseconds: "answered N p50 P p99 Q".
   bus_master.py PORT SECONDS RATE"""
import socket
import struct
import sys
import time

port, seconds, rate = int(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3])
s = socket.create_connection(("127.0.0.1", port))
s.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
latencies = []
start = time.monotonic()
n = int(seconds * rate)
for i in range(n):
    due = start + i / rate
    wait = due - time.monotonic()
    if wait > 0:
        time.sleep(wait)
    frame = struct.pack(">HHHBBHH", i & 0xFFFF, 0, 6, 127, 1, 0, 8)
    sent = time.monotonic()
    s.sendall(frame)
    got = b""
    while len(got) < 10:  # header 7, function, count, one byte of coils
        chunk = s.recv(64)
        if not chunk:
            sys.exit("the controller closed the connection")
        got += chunk
    latencies.append((time.monotonic() - sent) * 1e6)
latencies.sort()
print("answered %d p50 %d p99 %d" % (len(latencies), latencies[len(latencies) // 2],
                                     latencies[int(len(latencies) * 0.99)]))
