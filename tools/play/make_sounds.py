#!/usr/bin/env python3
"""Synthesises the example movies' sounds, so that nothing recorded elsewhere
ships with the project. Each sound is 16-bit mono PCM at 22050 Hz, named by
its number as the plug-in looks it up (N.WAV).

  make_sounds.py OUT_DIR
"""
import math
import os
import struct
import sys
import wave

RATE = 22050


def envelope(t, length, attack=0.01, release=0.08):
    if t < attack:
        return t / attack
    if t > length - release:
        return max(0.0, (length - t) / release)
    return 1.0


def chime(t, length):
    """A bell: a few inharmonic partials that die away."""
    partials = ((880.0, 1.0), (1760.0 * 1.01, 0.5), (2640.0 * 0.99, 0.25), (3520.0, 0.12))
    decay = math.exp(-4.0 * t / length)
    return decay * sum(a * math.sin(2 * math.pi * f * t) for f, a in partials) / 1.9


def rising(t, length):
    """A sweep from 300 Hz to 1200 Hz."""
    f0, f1 = 300.0, 1200.0
    phase = 2 * math.pi * (f0 * t + (f1 - f0) * t * t / (2 * length))
    return 0.6 * math.sin(phase)


def pop(t, length):
    """A short low thump."""
    return math.exp(-18.0 * t) * math.sin(2 * math.pi * (140.0 - 60.0 * t) * t)


def arpeggio(t, length):
    """Three notes of a major chord, one after the other."""
    notes = (523.25, 659.25, 783.99)
    index = min(len(notes) - 1, int(3 * t / length))
    local = t - index * length / 3
    return 0.5 * math.exp(-3.0 * local) * math.sin(2 * math.pi * notes[index] * t)


SOUNDS = {
    1: (chime, 1.2),
    2: (rising, 0.6),
    3: (pop, 0.35),
    4: (arpeggio, 0.9),
}


def write(path, voice, length):
    frames = bytearray()
    count = int(RATE * length)
    for n in range(count):
        t = n / RATE
        value = voice(t, length) * envelope(t, length)
        frames += struct.pack("<h", int(max(-1.0, min(1.0, value)) * 26000))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(bytes(frames))


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    os.makedirs(argv[1], exist_ok=True)
    for number, (voice, length) in SOUNDS.items():
        write(os.path.join(argv[1], "%d.WAV" % number), voice, length)


if __name__ == "__main__":
    main(sys.argv)
