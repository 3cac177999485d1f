#!/usr/bin/env python3
# Writes one well-formed datagram of each online message kind into seeds/, the fuzz target's starting points.
# Usage: fuzz/online_message/make_seeds.py  (rewrites the seeds beside it)
import os
import struct

HEADER = b"TV\x01"


def name(text):
    return bytes([len(text)]) + text.encode("ascii")


SEEDS = {
    "hello": HEADER + b"\x01" + struct.pack("<IQ", 0x1234, 0x0123456789ABCDEF) + name("Ana"),
    "welcome": HEADER + b"\x02" + struct.pack("<IQ", 0x1234, 0x0123456789ABCDEF) + name("Bruno B."),
    "refuse": HEADER + b"\x03\x02",
    "inputs": HEADER + b"\x04" + struct.pack("<IIB", 40, 41, 3)
    + struct.pack("<Bhh", 0x21, 12, -3) + struct.pack("<Bhh", 0x01, 0, 0) + struct.pack("<Bhh", 0x02, -200, 7)
    + struct.pack("<IQ", 39, 0xFEDCBA9876543210),
    "control": HEADER + b"\x05" + struct.pack("<HBI", 7, 2, 3),
    "control_ack": HEADER + b"\x06" + struct.pack("<H", 7),
    "ping": HEADER + b"\x07" + struct.pack("<II", 123456, 88),
    "pong": HEADER + b"\x08" + struct.pack("<II", 123456, 90),
    "state_report": HEADER + b"\x09" + struct.pack("<I", 12) + bytes(range(256)) + bytes(104),
    "open_room": HEADER + b"\x14" + struct.pack("<I", 0xC0FFEE) + name("Host"),
    "room_opened": HEADER + b"\x15" + b"K7P4QX",
    "join_room": HEADER + b"\x16" + b"K7P4QX" + struct.pack("<I", 0xBEEF) + name("Guest"),
    "peer_found4": HEADER + b"\x17" + b"\x04" + bytes([127, 0, 0, 1]) + struct.pack("<H", 27960) + b"\x01" + name("Host"),
    "peer_found6": HEADER + b"\x17" + b"\x06" + bytes(15) + b"\x01" + struct.pack("<H", 27961) + b"\x02" + name("Guest"),
    "server_refuse": HEADER + b"\x18\x04",
    "stay_in_room": HEADER + b"\x1a",
}
SEEDS["relay"] = HEADER + b"\x19" + struct.pack("<H", len(SEEDS["inputs"])) + SEEDS["inputs"]

folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds")
os.makedirs(folder, exist_ok=True)
for seed, data in SEEDS.items():
    with open(os.path.join(folder, seed + ".bin"), "wb") as out:
        out.write(data)
