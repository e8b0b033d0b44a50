#!/usr/bin/python3
"""End-to-end playback through vxaplay and the built module under Wine.

Each scenario builds a stream with the native `vxa build`, plays it with
scripts/vxaplay (--batch, --record, and whatever clicks, keys, chunks and
ends it needs), then reads vxaplay's event lines and the recorded pictures.
Frame n of every test movie shows one black 8 x 8 square at x = 8 (n - 1) on
a white background, so each picture tells which frame it is.

usage: playback_scenarios.py --work DIR SCENARIO
The tree (its scripts/vxaplay and its builds) is the one this file lies in.
Exit status 0 passed, 1 failed, 77 skipped (no native vxa tool).
"""
import argparse
import json
import os
import random
import shutil
import signal
import struct
import subprocess
import sys

from PIL import Image

SKIPPED = 77
SQUARE = 8


def run_bounded(command, seconds):
    """Runs a command in a process group of its own. Past its time the whole
    group is stopped: killing only the wrapper script would leave the Windows
    program it started playing on, at full speed, after the test."""
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                               start_new_session=True)
    def stop(how):
        try:
            os.killpg(process.pid, how)
        except ProcessLookupError:
            pass  # the whole group has ended

    try:
        stdout, stderr = process.communicate(timeout=seconds)
    except subprocess.TimeoutExpired:
        # TERM first: the wrapper stops the servers it started on its way out.
        stop(signal.SIGTERM)
        try:
            process.communicate(timeout=5)
        except subprocess.TimeoutExpired:
            stop(signal.SIGKILL)
            process.communicate()
        raise
    return subprocess.CompletedProcess(command, process.returncode, stdout, stderr)


# --- pictures -----------------------------------------------------------

def frame_shown(path, frames):
    """The frame whose square the picture shows; 0 for a window not painted
    yet (grey), -1 for anything else."""
    picture = Image.open(path).convert("RGB")
    black = [n for n in range(1, frames + 1) if picture.getpixel((SQUARE * (n - 1) + 3, 3)) == (0, 0, 0)]
    if len(black) == 1:
        return black[0]
    if not black and picture.getpixel((1, 3))[0] not in (0, 255):
        return 0
    return -1


# --- movies ---------------------------------------------------------------

def square_group(group_id):
    return {"id": group_id, "width": SQUARE, "height": SQUARE, "objects": [{
        "kind": "rect", "right": SQUARE - 1, "bottom": SQUARE - 1, "fillColor1": 255,
        "fillColor2": 255, "lineColor1": 255, "lineColor2": 255, "fillPattern": 0, "linePattern": 255}]}


def movie_source(frames, rate, loop=False, wait=False, late_group_frame=None):
    """Frame n places a square at its own x. With late_group_frame, that frame
    uses group 2, which comes in a block of its own right after the frame's."""
    blocks = []
    for n in range(1, frames + 1):
        group = 2 if n == late_group_frame else 1
        block = {"frame": {"number": n, "items": [{"group": group, "x": SQUARE * (n - 1), "y": 0}]}}
        if n == 1:
            block["groups"] = [square_group(1)]
        blocks.append(block)
        if n == late_group_frame:
            blocks.append({"groups": [square_group(2)]})
    return {"header": {"width": SQUARE * frames, "height": 16, "frameRate": rate, "loop": loop,
                       "waitForClick": wait, "groupCount": 2 if late_group_frame else 1,
                       "frameCount": frames},
            "blocks": blocks}


def block_offsets(path):
    """Byte offset of each block of a wide stream."""
    with open(path, "rb") as f:
        data = f.read()
    offsets, pos = [], 20
    while pos + 2 <= len(data):
        offsets.append(pos)
        pos += 2 + struct.unpack(">H", data[pos:pos + 2])[0]
    return offsets


def chunk_holding_back(path, block):
    """A chunk size for which the second chunk (the one that starts
    playback) ends inside the given block, and the third completes it."""
    offsets = block_offsets(path)
    start, end = offsets[block], offsets[block + 1] if block + 1 < len(offsets) else os.path.getsize(path)
    chunk = (start + 1) // 2
    assert start <= 2 * chunk < end <= 3 * chunk, "the block does not fit the chunking"
    return chunk


# --- running ----------------------------------------------------------------

class Run:
    def __init__(self, stdout, returncode, record_dir, frames):
        self.returncode = returncode
        self.lines = [line.split(" ", 2) for line in stdout.splitlines() if line.strip()]
        self.text = stdout
        self.pictures = []  # (ms, frame shown)
        for name in sorted(os.listdir(record_dir)):
            ms = int(name.split("-")[1].split(".")[0])
            self.pictures.append((ms, frame_shown(os.path.join(record_dir, name), frames)))

    def events(self, kind, details_prefix=""):
        return [(int(l[1]), l[2] if len(l) > 2 else "") for l in self.lines
                if l[0] == kind and (len(l) > 2 and l[2].startswith(details_prefix) or not details_prefix)]

    def time_of(self, kind, details_prefix=""):
        found = self.events(kind, details_prefix)
        return found[0][0] if found else None

    def shown(self):
        """Frames in the order they appeared, with their times (blank left out)."""
        return [(ms, n) for ms, n in self.pictures if n != 0]


class Scenarios:
    def __init__(self, root, work, vxaplay_options=()):
        self.root = root
        self.work = work
        # Which build vxaplay plays with (["--i686"] for the i686 one).
        self.vxaplay_options = list(vxaplay_options)
        self.vxa = os.path.join(root, "build", "native", "tools", "vxa", "vxa")
        self.failures = []

    def check(self, condition, message):
        """Records a failure unless the condition holds; returns the
        condition, so that checks which depend on it can be skipped once it
        has failed."""
        if not condition:
            self.failures.append(message)
        return condition

    def movie(self, name, source):
        json_path = os.path.join(self.work, name + ".json")
        vxa_path = os.path.join(self.work, name + ".vxa")
        with open(json_path, "w") as f:
            json.dump(source, f)
        subprocess.run([self.vxa, "build", json_path, "-o", vxa_path], check=True)
        return vxa_path

    def play(self, movie_path, frames, *options, record_pictures=True):
        record = os.path.join(self.work, "record")
        shutil.rmtree(record, ignore_errors=True)
        os.makedirs(record)
        recording = ["--record", record] if record_pictures else []
        command = [os.path.join(self.root, "scripts", "vxaplay"), *self.vxaplay_options, "--batch", *recording,
                   *map(str, options), movie_path]
        done = run_bounded(command, 120)
        with open(os.path.join(self.work, "vxaplay.out"), "w") as f:
            f.write(" ".join(command) + "\n" + done.stdout + done.stderr)
        run = Run(done.stdout, done.returncode, record, frames)
        self.check(done.returncode == 0, "vxaplay exit status %d: %s" % (done.returncode, done.stderr[-500:]))
        self.check(run.lines and run.lines[-1] == ["exit", "0"], "last line is not 'exit 0'")
        self.check(all(n != -1 for _, n in run.pictures), "a picture that is no frame: %s" % run.pictures)
        return run

    def sequence(self, run):
        return [n for _, n in run.shown()]

    def all_frames_in_order(self, run, frames):
        seq = self.sequence(run)
        self.check(seq == list(range(1, frames + 1)), "frames %s, not 1..%d" % (seq, frames))

    # Each scenario: build, play, check.

    def order_and_rate(self):
        run = self.play(self.movie("rate10", movie_source(10, 10)), 10, "--for", 1900)
        shown = run.shown()
        self.all_frames_in_order(run, 10)
        gaps = [b[0] - a[0] for a, b in zip(shown, shown[1:])]
        self.check(all(g >= 90 for g in gaps), "a frame came early at 10 frames/s: gaps %s" % gaps)
        self.check(sorted(gaps)[len(gaps) // 2] <= 160 if gaps else False, "too slow: gaps %s" % gaps)
        start = run.time_of("call", "NPP_DestroyStream")
        self.check(start is not None and shown and shown[0][0] >= start,
                   "a frame before the stream ended in one chunk")
        # Not looping: the movie ends on frame 10 and its last picture stays.
        self.check(run.pictures and run.pictures[-1][1] == 10, "the last picture is not frame 10")

    def timer_bounds_rate(self):
        run = self.play(self.movie("rate200", movie_source(24, 200)), 24, "--for", 1200)
        shown = run.shown()
        self.all_frames_in_order(run, 24)
        if self.check(len(shown) == 24, "%d frames shown, not 24" % len(shown)):
            span = shown[-1][0] - shown[0][0]
            self.check(span >= 23 * 18, "24 frames in %d ms: more than one per 20-ms timer message" % span)

    def held_back(self, name, source, block, what):
        """Playback starts with the second chunk; `block` is complete only
        with the third, and what it brings (`what`) is shown at once then."""
        path = self.movie(name, source)
        run = self.play(path, 10, "--chunk", chunk_holding_back(path, block), "--chunk-delay", 400, "--for", 3000)
        writes = run.events("call", "NPP_Write ")
        self.all_frames_in_order(run, 10)
        shown = dict((n, ms) for ms, n in run.shown())
        if self.check(len(writes) >= 3, "the stream did not come in chunks") and \
                self.check({1, 3, 4} <= set(shown), "frames 1, 3 and 4 are not all shown: %s" % shown):
            self.check(shown[1] >= writes[1][0], "frame 1 before the second chunk")
            self.check(shown[3] < writes[2][0], "frame 3 only after the third chunk")
            self.check(writes[2][0] <= shown[4] <= writes[2][0] + 100,
                       "frame 4 at %d, %s at %d: not shown at once" % (shown[4], what, writes[2][0]))

    def chunks_keep_pace(self):
        # A stream in small, quick chunks: each one may start the timer, but
        # one that runs must keep its period, or playback starves until the
        # stream ends. While chunks still arrive, at least half of the frames
        # that 10 frames a second allows must show.
        run = self.play(self.movie("pace", movie_source(20, 10)), 20,
                        "--chunk", 4, "--chunk-delay", 15, "--for", 3500)
        writes = [ms for ms, _ in run.events("call", "NPP_Write ")]
        self.all_frames_in_order(run, 20)
        if self.check(len(writes) >= 20, "only %d chunks" % len(writes)):
            streaming = writes[-1] - writes[1]
            due = min(20, streaming // 100)
            during = [n for ms, n in run.shown() if writes[1] <= ms <= writes[-1]]
            self.check(due >= 4, "the stream took only %d ms: too short to judge the pace" % streaming)
            self.check(2 * len(during) >= due, "%d frames while the chunks arrived over %d ms (%d due): %s"
                       % (len(during), streaming, due, run.shown()))

    def late_frame(self):
        # The second chunk holds frames 1 to 3; frame 4 (block 3) comes with the third.
        self.held_back("lateframe", movie_source(10, 10), 3, "its chunk")

    def late_group(self):
        # Frame 4's record comes with the second chunk, the group it places
        # (block 4, right after it) only with the third.
        self.held_back("lategroup", movie_source(10, 10, late_group_frame=4), 4, "its group")

    def loops(self):
        run = self.play(self.movie("loop", movie_source(8, 50, loop=True)), 8, "--for", 1500)
        seq = self.sequence(run)
        expected = list(range(1, 9)) + [6, 7, 8] * 20
        self.check(len(seq) >= 14 and seq == expected[:len(seq)], "looping order %s" % seq)

    def wait_for_click(self):
        run = self.play(self.movie("wait", movie_source(10, 20, wait=True)), 10,
                        "--click", 900, "--for", 1600)
        click = run.time_of("click")
        shown = run.shown()
        self.all_frames_in_order(run, 10)
        self.check(click is not None and all(ms < click for ms, n in shown if n <= 6),
                   "frames up to 6 before the click")
        self.check(click is not None and all(ms >= click for ms, n in shown if n >= 7),
                   "frame 7 came before the click at %s: %s" % (click, shown))

    def click_pauses_and_resumes(self):
        run = self.play(self.movie("pause", movie_source(12, 10)), 12,
                        "--click", 350, "--click", 900, "--for", 2500)
        clicks = [ms for ms, _ in run.events("click")]
        shown = run.shown()
        self.all_frames_in_order(run, 12)
        if self.check(len(clicks) == 2, "%d clicks, not 2" % len(clicks)):
            paused = [n for ms, n in shown if clicks[0] + 40 < ms < clicks[1]]
            self.check(not paused, "frames %s while paused" % paused)
            after = [ms for ms, n in shown if ms >= clicks[1]]
            self.check(after and after[0] - clicks[1] <= 100, "no frame soon after the second click")

    def escape_stops(self):
        run = self.play(self.movie("esc", movie_source(12, 10)), 12, "--esc", 700, "--for", 1800)
        esc = run.time_of("esc")
        shown = run.shown()
        if self.check(esc is not None, "the ESC key was never handed to the plug-in"):
            late = [n for ms, n in shown if ms > esc + 40]
            self.check(not late, "frames %s after ESC at %d" % (late, esc))
            self.check(any(ms <= esc for ms, _ in shown), "nothing shown before ESC")

    def one_chunk_waits_for_normal_end(self):
        path = self.movie("onechunk", movie_source(6, 20))
        run = self.play(path, 6, "--end-delay", 500, "--for", 1200)
        end = run.time_of("call", "NPP_DestroyStream done")
        shown = run.shown()
        self.check(end is not None and end >= 450, "the stream ended too early")
        self.check(shown and end is not None and shown[0][0] >= end,
                   "frame %s before NPP_DestroyStream at %s" % (shown[:1], end))
        run = self.play(path, 6, "--end-reason", "network-error", "--for", 600)
        self.check(not run.shown(), "frames after an abnormal end of a one-chunk stream")

    def boxes_are_answered(self):
        # Sound 3 is not in the sound folder: the failure is told in boxes,
        # which --batch answers, and playback goes on.
        source = movie_source(6, 10)
        source["blocks"][1]["frame"]["sound"] = 3
        run = self.play(self.movie("sound", source), 6, "--for", 3000)
        boxes = [text for _, text in run.events("box")]
        self.check(any("3.WAV" in text and ": " in text for text in boxes), "no box about 3.WAV: %s" % boxes)
        self.check(any("\\n" in text for text in boxes), "a box's line break is not written as \\n")
        self.all_frames_in_order(run, 6)

    def ended(self, run, end):
        """After NPP_Destroy at `end`: the window is the page's again, no
        timer of the plug-in's is left on it, and a click into it (one comes
        250 ms after the end) brings nothing back."""
        self.check([d for _, d in run.events("window")] == ["given back"],
                   "the window was not given back: %s" % run.events("window"))
        self.check(not run.events("timer"), "the plug-in's timer outlived it: %s" % run.events("timer")[:3])
        self.check(any(ms > end for ms, _ in run.events("click")), "no click after the end")
        self.check(not [n for ms, n in run.shown() if ms > end], "frames after NPP_Destroy: %s" % run.shown())

    def destroy_mid_playback(self):
        run = self.play(self.movie("destroy", movie_source(12, 10)), 12,
                        "--destroy", 450, "--click", 700, "--for", 1100)
        end = run.time_of("call", "NPP_Destroy ->")
        if self.check(end is not None, "no NPP_Destroy"):
            self.ended(run, end)
            self.check(any(n for ms, n in run.shown() if ms < end), "nothing played before NPP_Destroy")

    def destroy_inside_pump(self):
        run = self.play(self.movie("destroypump", movie_source(12, 10)), 12,
                        "--destroy", "450:pump", "--click", 700, "--for", 1100)
        end = run.time_of("call", "NPP_Destroy in-pump")
        if self.check(end is not None, "NPP_Destroy did not come from inside the plug-in's pump:\n" + run.text):
            self.ended(run, end)
        self.check(run.time_of("call", "NP_Shutdown") is not None, "no NP_Shutdown after the end")


    def hostile_frames(self):
        """Frames that ask for far more drawing than a frame may do: one block's
        worth of rectangles placed 255 times (a stream of some 37 KB), and a
        polygon of 16,000 points placed 255 times. The drawing budget cuts
        them, the user is told, and ESC and the end of the instance, plain
        or from inside the plug-in's pump, are handled within about a second
        of being asked; vxaplay ends normally."""
        rectangle = {"kind": "rect", "right": 3, "bottom": 3, "fillColor1": 35, "fillColor2": 35,
                     "fillPattern": 12, "linePattern": 255}
        rng = random.Random(7)
        polygon = {"kind": "polygon", "fillColor1": 35, "fillColor2": 210, "fillPattern": 5, "linePattern": 22,
                   "points": [[rng.randrange(256), rng.randrange(256)] for _ in range(16000)]}
        asked = 1500
        for name, objects in (("rectangles", [rectangle] * 2500), ("polygon", [polygon])):
            items = [{"group": 1, "x": i * 37 % 400, "y": i * 53 % 240} for i in range(255)]
            # A looping movie goes back to frame 6 after its last: eight
            # frames play on for as long as the run lasts.
            source = {"header": {"width": 640, "height": 480, "frameRate": 25, "loop": True,
                                 "groupCount": 1, "frameCount": 8},
                      "blocks": [{"groups": [{"id": 1, "width": 256, "height": 256, "objects": objects}]}] +
                                [{"frame": {"number": n, "items": items[::1 if n % 2 else -1]}} for n in range(1, 9)]}
            path = self.movie("hostile-" + name, source)
            for ask, event in ((["--esc", asked], ("esc", "")), (["--destroy", asked], ("call", "NPP_Destroy")),
                               (["--destroy", "%d:pump" % asked], ("call", "NPP_Destroy in-pump"))):
                run = self.play(path, 2, *ask, "--for", asked + 1500, record_pictures=False)
                at = run.time_of(*event)
                self.check(at is not None and at - asked <= 1000,
                           "%s, %s asked at %d: handled at %s" % (name, " ".join(map(str, ask)), asked, at))
                boxes = [text for _, text in run.events("box")]
                self.check(any("cannot be shown" in text for text in boxes),
                           "%s: the user was not told: %s" % (name, boxes))

def main():
    parser = argparse.ArgumentParser()
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--root", default=os.path.normpath(os.path.join(here, "..", "..")),
                        help="the tree whose builds are played (default: the one this file is in)")
    parser.add_argument("--work", required=True)
    parser.add_argument("--vxa", help="the native vxa tool (default: ROOT/build/native/tools/vxa/vxa)")
    parser.add_argument("--i686", action="store_true", help="play through the i686 build (under WoW64)")
    parser.add_argument("scenario")
    args = parser.parse_args()
    scenarios = Scenarios(os.path.abspath(args.root), os.path.abspath(args.work),
                          ["--i686"] if args.i686 else [])
    if args.vxa:
        scenarios.vxa = args.vxa
    if not os.access(scenarios.vxa, os.X_OK):
        print("SKIPPED: %s is not built; build the native preset first (make build-native)" % scenarios.vxa)
        return SKIPPED
    os.makedirs(scenarios.work, exist_ok=True)
    getattr(scenarios, args.scenario)()
    for failure in scenarios.failures:
        print("FAILED: " + failure)
    if not scenarios.failures:
        print("passed: " + args.scenario)
    return 1 if scenarios.failures else 0


if __name__ == "__main__":
    sys.exit(main())
