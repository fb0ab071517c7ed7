#!/usr/bin/python3
"""vk41-slave polled by two independent masters, pymodbus and mbpoll, the
way the README shows them: vk41-slave PATH."""
import re
import subprocess
import sys

from pymodbus.client import ModbusTcpClient

slave = subprocess.Popen([sys.argv[1], "--tcp", "127.0.0.1:0", "--speed", "20", "--quiet"],
                         stderr=subprocess.PIPE, text=True)
try:
    said = slave.stderr.readline()
    port = int(re.search(r"127\.0\.0\.1:(\d+)", said).group(1))

    client = ModbusTcpClient("127.0.0.1", port=port, timeout=2)
    assert client.connect(), "no connection"
    flags = client.read_coils(32, 16, slave=127)
    assert not flags.isError(), flags
    counter = client.read_holding_registers(42222, 2, slave=127)
    assert not counter.isError() and len(counter.registers) == 2, counter
    past_the_map = client.read_coils(56, 32, slave=127)
    assert past_the_map.isError() and past_the_map.exception_code == 2, past_the_map
    restart = client.write_register(60000, 0xAA55, slave=127)
    assert not restart.isError(), restart
    client.close()

    # mbpoll counts from 1: coil 33 is the protocol's 32, condition flag 1.
    polled = subprocess.run(["mbpoll", "-m", "tcp", "-p", str(port), "-a", "127", "-t", "0",
                             "-r", "33", "-c", "16", "-1", "127.0.0.1"],
                            capture_output=True, text=True, timeout=10)
    assert polled.returncode == 0, polled.stderr
    assert "[33]:" in polled.stdout and "[48]:" in polled.stdout, polled.stdout
    print("pymodbus and mbpoll: answered")
finally:
    slave.terminate()
    slave.wait(timeout=5)
