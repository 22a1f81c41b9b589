#!/usr/bin/env python3
"""The served key states and sounds on the desktop host, with the sense
module (modules/sense_module.cpp), on a private Xvfb screen.

  keys_record_replay  keys held, released and tapped, both buttons, the
                      window's title; a Print Screen while keys are held; the
                      replay of the recording presents the same picture
  sound_disk          SDL's disk audio driver: the samples the host sends to
                      the device are those of the WAV files (start, loop,
                      stop, a new sound replacing the last, SND_NOSTOP
                      refusing), and the answers are the replay's
  sound_none          no audio device: every call answers FALSE, one line
                      on standard error, the game goes on

usage: sense_e2e.py CASE --host PATH --module PATH --work DIR [--replay PATH]
"""
import argparse
import array
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_e2e import (Failure, Host, check, mode_pixel, run_case,  # noqa: E402
                         near, settled_shot, wait_for)

YELLOW, RED, GREEN, BLUE = 0xFFFF00, 0xFF0000, 0x00FF00, 0x0000FF
KEYS = ("Left", "Up", "Right", "Down", "A", "left button", "right button")
TITLE = "Sense module"

# What each sound call of the scene answers, with a device and without.
SCENE = ("a sync", "b loop", "e nostop", "stop", "c async", "d sync", "broken", "missing")
WITH_DEVICE = (1, 1, 0, 1, 1, 1, 0, 0)


def indicators(shot, row):
    """The colours of the seven indicators of a row (1: GetKeyState, 3:
    GetAsyncKeyState), as mode pixels of the 640x480 mode shown at twice
    its size."""
    return [mode_pixel(shot, (1 + 2 * i) * 32 + 16, row * 32 + 16) for i in range(len(KEYS))]


def shows(shot, row, colours):
    return all(near(got, want) for got, want in zip(indicators(shot, row), colours))


def case_keys_record_replay(x, args):
    host = Host(x, args.work, args.host, args.module, args.supp,
                host_args=("--record", "session.script"))
    try:
        host.wait_line(r"^sense: init mode=1 bitmap=1 image=1$")
        wait_for(lambda: x.window_named(TITLE), 20, "the window titled %r" % TITLE)
        settled_shot(x, lambda s: shows(s, 1, [GREEN] * 7) and shows(s, 3, [GREEN] * 7),
                     "every key up")
        x.run("xdotool", "mousemove", "600", "400")
        for step in (("keydown", "Left"), ("keyup", "Left"), ("key", "a"), ("key", "a"),
                     ("click", "1"), ("keydown", "Up"), ("mousedown", "3")):
            x.run("xdotool", *step)
            time.sleep(0.15)
        held = [RED, YELLOW, GREEN, GREEN, GREEN, RED, YELLOW]
        asked = [GREEN, YELLOW, GREEN, GREEN, GREEN, GREEN, YELLOW]
        settled_shot(x, lambda s: shows(s, 1, held) and shows(s, 3, asked),
                     "Up and the right button down, Left and the left button toggled")
        x.run("xdotool", "key", "Print")
        shot = wait_for(lambda: [f for f in os.listdir(host.run_dir)
                                 if re.fullmatch(r"vantrel-\d{8}-\d{6}\.png", f)], 10,
                        "the screenshot file")[0]
        x.run("xdotool", "mouseup", "3")
        x.run("xdotool", "keyup", "Up")
        host.quit_by_escape()

        with open(os.path.join(host.run_dir, "session.script")) as f:
            script = f.read()
        m = re.search(r"^# screenshot (\S+) frame (\d+)$", script, re.M)
        check(m and m.group(1) == shot, "the shot is in the recording:\n" + script)
        frame = int(m.group(2))
        out = os.path.join(args.work, "replay")
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        result = subprocess.run(
            [args.replay, "--module", os.path.join(args.work, "bin", "prog.dll"), "--out", out,
             "--frames", str(frame), os.path.join(host.run_dir, "session.script")],
            env=env, cwd=host.run_dir, capture_output=True, text=True, timeout=60)
        check(result.returncode == 0, "vantrel-replay: %d\n%s%s"
              % (result.returncode, result.stdout, result.stderr))
        diff = subprocess.run(["compare", "-metric", "AE", os.path.join(host.run_dir, shot),
                               os.path.join(out, "frame-%06d.png" % frame), "null:"],
                              capture_output=True, text=True, timeout=20)
        check(diff.stderr.strip() == "0", "the replayed frame %d differs from the screenshot "
              "in %s pixels" % (frame, diff.stderr.strip()))
    finally:
        host.kill()


def scene_answers(host):
    host.wait_line(r"^sense: sound done$", timeout=30)
    err = host.stderr()
    got = []
    for what in SCENE:
        m = re.search(r"^sense: %s -> (\d)$" % re.escape(what), err, re.M)
        check(m, "no answer for %r:\n%s" % (what, err))
        got.append(int(m.group(1)))
    return tuple(got)


def tone(frames, left0, left_step, right):
    return ([left0 + left_step * i for i in range(frames)], [right] * frames)


def find(left, right, want, start=0):
    """The first index at or after `start` where the frames `want` begin."""
    wl, wr = want
    i = start
    while True:
        try:
            i = left.index(wl[0], i)
        except ValueError:
            return -1
        if left[i:i + len(wl)] == wl and right[i:i + len(wr)] == wr:
            return i
        i += 1


def case_sound_disk(x, args):
    raw = os.path.join(args.work + "-audio.raw")
    if os.path.exists(raw):
        os.remove(raw)
    os.environ["SDL_AUDIODRIVER"] = "disk"
    os.environ["SDL_DISKAUDIOFILE"] = raw
    host = Host(x, args.work, args.host, args.module, args.supp)
    try:
        host.wait_line(r"^sense: init mode=1 ")
        wait_for(lambda: x.window_named(TITLE), 20, "the host window")
        x.run("xdotool", "key", "s")
        answers = scene_answers(host)
        check(answers == WITH_DEVICE, "answers %s, expected %s" % (answers, WITH_DEVICE))
        check("no audio device" not in host.stderr(), "no device:\n" + host.stderr())
        host.quit_by_escape()
    finally:
        host.kill()

    with open(raw, "rb") as f:
        samples = array.array("h")
        samples.frombytes(f.read())
    if sys.byteorder != "little":
        samples.byteswap()
    left, right = list(samples[0::2]), list(samples[1::2])
    print("%d frames written to the device (%.2f s)" % (len(left), len(left) / 44100.0))

    a = tone(4410, 1000, 1, 0)
    a = (a[0], [-v for v in a[0]])
    b = tone(1102, 20000, 1, 7)
    d = tone(2205, -10000, -1, 3)
    at = find(left, right, a)
    check(at >= 0, "tone_a (played with SND_SYNC) was not sent whole")
    check(not any(left[:at]) and not any(right[:at]), "sound before tone_a")
    bt = find(left, right, b, at + 4410)
    check(bt >= 0, "tone_b (SND_LOOP) was not sent whole")
    check(not any(left[at + 4410:bt]), "not silence between tone_a and tone_b")
    loops = 0
    while left[bt + loops * 1102:bt + (loops + 1) * 1102] == b[0] and \
            right[bt + loops * 1102:bt + (loops + 1) * 1102] == b[1]:
        loops += 1
    print("tone_b looped %d times whole" % loops)
    check(loops >= 3, "tone_b played %d times, not looped" % loops)
    check(9 not in right, "tone_e, refused by SND_NOSTOP, was heard")
    dt = find(left, right, d, bt)
    check(dt >= 0, "tone_d (SND_SYNC) was not sent whole")
    c_frames = [i for i in range(bt, dt) if right[i] == 5]
    check(len(c_frames) < 4410, "tone_c was not stopped by tone_d")
    check(all(right[i] in (0, 7, 5) for i in range(bt, dt)), "a stranger between b and d")
    after_b = max(i for i in range(bt, dt) if right[i] == 7) + 1
    check(after_b < (c_frames[0] if c_frames else dt), "tone_b went on into tone_c")
    check(any(left[i] == 0 and right[i] == 0 for i in range(after_b, dt)),
          "no silence after PlaySoundA(NULL)")
    check(not any(left[dt + 2205:]) and not any(right[dt + 2205:]), "sound after tone_d")


def case_sound_none(x, args):
    os.environ["SDL_AUDIODRIVER"] = "no-such-driver"
    host = Host(x, args.work, args.host, args.module, args.supp)
    try:
        host.wait_line(r"^sense: init mode=1 ")
        wait_for(lambda: x.window_named(TITLE), 20, "the host window")
        x.run("xdotool", "key", "s")
        answers = scene_answers(host)
        check(answers == (0,) * len(SCENE), "answers %s without a device" % (answers,))
        err = host.stderr()
        check(len(re.findall(r"^vantrel: no audio device \(.*\): sound calls answer FALSE$",
                             err, re.M)) == 1, "not one line about the device:\n" + err)
        # The game goes on: keys still reach it.
        x.run("xdotool", "keydown", "Up")
        settled_shot(x, lambda s: near(indicators(s, 1)[1], YELLOW), "Up down after the sounds")
        x.run("xdotool", "keyup", "Up")
        host.quit_by_escape()
    finally:
        host.kill()


CASES = {
    "keys_record_replay": case_keys_record_replay,
    "sound_disk": case_sound_disk,
    "sound_none": case_sound_none,
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--host", required=True)
    parser.add_argument("--module", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--supp")
    parser.add_argument("--replay")
    args = parser.parse_args()
    return run_case(CASES[args.case], args, (1280, 960))


if __name__ == "__main__":
    sys.exit(main())
