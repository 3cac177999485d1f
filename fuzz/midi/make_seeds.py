#!/usr/bin/env python3
"""Writes the MIDI fuzz seeds: small standard MIDI files of each format, with long headers and extra chunks."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds")


def chunk(cid, body):
    return cid + struct.pack(">I", len(body)) + body


def header(fmt, tracks, division, extra=b""):
    return chunk(b"MThd", struct.pack(">HHH", fmt, tracks, division) + extra)


def track(notes):
    body = b"\x00\xff\x51\x03\x07\xa1\x20\x00\xc0\x00"
    for key in notes:
        body += bytes([0x00, 0x90, key, 100, 0x60, 0x80, key, 0])
    return chunk(b"MTrk", body + b"\x00\xff\x2f\x00")


def main():
    os.makedirs(HERE, exist_ok=True)
    seeds = {
        "format0.mid": header(0, 1, 96) + track([60, 64, 67]),
        "format1.mid": header(1, 2, 480) + track([48]) + track([72, 74]),
        "long_header.mid": header(0, 1, 96, b"\0\0\0\0") + track([60]),
        "extra_chunk.mid": header(0, 1, 96) + chunk(b"XTRA", b"abc") + track([62]),
    }
    for name, data in seeds.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
