#!/usr/bin/env python3
# Writes runs of datagrams for the rendezvous fuzz target into seeds/: a host opens a room, a joiner with the
# right code (found by the fuzzer) or a wrong one, relays, stays, garbage, another version.
# Usage: fuzz/rendezvous/make_seeds.py  (rewrites the seeds beside it)
import os
import struct

HEADER = b"TV\x01"


def name(text):
    return bytes([len(text)]) + text.encode("ascii")


def record(sender, seconds_step, datagram):
    return bytes([sender | seconds_step << 3]) + struct.pack("<H", len(datagram)) + datagram


OPEN = HEADER + b"\x14" + struct.pack("<I", 1) + name("Host")
JOIN = HEADER + b"\x16" + b"K7P4QX" + struct.pack("<I", 2) + name("Guest")
RELAY = HEADER + b"\x19" + struct.pack("<H", 6) + b"TV\x01\x07" + b"\x00\x00"
STAY = HEADER + b"\x1a"

SEEDS = {
    "open_join_relay": record(0, 0, OPEN) + record(1, 0, JOIN) + record(1, 1, JOIN) + record(0, 0, RELAY)
    + record(0, 0, STAY),
    "many_rooms": b"".join(record(s, 0, OPEN) for s in range(8)) + record(0, 20, STAY) + record(3, 31, OPEN),
    "garbage_and_versions": record(2, 0, b"\x00" * 9) + record(2, 0, b"TV\x02\x14") + record(5, 0, RELAY)
    + record(6, 0, b"TV\x01\x19\xff\xff"),
}

here = os.path.dirname(os.path.abspath(__file__))
for seed, data in SEEDS.items():
    with open(os.path.join(here, "seeds", seed + ".bin"), "wb") as out:
        out.write(data)
