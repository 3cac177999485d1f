#!/usr/bin/env python3
"""Writes the patch fuzz seeds: small GUS patches of one 8-bit looped sample and of two 16-bit samples."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds")


def header(samples):
    head = bytearray(239)
    head[0:22] = b"GF1PATCH110\0ID#000002\0"
    head[82] = 1   # instruments
    head[151] = 1  # layers
    head[198] = samples
    return bytes(head)


def sample(data, loop_start, loop_end, modes):
    # name, loop fractions, length, loop start and end, rate, low, high and root frequency, tuning, pan,
    # envelope, tremolo and vibrato, modes, reserved
    return (b"seed\0\0\0" + b"\0" + struct.pack("<IIIHIIIH", len(data), loop_start, loop_end, 44100, 20000,
                                                   20000000, 261626, 0)
            + b"\x07" + bytes(18) + bytes([modes]) + bytes(40) + data)


def main():
    os.makedirs(HERE, exist_ok=True)
    wave8 = bytes((i * 7) & 0xFF for i in range(64))
    wave16 = b"".join(struct.pack("<h", (i * 997) % 30000 - 15000) for i in range(48))
    seeds = {
        "looped_8bit.pat": header(1) + sample(wave8, 16, 48, 0x04),
        "two_16bit.pat": header(2) + sample(wave16, 0, 96, 0x05) + sample(wave16[:32], 0, 0, 0x01),
    }
    for name, data in seeds.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
