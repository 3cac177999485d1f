#!/usr/bin/env python3
# A host of the replay tool waiting for a player, called by a stranger speaking another version of the protocol and
# by one whose game files differ: each gets a refusal naming why, the host keeps waiting, and when nobody joins it
# gives up with "Nobody joined within 30 s." and exit code 3 (its clock run ten times faster).
# Usage: check_refusals.py REPLAY RUN_DIR PORT
import os
import socket
import struct
import subprocess
import sys
import tempfile

replay, run_dir, port = sys.argv[1], sys.argv[2], int(sys.argv[3])
with tempfile.NamedTemporaryFile("w", suffix=".replay", delete=False) as script:
    script.write("100\n")
host = subprocess.Popen([replay, f"--host={port}", "--time-scale=10", script.name], cwd=run_dir,
                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
caller = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
caller.settimeout(0.2)


def refused_as(datagram, expected):
    """Sends the datagram until the expected answer comes (the host may not be listening yet; answers to earlier
    questions may still be on their way, and are passed over)."""
    for _ in range(100):
        caller.sendto(datagram, ("127.0.0.1", port))
        try:
            while True:
                if caller.recvfrom(600)[0] == expected:
                    return True
        except socket.timeout:
            continue
    return False


failures = []
name = b"\x05Other"
other_version = b"TV\x02\x01" + struct.pack("<IQ", 1, 2) + name
if not refused_as(other_version, b"TV\x01\x03\x01"):
    failures.append("a caller of another version was not refused as such")
other_files = b"TV\x01\x01" + struct.pack("<IQ", 1, 0x0123456789ABCDEF) + name
if not refused_as(other_files, b"TV\x01\x03\x02"):
    failures.append("a caller with other game files was not refused as such")
try:
    out, err = host.communicate(timeout=60)
except subprocess.TimeoutExpired:
    host.kill()
    out, err = host.communicate()
    failures.append("the host did not give up waiting")
if host.returncode != 3:
    failures.append(f"the host exited with {host.returncode}, not 3")
if "Nobody joined within 30 s." not in err:
    failures.append(f"the host did not say why it stopped: {err.strip()}")
os.unlink(script.name)
for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
