#!/usr/bin/env python3
# The level of a sound captured through SDL's disk audio driver (48000 Hz stereo float): RMS and peak in dBFS and
# the samples at full scale; with --check, also whether it lies within the limits the game's mix is held to.
"""Usage: sound_level.py CAPTURE NAME [--seconds S] [--check LOW_DB HIGH_DB]

--seconds S   measure only the S seconds that follow the first audible sample (the program's start-up is
              silent); a capture shorter than that fails.
--check L H   exit 1 unless the sound is audible, peaks below full scale and its RMS lies within L..H dBFS.
"""
import array
import math
import sys

RATE = 48000
CHANNELS = 2


def db(value):
    return 20 * math.log10(value) if value > 0 else float("-inf")


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    capture, name, options = argv[1], argv[2], argv[3:]
    seconds = None
    limits = None
    while options:
        if options[0] == "--seconds" and len(options) >= 2:
            seconds, options = float(options[1]), options[2:]
        elif options[0] == "--check" and len(options) >= 3:
            limits, options = (float(options[1]), float(options[2])), options[3:]
        else:
            sys.exit(__doc__)

    samples = array.array("f")
    with open(capture, "rb") as f:
        data = f.read()
    samples.frombytes(data[: len(data) - len(data) % samples.itemsize])
    if seconds is not None:
        first = next((i for i, s in enumerate(samples) if s != 0.0), len(samples))
        if first == len(samples):
            print(f"{name}: no sound in the {len(samples) / CHANNELS / RATE:.1f} s captured")
            return 1
        first -= first % CHANNELS
        wanted = int(seconds * RATE) * CHANNELS
        if len(samples) - first < wanted:
            print(f"{name}: only {(len(samples) - first) / CHANNELS / RATE:.1f} s captured after the first sound, "
                  f"{seconds:g} s wanted")
            return 1
        samples = samples[first : first + wanted]
    if not samples:
        print(f"{name}: nothing captured")
        return 1

    peak = max(abs(s) for s in samples)
    rms = math.sqrt(math.fsum(s * s for s in samples) / len(samples))
    full = sum(1 for s in samples if abs(s) >= 1.0)
    print(f"{name:8s} {len(samples) / CHANNELS / RATE:5.1f} s  RMS {db(rms):6.1f} dBFS  peak {db(peak):6.1f} dBFS  "
          f"samples at full scale {full}")
    if limits is None:
        return 0
    faults = []
    if peak == 0:
        faults.append("it is silent")
    if peak >= 1.0:
        faults.append("it reaches full scale")
    if not limits[0] <= db(rms) <= limits[1]:
        faults.append(f"its RMS lies outside {limits[0]:g}..{limits[1]:g} dBFS")
    for fault in faults:
        print(f"{name}: {fault}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
