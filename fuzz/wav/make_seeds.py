#!/usr/bin/env python3
"""Writes the WAVE fuzz seeds: small valid and nearly valid files covering the loader's paths."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds")


def wave(samples, tag=1, channels=1, rate=11025, bits=8, fmt_size=16, data_size=None, riff_size=None, before_fmt=b""):
    align = channels * bits // 8
    fmt = struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits) + b"\0" * (fmt_size - 16)
    data_len = len(samples) if data_size is None else data_size
    body = b"WAVE" + before_fmt + b"fmt " + struct.pack("<I", fmt_size) + fmt
    body += b"data" + struct.pack("<I", data_len) + samples + (b"\0" if len(samples) % 2 else b"")
    return b"RIFF" + struct.pack("<I", len(body) if riff_size is None else riff_size) + body


def main():
    os.makedirs(HERE, exist_ok=True)
    ramp = bytes((128 + i * 7) & 0xFF for i in range(33))
    seeds = {
        "mono8.wav": wave(ramp),
        "fmt18.wav": wave(ramp[:16], fmt_size=18),
        "stereo16_22050.wav": wave(ramp[:32], channels=2, rate=22050, bits=16),
        "streamed.wav": wave(ramp[:9], data_size=0xFFFFFFFF, riff_size=0xFFFFFFFF),
        "list_first.wav": wave(ramp[:5], before_fmt=b"LIST" + struct.pack("<I", 5) + b"INFOx\0"),
        "float.wav": wave(ramp[:8], tag=3),
    }
    for name, data in seeds.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
