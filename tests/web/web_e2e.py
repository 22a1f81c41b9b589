#!/usr/bin/env python3
"""End-to-end cases of the web page host (label `web`): the pages of the web
build (build/web) served by Python's http.server on 127.0.0.1 and driven in
headless Chromium through chromedriver (WebDriver).

    web_e2e.py CASE --web-build DIR [--source DIR] [--work DIR]

Exit code 0: passed, 1: failed, 77: skipped (the web build is not there).
"""
import argparse
import base64
import os
import re
import shutil
import subprocess
import sys
import time
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from webdriver import Browser, Server, WebDriverError  # noqa: E402

SKIP = 77


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def read_png_rgb(path):
    """An 8-bit, non-interlaced PNG file as (width, height, RGB bytes)."""
    data = open(path, "rb").read()
    check(data[:8] == b"\x89PNG\r\n\x1a\n", "%s is not a PNG file" % path)
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length = int.from_bytes(data[pos:pos + 4], "big")
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = body
        elif kind == b"IDAT":
            idat += body
    width, height = int.from_bytes(header[0:4], "big"), int.from_bytes(header[4:8], "big")
    depth, colour, interlace = header[8], header[9], header[12]
    channels = {0: 1, 2: 3, 4: 2, 6: 4}.get(colour)
    check(depth == 8 and channels and interlace == 0, "%s: a PNG kind this reader lacks" % path)
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prev, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = prev[i]
            c = prev[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + ((a + b) >> 1)) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    rgb = bytearray()
    for line in rows:
        for x in range(width):
            px = line[x * channels:(x + 1) * channels]
            rgb += px[:3] if channels >= 3 else bytes([px[0]] * 3)
    return width, height, bytes(rgb)


def stage(args, game, extra=()):
    """A folder with the game's four files (and `extra` files) to serve."""
    folder = os.path.join(args.work, "site")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    source = os.path.join(args.web_build, game)
    for suffix in (".html", ".js", ".wasm", ".data"):
        path = os.path.join(source, game + suffix)
        if os.path.exists(path):
            shutil.copy(path, folder)
    for path in extra:
        shutil.copy(path, folder)
    return folder


def started(browser, timeout=60):
    browser.wait_for("return typeof Module === 'object' && Module.vantrelPage &&"
                     " Module.vantrelPage.framesShown > 10", timeout, "the game's first frames")


def status(browser):
    return browser.script("return document.getElementById('vantrel-status').textContent")


def canvas_rgb(browser):
    """What the canvas shows now, read back, as (width, height, RGB bytes)."""
    f = browser.script("var p = Module.vantrelPage; p.keepCanvas(-1); return p.keptFrameRgb(-1);")
    return f["width"], f["height"], base64.b64decode(f["rgb"])


def region_changed(before, after, box):
    w = before[0]
    x0, y0, x1, y1 = box
    for y in range(y0, y1):
        a = before[2][(y * w + x0) * 3:(y * w + x1) * 3]
        b = after[2][(y * w + x0) * 3:(y * w + x1) * 3]
        if a != b:
            return True
    return False


def answer_box(browser, caption, text, key="Enter", timeout=20):
    """Waits for the next box, checks it is [caption] text, answers it with a
    real key press, and waits until it has closed."""
    seen = browser.script("return Module.vantrelPage.boxes.length")
    browser.wait_for("return Module.vantrelPage.boxOpen", timeout, "the box [%s] %s" % (caption, text))
    box = browser.script("var b = Module.vantrelPage.boxes; return b[b.length - 1]")
    count = browser.script("return Module.vantrelPage.boxes.length")
    check(count >= seen, "boxes went missing")
    check((box["caption"], box["text"]) == (caption, text),
          "the box is [%s] %s, not [%s] %s" % (box["caption"], box["text"], caption, text))
    browser.key(key)
    browser.wait_for("return !Module.vantrelPage.boxOpen || Module.vantrelPage.boxes.length > %d"
                     % count, timeout, "the box to close")


def wait_ended(browser, timeout=20):
    browser.wait_for("return Module.vantrelPage.ended !== null", timeout, "the end of the run")
    text = status(browser)
    check(text.startswith("The game has ended."), "the page says %r" % text)
    check(browser.script("return document.getElementById('vantrel-status').hidden") is False,
          "the end is not shown")
    return browser.script("return Module.vantrelPage.ended")


# ---------------------------------------------------------------------------
def replay_in_page(folder, page, script, frames, golden):
    """Opens `page` in `folder` on its replay entry with `script`; every
    frame of `frames`, read back from the canvas, must equal its golden."""
    with Server(folder) as server, Browser() as browser:
        browser.get(server.url("%s?replay=%s&frames=%s" % (page, script,
                                                           ",".join(map(str, frames)))))
        summary = browser.wait_for("return Module.vantrelPage.replay", 600, "the replay's end",
                                   interval=1)
        print("replay: %s" % summary)
        check(summary["error"] == "", "the replay failed: %s" % summary["error"])
        check(summary["scriptFinished"], "the run ended before the script did")
        check(summary["framesKept"] == len(frames), "%d of %d frames kept" %
              (summary["framesKept"], len(frames)))
        differing = 0
        for n in frames:
            kept = browser.script("return Module.vantrelPage.keptFrameRgb(%d)" % n)
            rgb = base64.b64decode(kept["rgb"])
            gw, gh, pixels = read_png_rgb(os.path.join(golden, "frame-%06d.png" % n))
            if (kept["width"], kept["height"]) != (gw, gh):
                print("frame %d: %dx%d, the golden is %dx%d" % (n, kept["width"],
                                                              kept["height"], gw, gh))
                differing += 1
                continue
            bad = sum(1 for i in range(0, len(rgb), 3) if rgb[i:i + 3] != pixels[i:i + 3])
            print("frame %d: %d pixels differ" % (n, bad))
            differing += bad > 0
        check(differing == 0, "%d frames differ from their goldens" % differing)
        check(summary["exitCode"] == 0, "exit code %d" % summary["exitCode"])


def case_replay(args):
    """The demo's session replayed inside the page: every chosen frame, read
    back from the canvas, equals its golden pixel for pixel."""
    demo = os.path.join(args.source, "modules", "demo", "replay")
    frames = [int(n) for n in open(os.path.join(demo, "golden-frames.txt")).read().split(",")]
    folder = stage(args, "demo", [os.path.join(demo, "session.script")])
    replay_in_page(folder, "demo.html", "session.script", frames, os.path.join(demo, "golden"))


def case_replay_refused(args):
    """The replay entry with a script it cannot run: a clear outcome in the
    page (vantrel-replay's usage exit code and the reason), nothing run."""
    folder = stage(args, "demo")
    with open(os.path.join(folder, "bad.script"), "w") as f:
        f.write("vantrel-replay 1\nwait 100\nkeydown NOSUCHKEY\n")
    with open(os.path.join(folder, "other.script"), "w") as f:
        f.write("some other file\n")
    rows = [  # (script, frames, the reason's start)
        ("missing.script", "1", "the page has no script to replay"),
        ("bad.script", "1", "script line 3: "),
        ("other.script", "1", "script line 1: "),
        ("bad.script", "0,x", "--frames"),
    ]
    with Server(folder) as server, Browser() as browser:
        for script, frames, reason in rows:
            browser.get(server.url("demo.html?replay=%s&frames=%s" % (script, frames)))
            summary = browser.wait_for("return Module.vantrelPage.replay", 60, "the replay's end")
            print("%s %s: %s" % (script, frames, summary))
            check(summary["exitCode"] == 2, "%s: exit code %d" % (script, summary["exitCode"]))
            check(reason in summary["error"], "%s: the reason is %r" % (script, summary["error"]))
            check(summary["framesPresented"] == 0, "%s: frames were presented" % script)
            check(status(browser).startswith("Replay ended: 0 frames presented, 0 kept ("),
                  "%s: the page says %r" % (script, status(browser)))


def run(command, **kw):
    print("+ " + " ".join(command))
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kw)
    if done.returncode != 0:
        print(done.stdout[-4000:])
    check(done.returncode == 0, "%s failed (exit code %d)" % (command[0], done.returncode))


def case_install_hello(args):
    """The web build installed into a scratch prefix; the example module
    project, outside the tree, built from it with vantrel_add_web_game; its
    page replays the example's own script to the example's goldens."""
    prefix = os.path.join(args.work, "prefix")
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    run([args.cmake, "--install", args.web_build, "--prefix", prefix])
    project = os.path.join(args.work, "hello-module")
    shutil.copytree(os.path.join(args.source, "examples", "hello-module"), project)
    env = dict(os.environ, NODE_PATH="/usr/share/nodejs")
    build = os.path.join(args.work, "build-web")
    run(["emcmake", args.cmake, "-S", project, "-B", build,
         "-DVantrel_DIR=" + os.path.join(prefix, "lib", "cmake", "Vantrel")], env=env)
    run([args.cmake, "--build", build], env=env)
    site = os.path.join(build, "hello")
    for suffix in (".html", ".js", ".wasm", ".data"):
        check(os.path.exists(os.path.join(site, "hello" + suffix)), "no hello%s" % suffix)
    shutil.copy(os.path.join(project, "replay", "hello.replay"), site)
    golden = os.path.join(project, "replay", "golden")
    frames = sorted(int(f[6:12]) for f in os.listdir(golden) if f.startswith("frame-"))
    replay_in_page(site, "hello.html", "hello.replay", frames, golden)


def case_input(args):
    """Real keys and pointer through the browser: the map scrolls, the cross
    follows the pointer and a click drops a sprite; the page keeps the arrows
    from scrolling; Escape, then the box's answer, ends the run."""
    folder = stage(args, "demo")
    with Server(folder) as server, Browser() as browser:
        browser.get(server.url("demo.html"))
        started(browser)
        browser.script("window.vantrelTestKeys = [];"
                       "window.addEventListener('keydown', function (e) {"
                       " window.vantrelTestKeys.push([e.code, e.defaultPrevented]); });")
        # Pointer: the canvas fills the 800x600 window, so the 640x480 mode is
        # scaled by 1.25 (no bars). Mode (320, 240) is the window's centre.
        box = browser.script("return document.getElementById('vantrel-screen')"
                             ".getBoundingClientRect().toJSON()")
        scale = min(box["width"] / 640.0, box["height"] / 480.0)
        left = box["x"] + (box["width"] - 640 * scale) / 2
        top = box["y"] + (box["height"] - 480 * scale) / 2

        def at(mx, my):
            return {"type": "pointerMove", "duration": 0, "origin": "viewport",
                    "x": int(left + (mx + 0.5) * scale), "y": int(top + (my + 0.5) * scale)}

        browser.pointer([at(40, 40)])
        time.sleep(0.3)
        before = canvas_rgb(browser)
        browser.pointer([at(200, 160)])
        time.sleep(0.3)
        moved = canvas_rgb(browser)
        check(region_changed(before, moved, (190, 150, 211, 171)), "no cross drawn at the pointer")
        check(region_changed(before, moved, (30, 30, 51, 51)), "the cross did not leave")

        browser.pointer([at(200, 160), {"type": "pointerDown", "button": 0},
                         {"type": "pointerUp", "button": 0}, at(40, 40)])
        time.sleep(0.3)
        dropped = canvas_rgb(browser)
        check(region_changed(before, dropped, (180, 140, 221, 181)), "the click dropped nothing")

        browser.key("ArrowRight", 600)
        time.sleep(0.3)
        scrolled = canvas_rgb(browser)
        # The map scrolled: rows far from any sprite changed.
        check(region_changed(dropped, scrolled, (0, 0, 640, 8)), "the map did not scroll")
        keys = browser.script("return window.vantrelTestKeys")
        check(["ArrowRight", True] in keys, "the page let ArrowRight act: %s" % keys)
        check(browser.script("return window.scrollX === 0 && window.scrollY === 0"),
              "the page scrolled")

        browser.key("Escape")
        answer_box(browser, "Error!", "DESTROY!")
        code = wait_ended(browser)
        check(code == 0, "exit code %s" % code)


def case_focus(args):
    """Focus leaving the page deactivates the game (no frames, surfaces
    lost); coming back restores them and the game draws again."""
    folder = stage(args, "demo")
    with Server(folder) as server, Browser() as browser:
        browser.get(server.url("demo.html"))
        started(browser)
        shown = browser.script("window.dispatchEvent(new Event('blur'));"
                               "return Module.vantrelPage.framesShown")
        time.sleep(0.5)
        still = browser.script("return Module.vantrelPage.framesShown")
        check(still - shown <= 1, "%d frames shown while the page had lost the focus" %
              (still - shown))
        browser.script("window.dispatchEvent(new Event('focus'))")
        browser.wait_for("return Module.vantrelPage.framesShown > %d" % (still + 10), 10,
                         "frames after the focus came back")
        # The restored surfaces were drawn again: the map is there, not the
        # wrong pixels a restored surface holds.
        w, h, rgb = canvas_rgb(browser)
        colours = set(rgb[i:i + 3] for i in range(0, len(rgb), 3 * 97))
        check(len(colours) > 8, "the frame after the focus came back has %d colours" % len(colours))


def case_missing_bitmap(args):
    """The demo without its bitmaps: the host's box for the missing image,
    then the demo's own; the demo goes on with nothing to draw, and Escape
    ends the run as usual."""
    folder = stage(args, "nobitmaps")
    with Server(folder) as server, Browser() as browser:
        browser.get(server.url("nobitmaps.html"))
        browser.wait_for("return typeof Module === 'object' && !!Module.vantrelPage", 60, "the page")
        answer_box(browser, "Report", "Head image could not be loaded and/or found")
        answer_box(browser, "Report",
                   "The demo needs tiles.bmp, sprites.bmp and vantrel-font.bmp next to prog.dll.")
        time.sleep(0.3)
        check(browser.script("return Module.vantrelPage.ended") is None, "the run ended by itself")
        browser.key("Escape")
        answer_box(browser, "Error!", "DESTROY!", key="Escape")
        code = wait_ended(browser)
        check(code == 0, "exit code %s" % code)


def case_refused_record(args):
    """A module that refuses the record: its boxes, then the page says the
    game has ended, with the failure's exit code."""
    folder = stage(args, "refuses")
    with Server(folder) as server, Browser() as browser:
        browser.get(server.url("refuses.html"))
        browser.wait_for("return typeof Module === 'object' && !!Module.vantrelPage", 60, "the page")
        answer_box(browser, "Report", "VProgInterface(&prog) failed")
        answer_box(browser, "Error!", "DESTROY!")
        code = wait_ended(browser)
        check(code == 1, "exit code %s" % code)


def case_no_procedure(args):
    """A module without VProgProcedure: the same boxes as on the other hosts,
    and the page says the game has ended."""
    folder = stage(args, "noproc")
    with Server(folder) as server, Browser() as browser:
        browser.get(server.url("noproc.html"))
        browser.wait_for("return typeof Module === 'object' && !!Module.vantrelPage", 60, "the page")
        answer_box(browser, "Error!", "VProgProcedure was not found in prog.dll - invalid DLL")
        answer_box(browser, "Error!", "DESTROY!")
        code = wait_ended(browser)
        check(code == 1, "exit code %s" % code)


def wait_log(browser, pattern, timeout=20):
    """Waits for a line of the page's standard error matching `pattern`."""
    deadline = time.monotonic() + timeout
    while True:
        for line in browser.script("return Module.vantrelPage.log"):
            m = re.match(pattern, line)
            if m:
                return m
        check(time.monotonic() < deadline, "no line %r on standard error" % pattern)
        time.sleep(0.1)


def case_module_quits(args):
    """A module that ends the run itself through the served Win32 calls, as
    on the desktop: its debug lines, a clock that moves with Sleep while
    Sleep really waits (and the page goes on), its own box answered,
    then EV_SHUTDOWN, DESTROY! and its code 7 as the exit code."""
    folder = stage(args, "quits")
    with Server(folder) as server, Browser() as browser:
        browser.get(server.url("quits.html"))
        browser.wait_for("return typeof Module === 'object' && !!Module.vantrelPage", 60, "the page")
        wait_log(browser, r"^quit: init mode=1$")
        m = wait_log(browser, r"^quit: clock before=(\d+) after=(\d+) ticks=(\d+) slept=(\d+)$")
        before, after, ticks = int(m.group(1)), int(m.group(2)), int(m.group(3))
        check(after - before >= 200 and ticks >= after,
              "the served clock did not move with Sleep(200): " + m.group(0))
        check(int(m.group(4)) >= 200, "Sleep(200) returned early: " + m.group(0))
        answer_box(browser, "Quit module", "quitting with 7")
        wait_log(browser, r"^quit: box answered 1$")
        wait_log(browser, r"^quit: shutdown frames=3$")
        answer_box(browser, "Error!", "DESTROY!")
        code = wait_ended(browser)
        check(code == 7, "exit code %s" % code)


# The sense module's scene (S), as the desktop plays it: each call's answer
# on the debug output, and what the page's audio was given. A row: the
# call's name in the module's line, its answer, and the sound it started
# (frames, loop, how it ended) or None.
SENSE_SCENE = [
    ("a sync", 1, (4410, False, "played")),     # SND_SYNC waits until it has played
    ("b loop", 1, (1102, True, "stopped")),     # loops until NULL stops it
    ("e nostop", 0, None),                      # refused while b loops
    ("stop", 1, None),
    ("c async", 1, (4410, False, "stopped")),   # replaced at once by d
    ("d sync", 1, (2205, False, "played")),
    ("broken", 0, None),
    ("missing", 0, None),
]


def tile(frame, col, row):
    """The colour in the middle of the sense module's 32x32 tile, by name
    (the 16-bit mode keeps 5 or 6 bits of each)."""
    w, _, rgb = frame
    at = ((row * 32 + 16) * w + col * 32 + 16) * 3
    names = {(1, 1, 0): "yellow", (1, 0, 0): "red", (0, 1, 0): "green", (0, 0, 1): "blue"}
    return names.get(tuple(int(v > 128) for v in rgb[at:at + 3]), "other")


# How the page hears the scene: the browser's autoplay policy, and whether S
# is a real key press (which lets the page's audio start) or an event of the
# page's own making (which does not).
# A browser without Web Audio has no sound device: every call answers FALSE.
SOUND_ROWS = [  # (name, Chromium flags, S pressed for real, heard: True, False or None: no device)
    ("autoplay allowed", ["--autoplay-policy=no-user-gesture-required"], True, True),
    ("no gesture yet", [], False, False),
    ("no Web Audio", [], True, None),
]
NO_AUDIO = ("<script>window.AudioContext = undefined; window.webkitAudioContext = undefined;"
            "</script>\n")
NO_DEVICE_LINE = "vantrel: no audio device (the browser has no Web Audio): sound calls answer FALSE"
HINT = "Sound starts at the first key or click."


# Sounds of every kind the calls take, given to the page's audio straight
# (4000 bytes of the program's memory as samples): each plays its own
# length, each channel its own samples, at rates the browser takes or not.
FORMATS = [(1000, 8, 1), (2000, 16, 2), (22050, 8, 2), (44100, 16, 1), (192000, 16, 2)]
FORMAT_CHECK = """
var s = Module.vantrelPage.sound, at = 1024, r = [];
s.ready();
arguments[0].forEach(function (f) {
  var rate = f[0], bits = f[1], channels = f[2];
  var ok = s.start(at, 4000, channels, bits, rate, false), b = ok && s.current.buffer;
  var samples = [], wanted = [];
  for (var c = 0; ok && c < channels; c++) {
    samples.push(b.getChannelData(c)[b.length - 1]);
    var k = (4000 / (channels * bits / 8) - 1) * channels + c;
    wanted.push(bits === 8 ? (HEAPU8[at + k] - 128) / 128
                           : new DataView(HEAPU8.buffer).getInt16(at + 2 * k, true) / 32768);
  }
  r.push({ok: ok, seconds: ok && b.duration, samples: samples, wanted: wanted});
  s.stop();
});
return r;"""


def check_formats(browser):
    results = browser.script(FORMAT_CHECK, FORMATS)
    check(len(results) == len(FORMATS), "formats checked: %s" % results)
    for (rate, bits, channels), got in zip(FORMATS, results):
        seconds = 4000.0 / (channels * bits / 8) / rate
        check(got["ok"] and abs(got["seconds"] - seconds) < 1e-6 and
              got["samples"] == got["wanted"],
              "%d Hz, %d bits, %d channels: %s (%g s)" % (rate, bits, channels, got, seconds))


def check_scene(browser, heard):
    """The scene's answers and sounds: as on the desktop, heard or not, or
    with no device."""
    wait_log(browser, r"^sense: sound done$")
    log = browser.script("return Module.vantrelPage.log")
    if heard is None:
        for what, _, _ in SENSE_SCENE:
            check("sense: %s -> 0" % what in log, "%s did not answer 0" % what)
        check(log.count(NO_DEVICE_LINE) == 1, "the missing device was said %d times"
              % log.count(NO_DEVICE_LINE))
        check(browser.script("return Module.vantrelPage.sound.started.length") == 0,
              "sounds were started")
        return
    sound = browser.script("var s = Module.vantrelPage.sound;"
                           "return {started: s.started, playing: s.playing(),"
                           " state: s.context && s.context.state}")
    print("sound: %s" % sound)
    check(sound["state"] == ("running" if heard else "suspended"),
          "the page's audio is %s" % sound["state"])
    check("sense: files written -> 1" in log, "the module could not write its sounds")
    starts = iter(sound["started"])
    for what, answer, started_sound in SENSE_SCENE:
        check("sense: %s -> %d" % (what, answer) in log, "%s did not answer %d" % (what, answer))
        if started_sound is None:
            continue
        s = next(starts, None)
        check(s is not None, "%s started no sound" % what)
        frames, loop, end = started_sound
        want = (frames, 44100, 2, 16, loop, heard, end)
        got = (s["frames"], s["rate"], s["channels"], s["bits"], s["loop"], s["heard"], s["end"])
        check(got == want, "%s started %s, not %s" % (what, got, want))
    check(next(starts, None) is None, "more sounds started than the scene's")
    # A SND_SYNC sound had ended before the module went on (the audio clock
    # runs in blocks of its own, so a heard sound's length on the page's
    # clock is only roughly its own); the loop went on through the module's
    # Sleep(150) and Sleep(50), many passes of its 25 ms.
    a, b, _, d = sound["started"]
    check(a["endedAt"] <= b["startedAt"] and a["endedAt"] - a["startedAt"] >= 50,
          "tone_a (100 ms, SND_SYNC) played from %g to %g, b started at %g"
          % (a["startedAt"], a["endedAt"], b["startedAt"]))
    check(d["endedAt"] - d["startedAt"] >= 25, "tone_d (50 ms, SND_SYNC) played %g ms"
          % (d["endedAt"] - d["startedAt"]))
    check(b["endedAt"] - b["startedAt"] >= 150, "the loop lasted %g ms"
          % (b["endedAt"] - b["startedAt"]))
    check(not sound["playing"], "a sound still plays after the scene")


def case_sound_keys(args):
    """The served calls in the page: the sense module's title is the page's;
    a key held and released reads through GetKeyState and GetAsyncKeyState;
    its scene of sounds answers and plays as on the desktop, heard through
    the page's audio, or, before any key or click, timed but not heard with
    the page saying so until a real key press lets the audio start."""
    folder = stage(args, "sense")
    page = open(os.path.join(folder, "sense.html")).read()
    with open(os.path.join(folder, "sense-no-audio.html"), "w") as f:
        f.write(page.replace("<script src=", NO_AUDIO + "<script src=", 1))
    with Server(folder) as server:
        for name, flags, real_key, heard in SOUND_ROWS:
            print("-- %s" % name)
            with Browser(flags=flags) as browser:
                browser.get(server.url("sense.html" if heard is not None else "sense-no-audio.html"))
                started(browser)
                if real_key:
                    check(browser.script("return document.title") == "Sense module",
                          "the page's title is %r" % browser.script("return document.title"))
                    # Left: row 1 is GetKeyState, row 3 GetAsyncKeyState (column 1).
                    browser.key_down("ArrowLeft")
                    time.sleep(0.3)
                    held = canvas_rgb(browser)
                    browser.key_up("ArrowLeft")
                    time.sleep(0.3)
                    released = canvas_rgb(browser)
                    check(tile(held, 1, 1) == tile(held, 1, 3) == "yellow",
                          "Left held reads %s / %s" % (tile(held, 1, 1), tile(held, 1, 3)))
                    check(tile(released, 1, 1) == "red", "Left released and toggled reads %s"
                          % tile(released, 1, 1))
                    browser.key("s")
                else:
                    browser.script("['keydown', 'keyup'].forEach(function (t) {"
                                   " window.dispatchEvent(new KeyboardEvent(t, {code: 'KeyS'})); });")
                check_scene(browser, heard)
                if heard:
                    check_formats(browser)
                if heard is False:
                    check(status(browser) == HINT, "the page says %r" % status(browser))
                    wait_log(browser, r"^vantrel: the page's sound starts at the first key or click")
                    browser.key("a")
                    browser.wait_for("return Module.vantrelPage.sound.context.state === 'running'",
                                     10, "the page's audio after a key press")
                    browser.wait_for("return document.getElementById('vantrel-status')"
                                     ".textContent === ''", 10, "the hint to go")


# Each button set, the buttons the page shows, the real keys pressed in turn
# (Escape first: it must close only a box with a Cancel button, or OK), and
# the answer Windows gives.
BOX_ROWS = [
    ("MB_OK", ["OK"], ["Escape"], 1),
    ("MB_OKCANCEL", ["OK", "Cancel"], ["Escape"], 2),
    ("MB_ABORTRETRYIGNORE", ["Abort", "Retry", "Ignore"], ["Escape", "Enter"], 3),
    ("MB_YESNOCANCEL", ["Yes", "No", "Cancel"], ["Escape"], 2),
    ("MB_YESNO", ["Yes", "No"], ["Escape", "Enter"], 6),
    ("MB_RETRYCANCEL", ["Retry", "Cancel"], ["Enter"], 4),
    ("MB_YESNO|MB_DEFBUTTON2", ["Yes", "No"], ["Enter"], 7),
]


def case_box_buttons(args):
    """MessageBoxA in the page shows the buttons of its set and answers as
    on Windows: Return presses the default button, Escape answers Cancel
    where there is one (OK on the OK box) and leaves a Yes/No or
    Abort/Retry/Ignore box standing."""
    folder = stage(args, "boxes")
    with Server(folder) as server, Browser() as browser:
        browser.get(server.url("boxes.html"))
        browser.wait_for("return typeof Module === 'object' && !!Module.vantrelPage", 60, "the page")
        for name, labels, keys, answer in BOX_ROWS:
            browser.wait_for("var b = Module.vantrelPage.boxes; return Module.vantrelPage.boxOpen"
                             " && b[b.length - 1].text === %r" % name, 20, "the %s box" % name)
            shown = browser.script("return Array.from(document.querySelectorAll("
                                   "'#vantrel-box button')).map(function (b) { return b.textContent; })")
            check(shown == labels, "%s shows %s, not %s" % (name, shown, labels))
            for i, key in enumerate(keys):
                if i > 0:
                    time.sleep(0.5)  # the key before must have left the box standing
                    check(browser.script("return Module.vantrelPage.boxOpen"),
                          "%s closed on %s" % (name, keys[i - 1]))
                browser.key(key)
            m = wait_log(browser, r"^box: %s answered (-?\d+)$" % re.escape(name))
            check(int(m.group(1)) == answer, "%s answered %s, not %d" % (name, m.group(1), answer))
        answer_box(browser, "Error!", "DESTROY!")
        check(wait_ended(browser) == 0, "the run did not end with 0")

CASES = {"replay": case_replay, "input": case_input, "focus": case_focus,
         "missing_bitmap": case_missing_bitmap, "no_procedure": case_no_procedure,
         "refused_record": case_refused_record, "install_hello": case_install_hello,
         "module_quits": case_module_quits, "replay_refused": case_replay_refused,
         "sound_keys": case_sound_keys, "box_buttons": case_box_buttons}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--web-build", required=True)
    parser.add_argument("--source", default=os.path.join(os.path.dirname(__file__), "..", ".."))
    parser.add_argument("--work", default=None)
    parser.add_argument("--cmake", default="cmake")
    args = parser.parse_args()
    if not os.path.exists(os.path.join(args.web_build, "demo", "demo.wasm")):
        print("skipped: no web build in %s (cmake --preset web && cmake --build --preset web)"
              % args.web_build)
        return SKIP
    args.work = args.work or os.path.join(args.web_build, "web-e2e", args.case)
    os.makedirs(args.work, exist_ok=True)
    try:
        CASES[args.case](args)
    except (Failure, WebDriverError) as e:
        print("FAILED: %s" % e)
        return 1
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
