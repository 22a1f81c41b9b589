#!/usr/bin/env python3
"""End-to-end runs of the desktop host `vantrel` on a private Xvfb screen.

Each case starts its own X server, copies the host into a fresh folder with
the case's own prog.dll beside it, starts it from another folder (so the
module is found next to the program, whatever the current folder), and then
acts as a user: answers message boxes (real X windows, found by title),
presses keys and moves the pointer with xdotool, and reads pixels from
screenshots of the root window. The host writes every box it shows to
standard error as "vantrel: [caption] text", and the test modules write one
line per event, which is how the texts are checked.

Every wait has a deadline and the whole case runs under an alarm, so a hang
fails the case instead of stalling the run.

usage: desktop_e2e.py CASE --host PATH [--module PATH] --work DIR [--supp FILE]
"""
import argparse
import contextlib
import glob
import os
import re
import shutil
import signal
import subprocess
import sys
import time

CASE_TIMEOUT_S = 90


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    raise Failure("timed out waiting for " + what)


class XServer:
    """A private Xvfb screen; the display number comes from -displayfd."""

    def __init__(self, width, height):
        for tool in ("Xvfb", "xdotool", "xwininfo", "import"):
            check(shutil.which(tool), tool + " is missing: run scripts/setup.sh")
        read_fd, write_fd = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
             "%dx%dx24" % (width, height), "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        with os.fdopen(read_fd, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    break
                number += chunk
        check(number.strip(), "Xvfb did not start")
        self.display = ":" + number.decode().strip()
        self.width = width
        self.height = height

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        return env

    def run(self, *args, check_rc=True):
        result = subprocess.run(list(args), env=self.env(), capture_output=True, text=True,
                                timeout=20)
        if check_rc and result.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(args), result.stderr.strip()))
        return result.stdout

    def windows(self):
        """Top-level windows as (id, title)."""
        out = self.run("xwininfo", "-root", "-children", check_rc=False)
        return [(m.group(1), m.group(2))
                for m in re.finditer(r'^\s+(0x[0-9a-f]+) "([^"]*)"', out, re.M)]

    def window_named(self, title):
        for wid, name in self.windows():
            if name == title:
                return wid
        return None

    def screenshot(self):
        raw = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                             env=self.env(), capture_output=True, timeout=20).stdout
        check(len(raw) == self.width * self.height * 3, "screenshot has the wrong size")
        return Shot(raw, self.width)

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(5)
        except subprocess.TimeoutExpired:
            self.proc.kill()


class Shot:
    def __init__(self, raw, width):
        self.raw = raw
        self.width = width

    def rgb(self, x, y):
        i = (y * self.width + x) * 3
        return (self.raw[i] << 16) | (self.raw[i + 1] << 8) | self.raw[i + 2]


class Host:
    """One copy of the host in its own folder, started from another folder."""

    def __init__(self, x, work, host, module, supp, module_bytes=None, extra=(), display=True,
                 host_args=(), files=()):
        self.x = x
        shutil.rmtree(work, ignore_errors=True)
        bin_dir = os.path.join(work, "bin")
        self.run_dir = os.path.join(work, "run")
        os.makedirs(bin_dir)
        os.makedirs(self.run_dir)
        exe = os.path.join(bin_dir, "vantrel")
        shutil.copy2(host, exe)
        if module:
            shutil.copy2(module, os.path.join(bin_dir, "prog.dll"))
        for path in extra:
            shutil.copy2(path, bin_dir)
        if module_bytes is not None:
            with open(os.path.join(bin_dir, "prog.dll"), "wb") as f:
                f.write(module_bytes)
        for dest, source in files:  # (path under the case's folder, file to copy)
            os.makedirs(os.path.dirname(os.path.join(work, dest)), exist_ok=True)
            shutil.copy2(source, os.path.join(work, dest))
        env = x.env()
        env["SDL_RENDER_DRIVER"] = "software"
        env["LSAN_OPTIONS"] = "suppressions=%s:print_suppressions=0" % supp if supp else ""
        env["ASAN_OPTIONS"] = "detect_leaks=1"
        if not display:
            env.pop("DISPLAY", None)
            env.pop("WAYLAND_DISPLAY", None)
        self.err_path = os.path.join(work, "stderr.txt")
        self.err_file = open(self.err_path, "wb")
        self.proc = subprocess.Popen([exe] + list(host_args), cwd=self.run_dir, env=env,
                                     stdout=subprocess.DEVNULL, stderr=self.err_file)

    def stderr(self):
        with open(self.err_path, "rb") as f:
            return f.read().decode(errors="replace")

    def wait_line(self, pattern, timeout=20, after=0):
        """Waits for a line of standard error matching `pattern`, at or after
        character offset `after`; answers the match."""
        rx = re.compile(pattern, re.M)

        def found():
            return rx.search(self.stderr(), after)
        return wait_for(found, timeout, "a line matching %r on standard error" % pattern)

    def answer_box(self, caption, text, timeout=20, first_line_only=False):
        """Waits for the box with this caption and text (or only the text's
        first line), and presses its OK."""
        end = "" if first_line_only else "$"
        self.wait_line(r"^vantrel: \[%s\] %s%s" % (re.escape(caption), re.escape(text), end),
                       timeout)
        wid = wait_for(lambda: self.x.window_named(caption), timeout,
                       "the %r box to appear" % caption)
        boxes = self.stderr().count("vantrel: [")
        self.x.run("xdotool", "key", "--window", wid, "Return")
        # Closed: gone, or already followed by the next box (which may reuse
        # the window id of the first).
        wait_for(lambda: self.x.window_named(caption) != wid
                 or self.stderr().count("vantrel: [") > boxes or self.proc.poll() is not None,
                 timeout, "the %r box to close" % caption)

    def exit_code(self, timeout=20):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the host did not end")

    def cpu_seconds(self):
        with open("/proc/%d/stat" % self.proc.pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def goes_idle(self, span=0.3):
        """True when the host used under 5% of a processor over `span` s."""
        cpu0, t0 = self.cpu_seconds(), time.monotonic()
        time.sleep(span)
        return (self.cpu_seconds() - cpu0) / (time.monotonic() - t0) < 0.05

    def quit_by_escape(self):
        """Escape ends the run: the DESTROY! box is answered and the host
        must exit cleanly with code 0."""
        self.x.run("xdotool", "key", "Escape")
        self.answer_box("Error!", "DESTROY!")
        self.check_clean_exit(0)

    def host_window(self):
        return wait_for(lambda: self.x.window_named("Release 1 pre1"), 20, "the host window")

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.err_file.close()

    def check_clean_exit(self, expected):
        code = self.exit_code()
        err = self.stderr()
        check("LeakSanitizer" not in err and "AddressSanitizer" not in err
              and "runtime error" not in err, "sanitizer report:\n" + err)
        check(code == expected, "exit code %d, expected %d" % (code, expected))


# --------------------------------------------------------------------------
# Cases
# --------------------------------------------------------------------------

MAGENTA, BLUE, YELLOW, RED, BLACK = 0xFF00FF, 0x0000FF, 0xFFFF00, 0xFF0000, 0x000000

# The files the demo loads from its own folder, beside its prog.dll.
DEMO_FILES = ("tiles.bmp", "sprites.bmp", "vantrel-font.bmp", "drop.wav", "swap.wav", "tick.wav")


def case_missing_module(x, args):
    """No prog.dll beside the host: the load failure, then DESTROY!, exit 1."""
    host = Host(x, args.work, args.host, None, args.supp)
    try:
        host.host_window()
        host.answer_box("Error!", "prog.dll was not found or is not a valid DLL.")
        host.answer_box("Error!", "DESTROY!")
        host.check_clean_exit(1)
        check(host.stderr().count("vantrel: [") == 2, "more than two boxes:\n" + host.stderr())
    finally:
        host.kill()


def case_broken_module(x, args):
    """A prog.dll that is no library meets the same box as a missing one; the
    reason is on standard error, and a good prog.dll in the current folder
    never takes its place."""
    host = Host(x, args.work, args.host, None, args.supp, module_bytes=b"MZ not a library\n",
                files=[("run/prog.dll", args.module)])
    try:
        host.answer_box("Error!", "prog.dll was not found or is not a valid DLL.")
        host.answer_box("Error!", "DESTROY!")
        host.check_clean_exit(1)
        err = host.stderr()
        check(re.search(r"^vantrel: .*/bin/prog\.dll: .*$", err, re.M),
              "the failed load of the prog.dll beside the host is not reported:\n" + err)
        check("probe:" not in err, "the prog.dll of the current folder was loaded:\n" + err)
    finally:
        host.kill()


def case_no_procedure(x, args):
    """A module without VProgProcedure is named as such."""
    host = Host(x, args.work, args.host, args.module, args.supp)
    try:
        host.answer_box("Error!", "VProgProcedure was not found in prog.dll - invalid DLL")
        host.answer_box("Error!", "DESTROY!")
        host.check_clean_exit(1)
    finally:
        host.kill()


def near(rgb, expected):
    """Colours as a 16-bit mode shows them: each channel within 8 of the
    expected value (the screen expands 5 and 6-bit channels its own way)."""
    return all(abs(((rgb >> s) & 255) - ((expected >> s) & 255)) <= 8 for s in (0, 8, 16))


def case_no_display(x, args):
    """Started without any screen: the window cannot be made, the box that
    says so cannot be shown either, so it goes to standard error; the run
    ends at once with exit code 1 and never loads the module."""
    host = Host(x, args.work, args.host, args.module, args.supp, display=False)
    try:
        host.check_clean_exit(1)
        err = host.stderr()
        check(re.search(r"^vantrel: \[Error!\] Unexpected Windows error \(hwnd was NULL\)\.$",
                        err, re.M), "no window error:\n" + err)
        check(err.count("vantrel: [") == 1, "more than one box:\n" + err)
        check("probe:" not in err, "the module was called:\n" + err)
    finally:
        host.kill()


class LateXServer(XServer):
    """An Xvfb on a display number of its own, started only when asked: the
    host is launched before the server takes connections."""

    def __init__(self, width, height):
        number = next(n for n in range(170, 470)
                      if not os.path.exists("/tmp/.X%d-lock" % n)
                      and not os.path.exists("/tmp/.X11-unix/X%d" % n))
        self.display = ":%d" % number
        self.width = width
        self.height = height
        self.proc = None

    def start(self):
        self.proc = subprocess.Popen(
            ["Xvfb", self.display, "-screen", "0", "%dx%dx24" % (self.width, self.height),
             "-nolisten", "tcp", "-noreset"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def stop(self):
        if self.proc is not None:
            super().stop()


def case_late_display(x, args):
    """DISPLAY names a server that does not take connections yet (starting,
    or too busy to answer): SDL would pass over it and settle on a driver
    that shows nothing. The host waits for it a moment instead and comes up
    on it; with no server at all it says which display failed and why."""
    late = LateXServer(x.width, x.height)
    host = Host(late, os.path.join(args.work, "late"), args.host, args.module, args.supp)
    try:
        time.sleep(0.4)
        late.start()
        host.wait_line(r"^probe: init mode=1 ")
        host.host_window()
        late.run("xdotool", "key", "Escape")
        host.answer_box("Error!", "DESTROY!")
        host.check_clean_exit(0)
        check("no display" not in host.stderr(), "the late display was given up:\n" + host.stderr())
    finally:
        host.kill()
        late.stop()

    never = LateXServer(x.width, x.height)
    host = Host(never, os.path.join(args.work, "never"), args.host, args.module, args.supp)
    try:
        host.check_clean_exit(1)
        err = host.stderr()
        check(re.search(r"^vantrel: no display: DISPLAY=%s could not be opened: \S" %
                        re.escape(never.display), err, re.M), "no reason given:\n" + err)
        check("probe:" not in err, "the module was called:\n" + err)
    finally:
        host.kill()


def mode_pixel(shot, x, y, scale=2):
    """A pixel of the 640x480 mode on a screen that shows it at `scale`."""
    return shot.rgb(x * scale + scale // 2, y * scale + scale // 2)


def settled_shot(x, predicate, what):
    """Screenshots until `predicate(shot)` holds (frames keep coming)."""
    def good():
        shot = x.screenshot()
        return shot if predicate(shot) else None
    return wait_for(good, 15, what)


def case_probe(x, args):
    """The probe module on a 1280x960 screen (its 640x480 mode shown at 2x):
    known pixels, the pointer moving a sprite, keys and buttons as the
    module sees them, Escape ending the run after DESTROY!, exit code 0."""
    host = Host(x, args.work, args.host, args.module, args.supp)
    try:
        host.wait_line(r"^probe: init mode=1 bitmap=1 image=1$")
        wid = host.host_window()

        def first_frame(s):
            return (near(mode_pixel(s, 5, 5), RED) and near(mode_pixel(s, 100, 100), BLUE)
                    and near(mode_pixel(s, 320, 240), YELLOW))
        shot = settled_shot(x, first_frame, "the first frames")
        # The stretched sprite: its 16x16 yellow square doubled at 416..447;
        # its keyed border shows the map below.
        check(near(mode_pixel(shot, 430, 330), YELLOW), "stretched sprite not drawn")
        check(near(mode_pixel(shot, 405, 305), BLUE), "colour key not applied to the stretch")
        check(near(mode_pixel(shot, 309, 229), BLUE), "colour key not applied to the sprite")

        # The pointer at screen 400,300 is mode pixel 200,150: the sprite's
        # centre follows it and its old place shows the map again.
        x.run("xdotool", "mousemove", "400", "300")

        def moved(s):
            return (near(mode_pixel(s, 200, 150), YELLOW) and near(mode_pixel(s, 320, 240), BLUE)
                    and near(mode_pixel(s, 188, 150), BLUE))
        settled_shot(x, moved, "the sprite to follow the pointer")

        # Buttons keep the position of the last move; idle turns have run.
        x.run("xdotool", "click", "1")
        frames = int(host.wait_line(r"^probe: button 2210 at 200,150 frames=(\d+)$").group(1))
        check(frames > 0, "no idle turns before the first click")
        host.wait_line(r"^probe: button 2211 at 200,150 ")
        x.run("xdotool", "click", "3")
        host.wait_line(r"^probe: button 2221 at 200,150 ")

        # Keys arrive with their virtual-key codes; system keys do not.
        mark = len(host.stderr())
        x.run("xdotool", "key", "a", "Left", "F1", "shift+KP_Add", "alt+x", "F10", "period")
        host.wait_line(r"^probe: keyup 0xbe$", after=mark)
        seen = re.findall(r"^probe: keydown (0x[0-9a-f]+)$", host.stderr()[mark:], re.M)
        check(seen == ["0x41", "0x25", "0x70", "0x10", "0x6b", "0xbe"],
              "key-downs seen by the module: %s" % seen)

        host.quit_by_escape()
        err = host.stderr()
        check(re.search(r"^probe: shutdown frames=\d+", err, re.M), "no EV_SHUTDOWN:\n" + err)
        check(not re.search(r"^probe: keydown 0x1b$", err, re.M), "Escape reached the module")
    finally:
        host.kill()


def case_letterbox(x, args):
    """On a 16:10 screen the 4:3 mode is letterboxed: black bars, and a
    pointer over a bar stands on the mode's nearest edge."""
    host = Host(x, args.work, args.host, args.module, args.supp)
    try:
        host.wait_line(r"^probe: init mode=1 ")
        host.host_window()
        # 640x480 at 800/480 = 5/3: 1066.7 pixels wide from x 106.7.
        settled_shot(x, lambda s: near(s.rgb(50, 400), BLACK) and near(s.rgb(1230, 400), BLACK)
                     and near(s.rgb(640, 200), BLUE), "letterboxed frames")
        x.run("xdotool", "mousemove", "20", "400")
        host_x = 107 + 3 * 5 // 3  # mode pixel 3 on the screen
        settled_shot(x, lambda s: near(s.rgb(host_x + 1, 400), YELLOW),
                     "the sprite at the mode's left edge")
        x.run("xdotool", "click", "1")
        host.wait_line(r"^probe: button 2210 at 0,240 ")
        host.quit_by_escape()
    finally:
        host.kill()


def case_alt_f4(x, args):
    """Alt+F4 is a close request: the window is destroyed first, then the
    run ends through EV_SHUTDOWN and DESTROY! with exit code 0."""
    host = Host(x, args.work, args.host, args.module, args.supp)
    try:
        host.wait_line(r"^probe: init mode=1 ")
        host.host_window()
        settled_shot(x, lambda s: near(mode_pixel(s, 5, 5), RED), "the first frames")
        mark = len(host.stderr())
        x.run("xdotool", "key", "alt+F4")
        host.wait_line(r"^probe: shutdown ", after=mark)
        check(x.window_named("Release 1 pre1") is None, "the window outlived the close request")
        host.answer_box("Error!", "DESTROY!")
        host.check_clean_exit(0)
        check(not re.search(r"^probe: keydown", host.stderr()[mark:], re.M),
              "Alt+F4 reached the module as a key")
    finally:
        host.kill()


def focus_back(x, wid, other, scene, what, at=(600, 600)):
    """Gives the focus back to the host's window and ends the other program,
    then nudges the pointer until `scene(shot)` holds: SDL reports a gained
    focus only at its next event."""
    x.run("xdotool", "windowfocus", "--sync", wid)
    other.kill()
    other.wait()
    nudge = iter(range(1000))
    return settled_shot(x, lambda s: x.run("xdotool", "mousemove", str(at[0]),
                                           str(at[1] + next(nudge) % 2)) is not None
                        and scene(s), what)


def focus_other_window(x):
    """Starts another X program and gives its window the focus; answers the
    process."""
    other = subprocess.Popen(["xmessage", "-geometry", "200x60+10+10", "other window"],
                             env=x.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    other_wid = wait_for(lambda: next((w for w, n in x.windows() if n == "xmessage"), None),
                         20, "the other window")
    x.run("xdotool", "windowfocus", "--sync", other_wid)
    return other


def host_at_destroy_box(x, args, folder):
    """The probe module's run, ended with Escape, while its DESTROY! box
    waits for the user."""
    host = Host(x, os.path.join(args.work, folder), args.host, args.module, args.supp)
    try:
        host.wait_line(r"^probe: init mode=1 ")
        host.host_window()
        settled_shot(x, lambda s: near(mode_pixel(s, 5, 5), RED), "the first frames")
        x.run("xdotool", "key", "Escape")
        wait_for(lambda: x.window_named("Error!"), 20, "the DESTROY! box")
    except BaseException:
        host.kill()
        raise
    return host


def case_signals(x, args):
    """SIGTERM (a service manager's kill) and SIGINT (Ctrl+C in a terminal):
    the first ends the run as a quit does, the module hears EV_SHUTDOWN, the
    DESTROY! text goes to standard error without a box, and the process ends
    by the signal. A second signal ends it at once, also while a box waits."""
    for sig, name in ((signal.SIGTERM, "SIGTERM"), (signal.SIGINT, "SIGINT")):
        host = Host(x, os.path.join(args.work, name), args.host, args.module, args.supp)
        try:
            host.wait_line(r"^probe: init mode=1 ")
            host.host_window()
            host.proc.send_signal(sig)
            host.wait_line(r"^probe: shutdown ")
            host.wait_line(r"^vantrel: \[Error!\] DESTROY!$")
            code = host.exit_code(10)
            check(code == -sig, "%s: ended with %d, not by the signal" % (name, code))
            check(x.window_named("Error!") is None, "%s: a modal box was shown" % name)
            check("%s received" % name in host.stderr(), "%s: not said on standard error" % name)
        finally:
            host.kill()

    # One SIGTERM while the DESTROY! box waits: the box goes and the run ends
    # by the signal within two seconds.
    host = host_at_destroy_box(x, args, "term-during-box")
    try:
        sent = time.monotonic()
        host.proc.send_signal(signal.SIGTERM)
        code = host.exit_code(10)
        took = time.monotonic() - sent
        check(code == -signal.SIGTERM, "one SIGTERM during a box ended with %d" % code)
        check(took < 2.0, "one SIGTERM during a box took %.1f s to end the run" % took)
    finally:
        host.kill()

    # Escape: the modal DESTROY! box waits for the user; two signals end the
    # process at once.
    host = host_at_destroy_box(x, args, "during-box")
    try:
        host.proc.send_signal(signal.SIGINT)
        host.wait_line(r"^vantrel: SIGINT received")
        host.proc.send_signal(signal.SIGINT)
        code = host.exit_code(5)
        check(code == -signal.SIGINT, "a second SIGINT during a box ended with %d" % code)
    finally:
        host.kill()


def case_idle(x, args):
    """Focus given to another X window: the full-screen host loses the
    display, so no input reaches it and it makes no idle turns and uses no
    processor until it has the focus again; then its scene comes back."""
    host = Host(x, args.work, args.host, args.module, args.supp)
    other = None
    try:
        host.wait_line(r"^probe: init mode=1 ")
        wid = host.host_window()
        settled_shot(x, lambda s: near(mode_pixel(s, 5, 5), RED), "the first frames")
        x.run("xdotool", "mousemove", "600", "600", "click", "1")
        first = int(host.wait_line(r"^probe: button 2211 at 300,300 frames=(\d+)$").group(1))

        other = focus_other_window(x)
        wait_for(lambda: host.goes_idle(), 20, "the host to go idle once the focus went")
        mark = len(host.stderr())
        cpu0, t0 = host.cpu_seconds(), time.monotonic()
        # Clicks and moves over the inactive game do not reach it.
        x.run("xdotool", "mousemove", "500", "500", "click", "1")
        time.sleep(3.0)
        cpu1, t1 = host.cpu_seconds(), time.monotonic()
        share = (cpu1 - cpu0) / (t1 - t0)
        print("inactive: %.2f s of processor time in %.2f s (%.1f%%)"
              % (cpu1 - cpu0, t1 - t0, 100 * share))
        check("probe: button" not in host.stderr()[mark:], "input reached the inactive game")
        check("vantrel: [" not in host.stderr(), "a box while away:\n" + host.stderr())
        check(share < 0.05, "the inactive host used %.1f%% of a processor" % (100 * share))

        # Focus back: the idle turns resume and the scene is whole again.
        focus_back(x, wid, other, lambda s: near(mode_pixel(s, 5, 5), RED)
                   and near(mode_pixel(s, 100, 100), BLUE)
                   and near(mode_pixel(s, 300, 300), YELLOW), "the scene after the focus")
        other = None
        x.run("xdotool", "mousemove", "600", "600")
        mark = len(host.stderr())
        x.run("xdotool", "click", "1")
        second = int(host.wait_line(r"^probe: button 2211 at 300,300 frames=(\d+)$",
                                    after=mark).group(1))
        check(second > first, "no idle turns after the focus came back")

        host.quit_by_escape()
    finally:
        if other:
            other.kill()
            other.wait()
        host.kill()


def case_second_mode(x, args):
    """The probe module sets its mode again after loading its bitmap, once
    at the same depth and once at 32 bits: its tiles and sprites show after
    each, with no box."""
    host = Host(x, args.work, args.host, args.module, args.supp)
    try:
        host.wait_line(r"^probe: init mode=1 ")
        host.host_window()

        def scene(s):
            return (near(mode_pixel(s, 5, 5), RED) and near(mode_pixel(s, 100, 100), BLUE)
                    and near(mode_pixel(s, 320, 240), YELLOW)
                    and near(mode_pixel(s, 430, 330), YELLOW)
                    and near(mode_pixel(s, 405, 305), BLUE))
        settled_shot(x, scene, "the first frames")
        for key, bpp in (("m", 16), ("n", 32), ("m", 16)):
            mark = len(host.stderr())
            x.run("xdotool", "key", key)
            host.wait_line(r"^probe: mode again 1 bpp=%d$" % bpp, after=mark)
            settled_shot(x, scene, "the scene after a second mode of %d bits" % bpp)
        check("vantrel: [" not in host.stderr(), "a box:\n" + host.stderr())
        host.quit_by_escape()
    finally:
        host.kill()


DEMO_SAND, DEMO_GRASS, DEMO_WATER = 0xD8C078, 0x38A038, 0x3060C8
DEMO_ROCK, DEMO_STONE, DEMO_CANOPY = 0x707078, 0x886038, 0x186828
DEMO_GREEN, DEMO_BLUE, DEMO_YELLOW, DEMO_CYAN = 0x30C040, 0x4060E8, 0xF0D830, 0x30D0D8
DEMO_WOOD, WHITE = 0xA87038, 0xFFFFFF


def case_demo(x, args):
    """The demo module as a newcomer meets it: its first frames, an arrow
    key scrolling the map, H hiding the foreground, the pointer moving the
    cursor sprite, F1's help in the Report box, Escape."""
    extra = [os.path.join(os.path.dirname(args.module), f) for f in DEMO_FILES]
    host = Host(x, args.work, args.host, args.module, args.supp, extra=extra)
    try:
        host.host_window()
        first = {
            (16, 16): DEMO_ROCK, (48, 48): DEMO_SAND, (80, 48): DEMO_GRASS,
            (48, 272): DEMO_SAND, (48, 304): DEMO_WATER, (48, 400): DEMO_STONE,
            (16, 432): DEMO_STONE, (48, 432): DEMO_SAND, (112, 112): DEMO_CANOPY,
            (424, 120): DEMO_GREEN, (440, 136): DEMO_BLUE, (216, 376): DEMO_YELLOW,
            (216, 392): DEMO_STONE, (120, 184): DEMO_CYAN, (100, 164): DEMO_WOOD,
            (56, 40): DEMO_SAND, (40, 280): DEMO_SAND,
        }

        def all_known(s):
            return all(near(mode_pixel(s, px, py), c) for (px, py), c in first.items())
        shot = wait_for(lambda: (lambda s: s if all_known(s) else None)(x.screenshot()), 20,
                        "the demo's first frames")

        def star(s):
            return tuple(mode_pixel(s, px, py) for px in range(496, 592, 3)
                         for py in range(128, 224, 3))

        # The star pulses before any input: the window has the focus from the
        # start, so idle turns run.
        first_star = star(x.screenshot())
        wait_for(lambda: star(x.screenshot()) != first_star, 10, "the star to pulse at start")

        # One press of Right scrolls the map 16 pixels left; Down 16 up.
        x.run("xdotool", "key", "Right")
        settled_shot(x, lambda s: near(mode_pixel(s, 56, 40), DEMO_GRASS)
                     and near(mode_pixel(s, 40, 280), DEMO_SAND), "Right to scroll the map")
        x.run("xdotool", "key", "Down")
        settled_shot(x, lambda s: near(mode_pixel(s, 40, 280), DEMO_WATER), "Down to scroll")

        # H hides the foreground panel: the map shows where the stone was.
        x.run("xdotool", "key", "h")
        settled_shot(x, lambda s: not near(mode_pixel(s, 48, 400), DEMO_STONE),
                     "H to hide the foreground")

        # The cursor sprite's white cross follows the pointer (mode 300,200).
        x.run("xdotool", "mousemove", "600", "400")
        settled_shot(x, lambda s: near(mode_pixel(s, 300, 200), WHITE)
                     and near(mode_pixel(s, 300, 192), WHITE), "the cursor to follow")

        x.run("xdotool", "key", "F1")
        host.answer_box("Report", "Vantrel demo", first_line_only=True)
        # The star still pulses: the host is active again after its own box.
        first_star = star(x.screenshot())
        wait_for(lambda: star(x.screenshot()) != first_star, 10, "the star to pulse after F1")

        host.quit_by_escape()
    finally:
        host.kill()


def demo_host(x, args):
    extra = [os.path.join(os.path.dirname(args.module), f) for f in DEMO_FILES]
    return Host(x, args.work, args.host, args.module, args.supp, extra=extra)


# Pixels of the demo's first frame that no pointer or animation changes.
DEMO_STILL = {
    (16, 16): DEMO_ROCK, (48, 48): DEMO_SAND, (80, 48): DEMO_GRASS,
    (48, 272): DEMO_SAND, (48, 304): DEMO_WATER, (48, 400): DEMO_STONE,
    (16, 432): DEMO_STONE, (48, 432): DEMO_SAND, (112, 112): DEMO_CANOPY,
    (424, 120): DEMO_GREEN, (440, 136): DEMO_BLUE, (216, 376): DEMO_YELLOW,
    (216, 392): DEMO_STONE, (120, 184): DEMO_CYAN, (100, 164): DEMO_WOOD,
}


def demo_whole(s):
    return all(near(mode_pixel(s, px, py), c) for (px, py), c in DEMO_STILL.items())


def case_demo_lost_display(x, args):
    """The demo loses the display to another program and gets it back: its
    scene comes back whole, checked by pixels, and the pointer moving over it
    while it is away raises no box. Its own F1 box loses nothing: input
    reaches it at once after the box."""
    host = demo_host(x, args)
    other = None
    try:
        wid = host.host_window()
        settled_shot(x, demo_whole, "the demo's first frames")

        other = focus_other_window(x)
        for px, py in ((100, 100), (700, 500), (1200, 900), (640, 480)):
            x.run("xdotool", "mousemove", str(px), str(py))
        wait_for(lambda: host.goes_idle(), 20, "the demo to go idle once the focus went")
        check("vantrel: [" not in host.stderr(), "a box while away:\n" + host.stderr())
        focus_back(x, wid, other, demo_whole, "the demo's scene after the display came back",
                   at=(600, 400))
        other = None
        check("vantrel: [" not in host.stderr(), "a box:\n" + host.stderr())

        x.run("xdotool", "key", "F1")
        host.answer_box("Report", "Vantrel demo", first_line_only=True)
        # No loss: the cursor follows the pointer at once, over a whole scene.
        x.run("xdotool", "mousemove", "600", "400")
        settled_shot(x, lambda s: demo_whole(s) and near(mode_pixel(s, 300, 200), WHITE),
                     "the cursor to follow after F1")

        host.quit_by_escape()
    finally:
        if other:
            other.kill()
            other.wait()
        host.kill()


def case_record_replay(x, args):
    """Live against replay: the demo played with keys, pointer and both
    buttons while the host records, a Print Screen at the end; the replay of
    the recording presents, at the shot's frame, the same picture pixel for
    pixel."""
    extra = [os.path.join(os.path.dirname(args.module), f) for f in DEMO_FILES]
    host = Host(x, args.work, args.host, args.module, args.supp, extra=extra,
                host_args=("--record", "session.script"))
    try:
        host.host_window()
        settled_shot(x, lambda s: near(mode_pixel(s, 16, 16), DEMO_ROCK), "the first frames")
        for step in (("key", "Right"), ("key", "Down"), ("key", "h"),
                     ("mousemove", "600", "400"), ("click", "1"),
                     ("mousemove", "300", "500"), ("click", "1"),
                     ("mousemove", "600", "400"), ("click", "3"), ("key", "Prior"),
                     ("key", "Next"), ("key", "h"), ("mousemove", "700", "300"),
                     ("key", "Left")):
            x.run("xdotool", *step)
            time.sleep(0.15)
        x.run("xdotool", "key", "Print")
        shots = wait_for(lambda: glob.glob(os.path.join(host.run_dir, "vantrel-*.png")), 10,
                         "the screenshot file")
        check(len(shots) == 1, "one screenshot, not %d" % len(shots))
        check(re.search(r"/vantrel-\d{8}-\d{6}\.png$", shots[0]), "named " + shots[0])
        host.quit_by_escape()

        with open(os.path.join(host.run_dir, "session.script")) as f:
            script = f.read()
        for expected in ("keydown RIGHT", "keydown H", "move 300 200", "ldown", "lup",
                         "rdown", "rup", "keydown PRIOR", "keyup SNAPSHOT", "# shutdown 0"):
            check(expected in script, "the recording has %r:\n%s" % (expected, script))
        check("keydown SNAPSHOT" not in script, "Print Screen's key-down reached the module")
        m = re.search(r"^# screenshot (\S+) frame (\d+)$", script, re.M)
        check(m and os.path.basename(shots[0]) == m.group(1), "the shot is in the recording")
        frame = int(m.group(2))

        out = os.path.join(args.work, "replay")
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        result = subprocess.run(
            [args.replay, "--module", os.path.join(args.work, "bin", "prog.dll"), "--out", out,
             "--frames", str(frame), os.path.join(host.run_dir, "session.script")],
            env=env, capture_output=True, text=True, timeout=60)
        check(result.returncode == 0, "vantrel-replay: %d\n%s%s"
              % (result.returncode, result.stdout, result.stderr))
        replayed = os.path.join(out, "frame-%06d.png" % frame)
        diff = subprocess.run(["compare", "-metric", "AE", shots[0], replayed, "null:"],
                              capture_output=True, text=True, timeout=20)
        check(diff.stderr.strip() == "0", "the replayed frame %d differs from the screenshot in "
              "%s pixels" % (frame, diff.stderr.strip()))
    finally:
        host.kill()


def window_geometry(x, wid):
    """The window's (x, y, width, height) on the screen."""
    out = x.run("xwininfo", "-id", wid)
    field = {k: int(re.search(r"%s:\s+(-?\d+)" % k, out).group(1))
             for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")}
    return (field["Absolute upper-left X"], field["Absolute upper-left Y"],
            field["Width"], field["Height"])


def case_windowed(x, args):
    """--windowed --scale 2: a window of twice the 640x480 mode, centred, the
    frame drawn at twice the size; Alt+Enter goes full screen and back, and
    the Enter of it never reaches the module."""
    host = Host(x, args.work, args.host, args.module, args.supp,
                host_args=("--windowed", "--scale", "2"))
    try:
        host.wait_line(r"^probe: init mode=1 ")
        wid = host.host_window()
        windowed = (160, 120, 1280, 960)
        wait_for(lambda: window_geometry(x, wid) == windowed, 20,
                 "a 1280x960 window in the middle of the screen")
        # The red top-left tile fills window pixels 0..63 (32 mode pixels
        # doubled); the blue one beside it starts at 64. Outside, the
        # screen's own black.
        settled_shot(x, lambda s: near(s.rgb(160 + 10, 120 + 10), RED)
                     and near(s.rgb(160 + 70, 120 + 10), BLUE)
                     and near(s.rgb(160 + 1279, 120 + 959), BLUE)
                     and s.rgb(150, 110) != BLUE, "the frame at twice its size")

        mark = len(host.stderr())
        x.run("xdotool", "key", "alt+Return")
        wait_for(lambda: window_geometry(x, wid) == (0, 0, x.width, x.height), 20,
                 "the window to go full screen")
        x.run("xdotool", "key", "alt+Return")
        wait_for(lambda: window_geometry(x, wid) == windowed, 20, "the window to come back")
        # A plain Enter still reaches the module, after everything above.
        x.run("xdotool", "key", "Return")
        host.wait_line(r"^probe: keyup 0x0d$", after=mark)
        seen = re.findall(r"^probe: key(?:down|up) 0x0d$", host.stderr()[mark:], re.M)
        check(len(seen) == 2, "Enter reached the module %d times: %s" % (len(seen), seen))

        host.quit_by_escape()
    finally:
        host.kill()


def case_ini_file(x, args):
    """vantrel.ini beside the host: its problems in one box captioned
    "vantrel.ini", then the run goes on with what the file gave (a window of
    twice the mode); the command line wins over the file (--borderless: the
    full screen)."""
    ini = args.work + ".ini"
    os.makedirs(os.path.dirname(ini), exist_ok=True)
    with open(ini, "wb") as f:
        f.write(b"\xef\xbb\xbf; the player's choices\r\n[vantrel]\r\npresent = Windowed\r\n"
                b"scale=2\r\nfps_cap=lots\r\ncolour=red\r\n")
    problems = ("vantrel.ini line 5: fps_cap must be a whole number from 0 to 10000, not 'lots'\n"
                "vantrel.ini line 6: unknown key 'colour' (the keys are present, scale, fps_cap "
                "and module)")
    host = Host(x, args.work, args.host, args.module, args.supp, files=(("bin/vantrel.ini", ini),))
    try:
        host.answer_box("vantrel.ini", problems)
        host.wait_line(r"^probe: init mode=1 ")
        wid = host.host_window()
        wait_for(lambda: window_geometry(x, wid) == (160, 120, 1280, 960), 20,
                 "a 1280x960 window in the middle of the screen")
        check(host.stderr().count("vantrel: [vantrel.ini]") == 1, "not one box:\n" + host.stderr())
        host.quit_by_escape()
    finally:
        host.kill()
    host = Host(x, args.work, args.host, args.module, args.supp, host_args=("--borderless",),
                files=(("bin/vantrel.ini", ini),))
    try:
        host.answer_box("vantrel.ini", problems)
        wid = host.host_window()
        wait_for(lambda: window_geometry(x, wid) == (0, 0, x.width, x.height), 20,
                 "the window over the whole screen")
        host.quit_by_escape()
    finally:
        host.kill()


def case_fps_cap(x, args):
    """--fps-cap 50: the first 100 idle turns take two seconds of the
    module's own elapsed time (at most 50 a second, and not far fewer), and
    input still comes at once."""
    host = Host(x, args.work, args.host, args.module, args.supp,
                host_args=("--fps-cap", "50"))
    try:
        host.wait_line(r"^probe: init mode=1 ")
        host.host_window()
        ms = int(host.wait_line(r"^probe: frames=100 ms=(\d+)$").group(1))
        print("100 idle turns in %d ms: %.1f a second" % (ms, 100000.0 / ms))
        check(ms >= 1960, "100 idle turns in %d ms: more than 50 a second" % ms)
        check(ms <= 4000, "100 idle turns in %d ms: far fewer than 50 a second" % ms)
        mark = len(host.stderr())
        x.run("xdotool", "key", "a")
        host.wait_line(r"^probe: keyup 0x41$", after=mark, timeout=5)
        host.quit_by_escape()
    finally:
        host.kill()


def case_module_option(x, args):
    """--module PATH loads that file (here relative to the current folder,
    with another name, and nothing beside the host); a path that leads
    nowhere is the missing module's box, and nothing is searched for."""
    host = Host(x, args.work, args.host, None, args.supp,
                host_args=("--module", "../mods/game.so"),
                files=(("mods/game.so", args.module),))
    try:
        host.wait_line(r"^probe: init mode=1 ")
        host.host_window()
        host.quit_by_escape()
    finally:
        host.kill()

    work = args.work + "-nowhere"
    host = Host(x, work, args.host, args.module, args.supp,
                host_args=("--module", "no/such/game.so"))
    try:
        # A prog.dll beside the host is not used instead.
        host.answer_box("Error!", "prog.dll was not found or is not a valid DLL.")
        host.answer_box("Error!", "DESTROY!")
        host.check_clean_exit(1)
        check("no/such/game.so" in host.stderr(), "the path is not named:\n" + host.stderr())
    finally:
        host.kill()


def case_module_quits(x, args):
    """A module that ends the run itself through the served Win32 calls:
    its debug lines on standard error, a clock that moves while it really
    sleeps, its own box answered OK, then EV_SHUTDOWN, DESTROY! and its code
    7 as the exit code, with no idle turn after."""
    host = Host(x, args.work, args.host, args.module, args.supp)
    try:
        host.wait_line(r"^quit: init mode=1$")
        m = host.wait_line(r"^quit: clock before=(\d+) after=(\d+) ticks=(\d+) slept=(\d+)$")
        before, after, ticks = int(m.group(1)), int(m.group(2)), int(m.group(3))
        check(after - before >= 200 and ticks >= after,
              "the served clock did not move with Sleep(200): " + m.group(0))
        check(int(m.group(4)) >= 200, "Sleep(200) returned early: " + m.group(0))
        host.answer_box("Quit module", "quitting with 7")
        host.wait_line(r"^quit: box answered 1$")
        host.wait_line(r"^quit: shutdown frames=3$")
        host.answer_box("Error!", "DESTROY!")
        host.check_clean_exit(7)
    finally:
        host.kill()


def recorded_calls(script):
    """The calls a recording holds: each line one, a folded run its count."""
    calls, last_line = 0, 0
    for number, line in enumerate(script.splitlines(), 1):
        words = line.split("#", 1)[0].split()
        if not words or words[0] == "vantrel-replay":
            continue
        m = re.fullmatch(r"x(\d+)", words[-1]) if words[0] == "frame" else None
        calls += int(m.group(1)) if m else 1
        last_line = number
    return calls, last_line


@contextlib.contextmanager
def host_with_test_module(x, args, behaviour, work, **kw):
    """The host running the test module told to behave as `behaviour`
    (VANTREL_TEST_MODULE), killed and the setting dropped afterwards."""
    os.environ["VANTREL_TEST_MODULE"] = behaviour
    host = None
    try:
        host = Host(x, work, args.host, args.module, args.supp, **kw)
        yield host
    finally:
        os.environ.pop("VANTREL_TEST_MODULE", None)
        if host is not None:
            host.kill()


def case_module_crashes(x, args):
    """A module that dereferences null in its 40th call, recorded: the
    recording holds the 40 calls, the host names the call and the command
    that replays it, and that replay crashes at the recording's last line."""
    with host_with_test_module(x, args, "crash-at=40", args.work,
                          host_args=("--record", "session.script")) as host:
        code = host.exit_code(30)
        err = host.stderr()
        check(code == -signal.SIGSEGV, "ended with %d, not by SIGSEGV:\n%s" % (code, err))
        check(re.search(r"^vantrel: crashed \(SIGSEGV\) in the module's EV_\w+ call \(frame \d+\)$",
                        err, re.M), "the call is not named:\n" + err)
        recording = os.path.join(host.run_dir, "session.script")
        check(re.search(r"^vantrel: the recording, complete up to that call, is %s$"
                        % re.escape(os.path.realpath(recording)), err, re.M),
              "the recording is not named:\n" + err)
        m = re.search(r"^vantrel: replay it with: (vantrel-replay .*)$", err, re.M)
        check(m, "no replay command:\n" + err)
        with open(recording) as f:
            calls, last_line = recorded_calls(f.read())
        check(calls == 40, "the recording holds %d calls, not 40" % calls)

        argv = m.group(1).split()
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        result = subprocess.run([args.replay] + argv[1:] + [], env=env, capture_output=True,
                                text=True, timeout=60, cwd=args.work)
        check(result.returncode == 4, "the replay ended with %d:\n%s%s"
              % (result.returncode, result.stdout, result.stderr))
        check(re.search(r"module crashed \(SIGSEGV\) in the call of script line %d \(EV_"
                        % last_line, result.stderr),
              "the replay did not crash at line %d:\n%s" % (last_line, result.stderr))


def case_served_calls(x, args):
    """The served clock moves during a call: a module polling it with
    Sleep(1) until 10 ms have passed gets there. MessageBoxA shows the
    buttons of its type and answers as Windows does: Escape is Cancel where
    there is one (OK on the OK box) and does nothing on Yes/No and
    Abort/Retry/Ignore; Return presses the default button."""
    with host_with_test_module(x, args, "clock-wait", os.path.join(args.work, "clock")) as host:
        m = host.wait_line(r"^clock: waited (\d+) ms, ticks moved (\d+) ms, (\w+)$", 30)
        check(m.group(3) == "done" and int(m.group(1)) >= 10, "the clock stood: " + m.group(0))
        host.answer_box("Error!", "DESTROY!")
        host.check_clean_exit(0)

    # A process the module starts has no signal blocked.
    with host_with_test_module(x, args, "shell", os.path.join(args.work, "shell")) as host:
        m = host.wait_line(r"^SigBlk:\s+([0-9a-f]+)$", 30)
        check(int(m.group(1), 16) == 0, "signals blocked in the module's shell: " + m.group(0))
        host.answer_box("Error!", "DESTROY!")
        host.check_clean_exit(0)

    with host_with_test_module(x, args, "boxes", os.path.join(args.work, "boxes")) as host:
        for name, keys, answer in (("MB_OK", ["Escape"], 1),
                                   ("MB_OKCANCEL", ["Escape"], 2),
                                   ("MB_ABORTRETRYIGNORE", ["Escape", "Return"], 3),
                                   ("MB_YESNOCANCEL", ["Escape"], 2),
                                   ("MB_YESNO", ["Escape", "Return"], 6),
                                   ("MB_RETRYCANCEL", ["Escape"], 2),
                                   ("MB_YESNO|MB_DEFBUTTON2", ["Return"], 7),
                                   ("MB_YESNOCANCEL|MB_DEFBUTTON3", ["Return"], 2)):
            host.wait_line(r"^vantrel: \[Buttons\] %s$" % re.escape(name))
            wid = wait_for(lambda: x.window_named("Buttons"), 20, "the %s box" % name)
            for i, key in enumerate(keys):
                if i > 0:
                    # The key before must have left the box standing.
                    time.sleep(0.5)
                    check(not re.search(r"^box: %s answered" % re.escape(name), host.stderr(),
                                        re.M), "%s closed on %s" % (name, keys[i - 1]))
                x.run("xdotool", "key", "--window", wid, key)
            m = host.wait_line(r"^box: %s answered (-?\d+)$" % re.escape(name))
            check(int(m.group(1)) == answer, "%s answered %s, not %d" % (name, m.group(1), answer))
        host.answer_box("Error!", "DESTROY!")
        host.check_clean_exit(0)


def case_options(x, args):
    """--version, --help and a bad command line answer without a window."""
    def run(*argv):
        return subprocess.run([args.host] + list(argv), capture_output=True, text=True,
                              timeout=20, env=dict(os.environ, DISPLAY=x.display))
    r = run("--version")
    check(r.returncode == 0 and re.fullmatch(r"vantrel \d+\.\d+(\.\d+)*\n", r.stdout),
          "--version: %d %r" % (r.returncode, r.stdout))
    r = run("--help")
    check(r.returncode == 0, "--help answered %d" % r.returncode)
    for name in ("--help", "--version", "--module PATH", "--exclusive", "--borderless",
                 "--windowed", "--scale N", "--fps-cap N", "--strict-modes", "--record FILE",
                 "Alt+Enter", "vantrel.ini"):
        check(name in r.stdout, "--help does not name %s:\n%s" % (name, r.stdout))
    for argv, text in ((("--bogus",), "unknown option '--bogus'"),
                       (("--scale",), "option '--scale' needs a value"),
                       (("--fps-cap", "-1"), "option '--fps-cap' needs a whole number"),
                       (("--record", "/nonexistent-folder/s.script"),
                        "cannot record into /nonexistent-folder/s.script")):
        r = run(*argv)
        check(r.returncode == 2 and r.stderr.startswith("vantrel: " + text) and not r.stdout,
              "%s: %d %r" % (argv, r.returncode, r.stderr))
    check(not x.windows() or all(n != "Release 1 pre1" for _, n in x.windows()),
          "a window was opened")


def case_fps(x, args):
    """Not a test: frames per second of the probe module (a frame on every
    call) for the figures, over `--seconds`."""
    host = Host(x, args.work, args.host, args.module, args.supp)
    try:
        host.wait_line(r"^probe: init mode=1 ")
        wid = host.host_window()
        time.sleep(args.seconds)
        x.run("xdotool", "key", "Escape")
        host.answer_box("Error!", "DESTROY!")
        host.exit_code()
        m = re.search(r"^probe: shutdown frames=(\d+) ms=(\d+)$", host.stderr(), re.M)
        frames, ms = int(m.group(1)), int(m.group(2))
        print("%d frames in %d ms: %.1f frames per second" % (frames, ms, frames * 1000.0 / ms))
    finally:
        host.kill()


CASES = {
    "missing_module": (case_missing_module, (1280, 960)),
    "broken_module": (case_broken_module, (1280, 960)),
    "no_procedure": (case_no_procedure, (1280, 960)),
    "no_display": (case_no_display, (640, 480)),
    "probe": (case_probe, (1280, 960)),
    "letterbox": (case_letterbox, (1280, 800)),
    "alt_f4": (case_alt_f4, (1280, 960)),
    "idle": (case_idle, (1280, 960)),
    "signals": (case_signals, (1280, 960)),
    "late_display": (case_late_display, (1280, 960)),
    "demo": (case_demo, (1280, 960)),
    "demo_lost_display": (case_demo_lost_display, (1280, 960)),
    "second_mode": (case_second_mode, (1280, 960)),
    "record_replay": (case_record_replay, (1280, 960)),
    "windowed": (case_windowed, (1600, 1200)),
    "fps_cap": (case_fps_cap, (1280, 960)),
    "ini_file": (case_ini_file, (1600, 1200)),
    "module_option": (case_module_option, (1280, 960)),
    "options": (case_options, (640, 480)),
    "module_quits": (case_module_quits, (1280, 960)),
    "module_crashes": (case_module_crashes, (1280, 960)),
    "served_calls": (case_served_calls, (1280, 960)),
    "fps": (case_fps, None),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--host", required=True)
    parser.add_argument("--module")
    parser.add_argument("--work", required=True)
    parser.add_argument("--supp")
    parser.add_argument("--replay", help="vantrel-replay, for the record_replay and module_crashes cases")
    parser.add_argument("--screen", default=None, help="WxH for the fps figure")
    parser.add_argument("--seconds", type=float, default=5.0)
    parser.add_argument("--needs-build", default=None,
                        help="name of the preset that builds --host; skip when it is missing")
    args = parser.parse_args()
    if args.needs_build:
        missing = [p for p in (args.host, args.module) if p and not os.path.exists(p)]
        if missing:
            print("SKIP %s: %s not built; build the %s preset first (scripts/test.sh does)"
                  % (args.case, " and ".join(missing), args.needs_build))
            return 77
    func, screen = CASES[args.case]
    if args.screen:
        screen = tuple(int(v) for v in args.screen.split("x"))
    return run_case(func, args, screen or (640, 480))


def run_case(func, args, screen):
    """Runs one case on its own Xvfb screen within the time allowed: 0 when
    it passes, 1 with the failure and the host's standard error."""
    def on_alarm(signum, frame):
        raise Failure("the case ran longer than %d s" % CASE_TIMEOUT_S)
    signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(CASE_TIMEOUT_S)
    x = XServer(*screen)
    try:
        func(x, args)
    except Failure as failure:
        print("FAIL %s: %s" % (args.case, failure))
        err_path = os.path.join(args.work, "stderr.txt")
        if os.path.exists(err_path):
            with open(err_path, errors="replace") as f:
                print("--- host standard error ---\n" + f.read())
        return 1
    finally:
        signal.alarm(0)
        x.stop()
    print("ok %s" % args.case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
