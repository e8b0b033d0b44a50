"""Checks that a capture holds a loud tone near the expected frequency.

    tone_check.py capture.wav frequency
Finds the loudest 100 ms of the capture, measures its level and its dominant
frequency (Goertzel over 20 Hz steps) and how long the sound lasted.
"""
import array
import math
import sys
import wave

MIN_LEVEL_DBFS = -30.0  # the tone is written at about -12 dBFS RMS
MAX_FREQUENCY_ERROR_HZ = 40.0
MIN_SOUNDING_SECONDS = 0.2  # of the 0.3 s written: most of it must be heard


def goertzel_power(samples, rate, frequency):
    coefficient = 2.0 * math.cos(2.0 * math.pi * frequency / rate)
    previous = before = 0.0
    for value in samples:
        previous, before = value + coefficient * previous - before, previous
    return previous * previous + before * before - coefficient * previous * before


def rms_dbfs(samples):
    if not samples:
        return -200.0
    mean_square = sum(v * v for v in samples) / len(samples)
    return 10.0 * math.log10(mean_square / (32768.0 ** 2) + 1e-20)


def main():
    path, expected = sys.argv[1], float(sys.argv[2])
    with wave.open(path, "rb") as capture:
        rate, channels, width = capture.getframerate(), capture.getnchannels(), capture.getsampwidth()
        data = capture.readframes(capture.getnframes())
    if width != 2:
        sys.exit(f"expected 16-bit samples, got {8 * width}-bit")
    samples = array.array("h", data)[::channels]
    block = rate // 100  # 10 ms
    levels = [rms_dbfs(samples[i:i + block]) for i in range(0, len(samples) - block + 1, block)]
    if len(levels) < 10:
        sys.exit(f"capture too short: {len(samples)} samples")
    loudest = max(range(len(levels) - 9), key=lambda i: sum(levels[i:i + 10]))
    window = samples[loudest * block:(loudest + 10) * block]
    level = rms_dbfs(window)
    candidates = [f for f in range(100, 5001, 20)]
    dominant = max(candidates, key=lambda f: goertzel_power(window, rate, f))
    sounding = sum(1 for value in levels if value > level - 10.0) / 100.0
    quiet = sorted(levels)[len(levels) // 4]
    print(f"capture: {len(samples) / rate:.2f} s at {rate} Hz; loudest 100 ms at {loudest / 100:.2f} s: "
          f"{level:.1f} dBFS, dominant {dominant} Hz; sound for {sounding:.2f} s; quiet quarter {quiet:.1f} dBFS")
    if level < MIN_LEVEL_DBFS:
        sys.exit(f"FAIL: loudest level {level:.1f} dBFS is below {MIN_LEVEL_DBFS} dBFS: the tone did not reach the output")
    if abs(dominant - expected) > MAX_FREQUENCY_ERROR_HZ:
        sys.exit(f"FAIL: dominant frequency {dominant} Hz, expected {expected:.0f} Hz")
    if sounding < MIN_SOUNDING_SECONDS:
        sys.exit(f"FAIL: sound lasted {sounding:.2f} s, expected at least {MIN_SOUNDING_SECONDS} s")
    print("tone reached the output")


if __name__ == "__main__":
    main()
