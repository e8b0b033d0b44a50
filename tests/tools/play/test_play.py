#!/usr/bin/env python3
"""vxa play as a person uses it, on the test display with the null sound
sink: what the window shows against `vxa render`, whole-pixel scaling, the
hold for a click, a click that pauses, the first sound reaching the output,
a damaged movie and a file that is no movie.

  test_play.py VXA EXAMPLES_DIR
"""
import array
import os
import subprocess
import sys
import tempfile
import time
import wave

from PIL import Image

vxa, examples = sys.argv[1], sys.argv[2]
root = os.path.abspath(os.path.join(os.path.dirname(__file__), "../../.."))
work = tempfile.mkdtemp(prefix="vxa_play_")
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def environment():
    listed = os.path.join(work, "started")
    out = subprocess.run([os.path.join(root, "scripts/wine-env"), "start-desktop", listed],
                         check=True, capture_output=True, text=True).stdout
    env = dict(os.environ)
    for line in out.splitlines():
        name, value = line[len("export "):].split("=", 1)
        env[name] = value.strip("'")
    # The sanitizers' leak check would report the display and sound
    # libraries' own allocations; the product's are checked elsewhere.
    env["ASAN_OPTIONS"] = "detect_leaks=0"
    env["XDG_RUNTIME_DIR"] = work
    return env, listed


env, listed = environment()


def play(*args, during=None):
    process = subprocess.Popen([vxa, "play", *args], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               text=True)
    if during:
        during()
    out, err = process.communicate(timeout=60)
    return process.returncode, err


def render(movie, frame):
    path = os.path.join(work, "render-%d.png" % frame)
    subprocess.run([vxa, "render", movie, "--frame", str(frame), "-o", path], check=True, env=env)
    return Image.open(path).convert("RGB")


def picture(path):
    return Image.open(path).convert("RGB") if os.path.exists(path) else None


def out(name):
    return os.path.join(work, name)


try:
    # A movie that holds on frame 6: the window shows the frame `vxa render`
    # draws, at twice the size pixel for pixel, and still holds it later.
    waiting = os.path.join(examples, "wait-for-click.vxa")
    status, err = play(waiting, "--scale", "2", "--for", "2600", "--snapshot", "1200:" + out("held.png"),
                       "--snapshot", "2400:" + out("still.png"))
    check(status == 0, "the player exits 0 after --for (%d) %s" % (status, err.strip()))
    frame6 = render(waiting, 6)
    held, still = picture(out("held.png")), picture(out("still.png"))
    check(held is not None and held.size == (frame6.width * 2, frame6.height * 2),
          "--scale 2 makes the window twice the movie's size")
    check(held is not None and held.tobytes() == frame6.resize(held.size, Image.NEAREST).tobytes(),
          "the window shows frame 6 as vxa render draws it, every pixel doubled")
    check(still is not None and held is not None and still.tobytes() == held.tobytes(),
          "the hold for a click keeps frame 6")

    # A click pauses the showcase: two later snapshots are the same picture,
    # where the movie would have moved on by ten frames. Its first sound
    # reaches the sound output meanwhile.
    showcase = os.path.join(examples, "showcase.vxa")
    capture = out("capture.wav")
    recorder = subprocess.Popen(["parec", "--latency-msec=20", "-d", "zured16_out.monitor", "--file-format=wav",
                                 "--format=s16le", "--rate=44100", "--channels=1", capture], env=env)
    for _ in range(100):
        if os.path.exists(capture) and os.path.getsize(capture) > 8192:
            break
        time.sleep(0.05)

    def click():
        # Once the window is mapped, the pointer moved in from outside it (a
        # window the pointer never entered takes no clicks).
        # xdotool gives up when a window goes away while it searches (one of
        # an earlier run's): it is asked again.
        for _ in range(20):
            done = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "showcase.vxa",
                                   "mousemove", "0", "0", "sleep", "0.2", "mousemove", "--window", "%1", "5", "5",
                                   "sleep", "0.3", "click", "1"], env=env, check=False, capture_output=True)
            if done.returncode == 0:
                break

    status, err = play(showcase, "--sounds", os.path.join(examples, "sounds"), "--for", "9200", "--snapshot", "7500:" + out("paused-a.png"), "--snapshot",
                       "9000:" + out("paused-b.png"), during=click)
    time.sleep(0.5)
    recorder.terminate()
    recorder.wait()
    a, b = picture(out("paused-a.png")), picture(out("paused-b.png"))
    check(status == 0 and a is not None and b is not None and a.tobytes() == b.tobytes(),
          "a click pauses: the picture stays")
    with wave.open(capture) as sound:
        samples = array.array("h", sound.readframes(sound.getnframes()))
    loud = sum(1 for s in samples if abs(s) > 1000)
    check(loud > 4410, "the showcase's sound reaches the output (%d loud samples)" % loud)

    # A damaged copy plays what is valid and says once what was left out:
    # the tenth block's length broken, so that nothing after it can be read.
    data = bytearray(open(showcase, "rb").read())
    at = 20  # after the wide header
    for _ in range(9):
        at += 2 + (data[at] << 8 | data[at + 1])
    data[at:at + 2] = b"\xff\xff"
    damaged = out("damaged.vxa")
    with open(damaged, "wb") as f:
        f.write(data)
    status, err = play(damaged, "--for", "300")
    lines = [line for line in err.splitlines() if line.startswith("vxa:") and "left out" in line]
    check(status == 0 and len(lines) == 1, "a damaged movie plays and says once what was left out: %r" % err)

    stub = out("stub.vxa")
    with open(stub, "wb") as f:
        f.write(b"\x27\x10\x00")
    status, err = play(stub, "--for", "300")
    check(status == 1 and "ends inside its header" in err, "a file that is no movie is an error: %r" % err)
finally:
    subprocess.run([os.path.join(root, "scripts/wine-env"), "stop", listed], env=env, check=False)

print("%d failed" % len(failures))
sys.exit(1 if failures else 0)
