#!/usr/bin/env python3
"""The hostile module on the sanitized desktop host, on a private Xvfb.

The module (hostile_module.cpp) does every wrong thing a module author can
do and logs each act as it returns from it. This driver answers every box
the host shows (logging its caption and text), lets the host draw the broken
scene for a while, ends the run with Escape and checks:

  - the exit code is 0 and no sanitizer reported anything;
  - every act was logged, so the host came back from each one, and every
    answer the module checked (callbacks and scene library) was the chosen one;
  - the boxes are exactly the refusals our choices name, in order: one
    "SetDisplayMode failed" per refused mode, one "Image could not be loaded
    and/or found" per null, over-long, missing, not-a-bitmap or deferred
    image, the module's empty Report box, and "DESTROY!" at the end.

usage: hostile_run.py --host PATH --module PATH --work DIR [--supp FILE]
                      [--preload LIB] [--images N]
"""
import argparse
import os
import re
import signal
import struct
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from desktop_e2e import Failure, XServer, check, wait_for  # noqa: E402
from sanitized_host import SanitizedHost  # noqa: E402

CASE_TIMEOUT_S = 360

# The acts of the module, in the order it does them.
ACTS = [
    "draw-sprite-before-mode", "draw-map-before-mode-and-images", "draw-null-sprite",
    "draw-null-map", "nonzero-answer-before-mode",
    "setmode-zero", "setmode-negative", "setmode-odd-depth", "setmode-huge", "setmode-twice",
    "addimage-null-name", "addimage-300-char-name", "addimage-255-char-name",
    "addimage-missing-file", "addimage-not-a-bitmap", "addimage-odd-flag", "addimage-10000",
    "newlayer-1000", "layer-without-map", "viewcols-4294967295", "negative-map-counts",
    "huge-tile-sizes", "map-without-cells", "chain-1000-layers", "sprite-with-failed-image",
    "sprite-without-image", "node-without-sprite", "negative-rectangles",
    "extreme-rectangles", "stretch-1x1-to-screen", "source-past-image",
    "sprite-with-module-made-image", "unlink-twice", "moveto-after-unlink",
    "setdepth-unlinked", "moveto-null", "unlinked-owner-node", "direct-draws",
    "report-null-text", "setmode-under-loaded-images", "setmode-back",
    "view-0-by-4294967295", "node-chain-loop", "layer-chain-loop", "image-list-loop", "done",
]

IMAGE_FAILED = ("Error!", "Image could not be loaded and/or found")
MODE_FAILED = ("Error!", "SetDisplayMode failed")
# The boxes of the run before Escape, in order.
EXPECTED_BOXES = (
    [MODE_FAILED] * 4  # 0x0, negative, 13 bits, INT_MAX x INT_MAX
    + [IMAGE_FAILED] * 6  # null, 300 chars, 255 chars (no such file), missing, not a bitmap, odd flag
    + [("Report", "")]  # Report with a null text
    + [IMAGE_FAILED]  # AddImage over the image list bent into a loop
)

# Lines that say why, each exactly once however many frames walk the loops.
LOOP_LINES = [
    "the layer chain (prog.layers, then each layer's next) loops back on itself",
    "a layer's sprite list (first, then each node's next) loops back on itself",
    "AddImage: the image list loops back on itself",
]


def write_bmp(path, width, height, rgb):
    """A 24-bit bottom-up bitmap of one colour."""
    row = bytes([rgb & 255, (rgb >> 8) & 255, (rgb >> 16) & 255]) * width
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


class HostileX(XServer):
    """The X server, with the module's settings in every child's environment."""

    def __init__(self, width, height, extra_env):
        super().__init__(width, height)
        self.extra_env = extra_env

    def env(self):
        env = super().env()
        env.update(self.extra_env)
        return env


def boxes_shown(host):
    return re.findall(r"^vantrel: \[([^\]]*)\] (.*)$", host.stderr(), re.M)


def acts_logged(log_path):
    if not os.path.exists(log_path):
        return []
    with open(log_path) as f:
        return re.findall(r"^act (\S+)$", f.read(), re.M)


def answer_boxes_until(host, x, answered, done, timeout):
    """Answers each box as it appears, in order, until `done()` holds and no
    box waits. Answers the number of boxes answered so far."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        shown = boxes_shown(host)
        if answered < len(shown):
            caption, text = shown[answered]
            print("box %d: [%s] %s" % (answered + 1, caption, text), flush=True)
            wid = wait_for(lambda: x.window_named(caption), 30, "the %r box" % caption)
            x.run("xdotool", "key", "--window", wid, "Return")
            wait_for(lambda: x.window_named(caption) != wid, 30, "the %r box to close" % caption)
            answered += 1
            continue
        if done():
            return answered
        check(host.proc.poll() is None,
              "the host ended early with %s:\n%s" % (host.proc.returncode, host.stderr()))
        time.sleep(0.1)
    raise Failure("timed out answering boxes (%d answered)" % answered)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--module", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--supp")
    parser.add_argument("--preload", help="keep_loaded, preloaded into the host")
    parser.add_argument("--images", type=int, default=10000)
    args = parser.parse_args()
    if args.supp:
        args.supp = os.path.abspath(args.supp)

    os.makedirs(args.work, exist_ok=True)
    files = os.path.join(os.path.abspath(args.work), "files")
    os.makedirs(files, exist_ok=True)
    tiles = os.path.join(files, "tiles.bmp")
    write_bmp(tiles, 32, 32, 0x3060C8)
    not_bmp = os.path.join(files, "not-a-bitmap.bmp")
    with open(not_bmp, "w") as f:
        f.write("this is text, not a bitmap\n")
    log = os.path.join(files, "hostile.log")
    if os.path.exists(log):
        os.remove(log)

    def on_alarm(signum, frame):
        raise Failure("the run took longer than %d s" % CASE_TIMEOUT_S)
    signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(CASE_TIMEOUT_S)

    x = HostileX(1280, 960, {
        "VANTREL_HOSTILE_LOG": log,
        "VANTREL_HOSTILE_BMP": tiles,
        "VANTREL_HOSTILE_NOT_BMP": not_bmp,
        "VANTREL_HOSTILE_IMAGES": str(args.images),
    })
    host = None
    try:
        started = time.monotonic()
        host = SanitizedHost(x, os.path.join(args.work, "host"), args.host, args.module,
                             args.supp, args.preload)
        answered = answer_boxes_until(host, x, 0, lambda: "done" in acts_logged(log), 300)
        # The broken scene is drawn on every idle turn and after every input
        # event; give it input, then a second of the host's own processor time
        # drawing it (not a wall-clock wait: a busy machine gives it less).
        cpu0 = host.cpu_seconds()
        x.run("xdotool", "mousemove", "10", "10", "click", "1", "click", "3", "key", "Left",
              "mousemove", "1270", "950", "key", "a")
        wait_for(lambda: host.proc.poll() is not None or host.cpu_seconds() - cpu0 >= 1.0, 60,
                 "the host to spend a second of processor time drawing the broken scene")
        check(host.proc.poll() is None, "the host ended while drawing:\n" + host.stderr())
        x.run("xdotool", "key", "Escape")
        host.answer_box("Error!", "DESTROY!")
        host.check_clean_exit(0)
        elapsed = time.monotonic() - started

        acts = acts_logged(log)
        check(acts == ACTS, "acts logged differ:\n  got      %s\n  expected %s" % (acts, ACTS))
        wrong = re.findall(r"^wrong (.*)$", open(log).read(), re.M)
        check(not wrong, "answers other than the chosen refusals: %s" % wrong)
        shown = [tuple(b) for b in boxes_shown(host)]
        expected = EXPECTED_BOXES + [("Error!", "DESTROY!")]
        check(shown == expected,
              "boxes differ:\n  got      %s\n  expected %s" % (shown, expected))
        err = host.stderr()
        for line in LOOP_LINES:
            check(err.count(line) == 1, "said %d times, not once: %s" % (err.count(line), line))
        summary = re.search(r"^acts (\d+) frames (\d+)$", open(log).read(), re.M)
        print("hostile module: %s wrong acts tried (%d images loaded), %s frames drawn over the "
              "broken scene, %d boxes answered, exit code 0, no sanitizer report, %.0f s"
              % (summary.group(1), args.images, summary.group(2), len(shown), elapsed))
    except Failure as failure:
        print("FAIL hostile: %s" % failure)
        if host is not None:
            print("--- host standard error (last 6000 characters) ---\n" + host.stderr()[-6000:])
        if os.path.exists(log):
            print("--- module log (last 40 lines) ---\n"
                  + "".join(open(log).readlines()[-40:]))
        return 1
    finally:
        signal.alarm(0)
        if host is not None:
            host.kill()
        x.stop()
    print("ok hostile")
    return 0


if __name__ == "__main__":
    sys.exit(main())
