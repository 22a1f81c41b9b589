#!/usr/bin/env python3
"""The Windows host under Wine, end to end.

  wine_harness.py setup    --source SRC --work DIR   build, start Xvfb, boot a fresh prefix
  wine_harness.py case NAME --source SRC --work DIR  run one case, exit 0 when it holds
  wine_harness.py teardown --work DIR                stop the prefix and Xvfb

Setup builds what the cases need (the host vantrel.exe with the demo module,
and the programs of tests/wine/modules: the box watcher and the test modules),
starts Xvfb on a free display and boots a fresh Wine prefix whose default
desktop is a virtual one (800 x 600): inside it DirectDraw can switch modes,
and a 640 x 480 mode shows at the desktop's top-left, at the top-left of the
X screen. Every case gets its own folder with a copy of vantrel.exe and its
own prog.dll, runs the box watcher in the same prefix (it logs each message
box as "caption<TAB>text" and answers it), sends keys and pointer moves with
xdotool, reads pixels from screenshots (ImageMagick import) and takes the
host's exit code from wine.

Which Windows build runs: the i686 reference build (build/windows, the
`windows` preset) where this machine runs 32-bit Wine, else the x86_64 build
(build/windows-x64) under wine64. VANTREL_WINE_ARCH=i686 or x86_64 chooses;
asking for i686 where 32-bit programs cannot run fails at once, saying why.

  wine_harness.py choice [--expect ARCH]            print the build chosen and why
"""

import argparse
import json
import os
import shutil
import signal
import struct
import subprocess
import sys
import time
from pathlib import Path

WINE32 = "/usr/lib/wine/wine"
WINE64 = "/usr/lib/wine/wine64"
SERVER64 = "/usr/lib/wine/wineserver64"
ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "ddraw.dll", "winmm.dll", "msvcrt.dll"}


def log(*words):
    print(*words, flush=True)


def run(cmd, **kw):
    log("$", " ".join(str(c) for c in cmd))
    return subprocess.run(cmd, check=True, **kw)


# ---------------------------------------------------------------------------
# Setup
# ---------------------------------------------------------------------------
def check_32bit_wine():
    """(runs, why): whether this machine runs the 32-bit Wine loader natively,
    and the reason in words. Through a binfmt emulator (qemu-i386) the loader
    starts but cannot boot a prefix, so that counts as not running."""
    if not os.access(WINE32, os.X_OK):
        return False, f"the 32-bit Wine loader {WINE32} is not installed (Debian package wine32:i386)"
    binfmt = Path("/proc/sys/fs/binfmt_misc")
    for entry in binfmt.glob("*") if binfmt.is_dir() else []:
        try:
            text = entry.read_text()
        except OSError:
            continue
        if text.startswith("enabled") and "qemu-i386" in text:
            return False, (f"32-bit programs run here only through the emulator of {entry}, "
                           "which cannot boot a Wine prefix")
    try:
        r = subprocess.run([WINE32, "--version"], capture_output=True, text=True, timeout=20)
    except OSError as e:
        return False, f"this machine cannot run 32-bit programs ({WINE32}: {e.strerror})"
    except subprocess.TimeoutExpired:
        return False, f"{WINE32} --version did not answer within 20 s"
    if r.returncode != 0:
        return False, (f"{WINE32} --version failed with exit code {r.returncode}: "
                       f"{(r.stderr or r.stdout).strip()[:200]}")
    return True, f"32-bit Wine runs ({r.stdout.strip()})"


def choose_arch():
    """(arch, why, error): the Windows build the cases run and the reason of
    the choice; `error` is set (and arch None) when the asked-for build cannot
    run here."""
    asked = os.environ.get("VANTREL_WINE_ARCH", "")
    if asked not in ("", "i686", "x86_64"):
        return None, "", f"VANTREL_WINE_ARCH={asked}: expected i686 or x86_64"
    if asked == "x86_64":
        return "x86_64", "asked for by VANTREL_WINE_ARCH=x86_64", None
    runs, why = check_32bit_wine()
    if asked == "i686":
        if not runs:
            return None, "", ("VANTREL_WINE_ARCH=i686 asks for the 32-bit build, but 32-bit "
                              f"programs cannot run here: {why}")
        return "i686", f"asked for by VANTREL_WINE_ARCH=i686; {why}", None
    if runs:
        return "i686", f"{why}: the 32-bit reference build", None
    return "x86_64", f"{why}; the x86_64 build runs under wine64 instead", None


def choice(args):
    """Prints which Windows build the cases run and why; fails when the asked
    build cannot run, or when it is not the one the test build was configured
    for (--expect)."""
    arch, why, error = choose_arch()
    if error:
        log("FAIL", error)
        return 1
    log(f"Windows build under test: {arch} ({why})")
    if args.expect and args.expect != arch:
        log(f"FAIL the test build was configured for the {args.expect} build, but now the "
            f"{arch} build would run: configure again (cmake --preset test)")
        return 1
    return 0


def build(src, arch):
    if arch == "i686":
        host = src / "build" / "windows"
        toolchain = src / "cmake" / "mingw-i686.cmake"
    else:
        host = src / "build" / "windows-x64"
        toolchain = src / "tests" / "wine" / "mingw-x86_64.cmake"
    # Configured every time: folders that appeared since (dist/, modules/) join in.
    if (host / "CMakeCache.txt").exists():
        run(["cmake", "-S", src, "-B", host])
    else:
        run(["cmake", "-S", src, "-B", host, f"-DCMAKE_TOOLCHAIN_FILE={toolchain}",
             "-DCMAKE_BUILD_TYPE=Release", "-DVANTREL_TESTS=OFF"])
    run(["cmake", "--build", host, "-j2", "--target", "vantrel", "vantrel_demo", "vantrel-replay",
         "backend_check"])
    progs = src / "build" / f"wine-programs-{arch}"
    if not (progs / "CMakeCache.txt").exists():
        run(["cmake", "-S", src / "tests" / "wine" / "modules", "-B", progs,
             f"-DCMAKE_TOOLCHAIN_FILE={toolchain}", "-DCMAKE_BUILD_TYPE=Release"])
    run(["cmake", "--build", progs, "-j2"])
    return host, progs


def start_xvfb():
    """Starts Xvfb on a display it picks itself (-displayfd): answers the
    display number and the server's process id."""
    read_fd, write_fd = os.pipe()
    proc = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=(write_fd,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    os.close(write_fd)
    number = b""
    with os.fdopen(read_fd, "rb") as r:
        while not number.endswith(b"\n"):
            chunk = r.read(1)
            if not chunk:
                break
            number += chunk
    if not number.strip():
        proc.kill()
        raise SystemExit("Xvfb did not start")
    return int(number), proc.pid


def wine_env(state):
    env = dict(os.environ)
    env.update(WINEPREFIX=state["prefix"], WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
               DISPLAY=f":{state['display']}", WINEARCH=state["winearch"])
    if state["server"] != "wineserver":
        env["WINESERVER"] = state["server"]
    return env


def setup(args):
    src, work = Path(args.source).resolve(), Path(args.work).resolve()
    teardown(args, quiet=True)
    if work.exists():
        shutil.rmtree(work)
    work.mkdir(parents=True)
    arch, why, error = choose_arch()
    if error:
        log("FAIL", error)
        return 1
    log(f"Windows build under test: {arch} ({why})")
    host, progs = build(src, arch)
    display, xvfb = start_xvfb()
    state = {
        "arch": arch, "display": display, "xvfb": xvfb, "prefix": str(work / "prefix"),
        "wine": WINE32 if arch == "i686" else WINE64,
        "server": "wineserver" if arch == "i686" else SERVER64,
        "winearch": "win32" if arch == "i686" else "win64",
        "host": str(host), "programs": str(progs), "source": str(src),
        "toolchain": str(src / "cmake" / "mingw-i686.cmake") if arch == "i686"
        else str(src / "tests" / "wine" / "mingw-x86_64.cmake"),
    }
    (work / "state.json").write_text(json.dumps(state, indent=1))
    env = wine_env(state)
    t0 = time.time()
    run([state["wine"], "wineboot", "-i"], env=env, timeout=300)
    run([state["wine"], "reg", "add", r"HKCU\Software\Wine\Explorer", "/v", "Desktop", "/d",
         "Default", "/f"], env=env, timeout=120)
    run([state["wine"], "reg", "add", r"HKCU\Software\Wine\Explorer\Desktops", "/v", "Default",
         "/d", "800x600", "/f"], env=env, timeout=120)
    run([state["server"], "-w"], env=env, timeout=300)
    log(f"prefix booted in {time.time() - t0:.1f} s on display :{display}")
    return 0


def teardown(args, quiet=False):
    work = Path(args.work).resolve()
    state_file = work / "state.json"
    if not state_file.exists():
        return 0
    state = json.loads(state_file.read_text())
    try:
        subprocess.run([state["server"], "-k"], env=wine_env(state), timeout=60)
    except (OSError, subprocess.TimeoutExpired):
        pass
    try:
        os.kill(state["xvfb"], signal.SIGTERM)
    except ProcessLookupError:
        pass
    state_file.unlink()
    if not quiet:
        log("prefix and Xvfb stopped")
    return 0


# ---------------------------------------------------------------------------
# Pieces of a case
# ---------------------------------------------------------------------------
def winpath(path):
    return "Z:" + str(path).replace("/", "\\")


def bmp24(path, width, height, pixel):
    """Writes a 24-bit bitmap file; pixel(x, y) gives (r, g, b), y from the top."""
    row = (width * 3 + 3) & ~3
    body = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        body += line + bytes(row - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    Path(path).write_bytes(header + info + body)


class Case:
    """One run of vantrel.exe in its own folder, with the box watcher beside it."""

    def __init__(self, work, name):
        self.work = Path(work).resolve()
        self.state = json.loads((self.work / "state.json").read_text())
        self.env = wine_env(self.state)
        self.dir = self.work / "cases" / name
        if self.dir.exists():
            shutil.rmtree(self.dir)
        self.dir.mkdir(parents=True)
        self.host_dir = Path(self.state["host"])
        self.programs = Path(self.state["programs"])
        shutil.copy(self.host_dir / "vantrel.exe", self.dir)
        self.boxes_file = self.dir / "boxes.txt"
        self.stop_file = self.dir / "watcher.stop"
        self.failures = []
        self.watcher = None
        self.host = None

    # -- checks -------------------------------------------------------------
    def expect(self, ok, what):
        log(("ok    " if ok else "FAIL  ") + what)
        if not ok:
            self.failures.append(what)
        return ok

    def expect_equal(self, got, want, what):
        return self.expect(got == want, f"{what}: got {got!r}, want {want!r}")

    # -- processes ----------------------------------------------------------
    def start_watcher(self):
        # A watcher started again for the next run of a case begins afresh.
        for f in (self.boxes_file, self.stop_file):
            if f.exists():
                f.unlink()
        self.watcher = subprocess.Popen(
            [self.state["wine"], str(self.programs / "box_watcher.exe"), winpath(self.boxes_file),
             winpath(self.stop_file)], cwd=self.dir, env=self.env)
        self.wait_for(lambda: self.boxes_file.exists(), 60, "the box watcher runs")

    def start_host(self, *args):
        self.host = subprocess.Popen([self.state["wine"], "vantrel.exe", *args], cwd=self.dir,
                                     env=self.env)

    def wait_host(self, timeout=60):
        try:
            return self.host.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.expect(False, f"vantrel.exe ended within {timeout} s")
            self.host.kill()
            return None

    def stop_watcher(self):
        if self.watcher is None:
            return
        # The watcher writes a box down before it answers it, and the host
        # ends only after its last box is answered: once the host has ended,
        # every box it showed is in the log.
        self.stop_file.touch()
        try:
            self.watcher.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.watcher.kill()

    def settle(self):
        """Waits until every program of the prefix has ended."""
        try:
            subprocess.run([self.state["server"], "-w"], env=self.env, timeout=60)
        except subprocess.TimeoutExpired:
            subprocess.run([self.state["server"], "-k"], env=self.env, timeout=60)

    def boxes(self):
        if not self.boxes_file.exists():
            return []
        text = self.boxes_file.read_bytes().decode("latin-1").replace("\r", "")
        return [line for line in text.split("\n") if line]

    def wait_for(self, cond, timeout, what):
        end = time.time() + timeout
        while time.time() < end:
            if cond():
                return True
            time.sleep(0.1)
        return self.expect(cond(), f"{what} (within {timeout} s)")

    # -- X input and pixels ------------------------------------------------
    def xdo(self, *words):
        subprocess.run(["xdotool", *words], env=self.env, check=False)

    def focus_desktop(self):
        """Gives the X focus to the Wine desktop, so the host's window becomes
        the active one (there is no window manager to do it)."""
        def found():
            r = subprocess.run(["xdotool", "search", "--name", "Wine desktop"], env=self.env,
                               capture_output=True, text=True)
            ids = r.stdout.split()
            if ids:
                self.xdo("windowfocus", ids[0])
            return bool(ids)
        self.wait_for(found, 30, "the Wine desktop window exists")

    def screenshot(self, name):
        png = self.dir / f"{name}.png"
        subprocess.run(["import", "-silent", "-window", "root", "-display",
                        f":{self.state['display']}", str(png)], env=self.env, check=False)
        raw = subprocess.run(["convert", str(png), "-depth", "8", "rgb:-"], capture_output=True)
        return Shot(raw.stdout, 1024)

    def pixel_holds(self, shot, x, y, rgb, tolerance=8):
        got = shot.at(x, y)
        return got is not None and all(abs(a - b) <= tolerance for a, b in zip(got, rgb))

    def expect_pixels(self, shot, table, label):
        for (x, y), rgb, why in table:
            self.expect(self.pixel_holds(shot, x, y, rgb),
                        f"{label}: ({x}, {y}) is {why} {rgb}, got {shot.at(x, y)}")

    def wait_pixels(self, name, table, timeout):
        """Screenshots until every pixel of the table holds; answers the last."""
        end = time.time() + timeout
        while True:
            shot = self.screenshot(name)
            if all(self.pixel_holds(shot, x, y, rgb) for (x, y), rgb, _ in table):
                return shot
            if time.time() > end:
                return shot
            time.sleep(0.3)

    def copy_demo(self):
        """The demo module and the files it loads, into the case's folder."""
        for f in DEMO_FILES:
            shutil.copy(self.host_dir / f, self.dir)

    def end_with_escape(self, what=""):
        """Escape ends the run: exit code 0, and the last box is DESTROY!."""
        self.focus_desktop()
        self.xdo("key", "Escape")
        self.expect_equal(self.wait_host(), 0, f"{what}exit code after Escape")
        self.stop_watcher()

    def finish(self):
        self.stop_watcher()
        self.settle()
        if self.failures:
            log(f"{len(self.failures)} check(s) failed; files in {self.dir}")
            return 1
        return 0


class Shot:
    def __init__(self, data, width):
        self.data, self.width = data, width

    def at(self, x, y):
        i = (y * self.width + x) * 3
        if i + 3 > len(self.data):
            return None
        return tuple(self.data[i:i + 3])


# ---------------------------------------------------------------------------
# The cases
# ---------------------------------------------------------------------------
ROCK, SAND, GRASS = (112, 112, 120), (216, 192, 120), (56, 160, 56)
WATER, STONE, CANOPY = (48, 96, 200), (136, 96, 56), (24, 104, 40)

DEMO_FIRST = [
    ((16, 16), ROCK, "rock: background cell (0, 0)"),
    ((48, 48), SAND, "sand: background cell (1, 1)"),
    ((80, 48), GRASS, "grass: background cell (2, 1)"),
    ((48, 272), SAND, "sand: the river bank"),
    ((48, 304), WATER, "water: the river"),
    ((48, 400), STONE, "stone: the foreground panel"),
    ((16, 432), STONE, "stone: panel row 13"),
    ((48, 432), SAND, "sand through the colour-keyed porthole"),
    ((112, 112), CANOPY, "canopy: a tree top"),
    ((424, 120), (48, 192, 64), "the green ball over the red one"),
    ((440, 136), (64, 96, 232), "the blue ball over the green one"),
    ((216, 376), (240, 216, 48), "the yellow ball"),
    ((216, 392), STONE, "stone over the yellow ball's lower half"),
    ((120, 184), (48, 208, 216), "the cyan ball over the crate"),
    ((100, 164), (168, 112, 56), "the crate"),
]


# The demo module and the files it loads from its own folder.
DEMO_FILES = ("prog.dll", "tiles.bmp", "sprites.bmp", "vantrel-font.bmp", "drop.wav", "swap.wav",
              "tick.wav")


def start_demo(c):
    """The demo in exclusive play with the box watcher beside it, once its
    first frames show; answers their screenshot."""
    c.copy_demo()
    c.start_watcher()
    c.focus_desktop()
    c.start_host()
    shot = c.wait_pixels("first", DEMO_FIRST, 30)
    c.expect_pixels(shot, DEMO_FIRST, "first frames")
    return shot


def case_demo(c):
    shot = start_demo(c)
    # The host draws its frames, so it has the input: one press of Right,
    # then the scrolled map is waited for (within 10 s).
    c.xdo("mousemove", "600", "20")
    c.xdo("key", "Right")
    shot = c.wait_pixels("right", [((56, 40), GRASS, "")], 10)
    c.expect_pixels(shot, [((56, 40), GRASS, "grass after one press of Right")], "scrolled")
    c.expect_pixels(shot, [((56, 304), WATER, "water: rows stay")], "scrolled")
    # Print Screen in exclusive play reads the real primary surface.
    c.xdo("key", "Print")
    c.wait_for(lambda: list(c.dir.glob("vantrel-*.png")), 10, "Print Screen wrote a PNG")
    pngs = list(c.dir.glob("vantrel-*.png"))
    if pngs:
        own = Shot(raw_rgb(pngs[0]), 640)
        c.expect(len(own.data) == 640 * 480 * 3, "the shot is the 640 x 480 mode")
        c.expect_pixels(own, [((56, 40), GRASS, "grass"), ((56, 304), WATER, "water")], "the shot")
    c.xdo("key", "Escape")
    c.expect_equal(c.wait_host(), 0, "exit code after Escape")
    c.stop_watcher()
    c.expect_equal(c.boxes(), ["Error!\tDESTROY!"], "message boxes")
    return c.finish()


def star_pixels(shot):
    """The demo's pulsing star: it changes from frame to frame while the game
    is active and draws."""
    return [shot.at(x, y) for x in range(516, 573, 4) for y in (160, 176, 192)]


def case_switch_away(c):
    """Switching away and back five times never ends the run: while another
    program has the foreground the game draws nothing (its star stands
    still), each time it comes back whole and animating, and no box is shown
    until the run ends. There is no task switcher in the virtual desktop for
    xdotool's Alt+Tab to reach: switcher.exe does what it would do."""
    shot = start_demo(c)
    for n in range(1, 6):
        c.focus_desktop()
        switcher = switch_away(c, 4000, 100, 100, f"switch {n}: ")
        time.sleep(1.0)  # the desktop settles into its own mode
        a = c.screenshot(f"away-{n}-a")
        time.sleep(1.0)
        b = c.screenshot(f"away-{n}-b")
        # Wine minimises the game's window in its own time: while its picture
        # is still there, it must stand still.
        shown = all(c.pixel_holds(s, x, y, rgb) for s in (a, b) for (x, y), rgb, _ in DEMO_FIRST)
        how = "its picture stands still" if shown else "its picture is gone"
        c.expect(not shown or star_pixels(a) == star_pixels(b),
                 f"switch {n}: the game draws nothing while away ({how})")
        switched_back(c, switcher, f"switch {n}: ")
        shot = c.wait_pixels(f"back-{n}", DEMO_FIRST, 20)
        c.expect_pixels(shot, DEMO_FIRST, f"switch {n}: the scene is back")
        c.wait_for(lambda: star_pixels(c.screenshot(f"back-{n}-star")) != star_pixels(shot), 10,
                   f"switch {n}: the game draws again")
        c.expect_equal(c.boxes(), [], f"switch {n}: message boxes so far")
        if c.failures:
            break
    c.end_with_escape()
    c.expect_equal(c.boxes(), ["Error!\tDESTROY!"], "message boxes")
    return c.finish()


def case_close_request(c):
    """Alt+F4 asks the window to close: the platform destroys it, the run ends
    with code 0, and the DESTROY! box still shows (it cannot be owned by the
    window that is gone)."""
    c.copy_demo()
    c.start_watcher()
    c.focus_desktop()
    c.start_host()
    shot = c.wait_pixels("first", DEMO_FIRST[:3], 30)
    c.expect_pixels(shot, DEMO_FIRST[:3], "first frames")
    # The host draws its frames, so it has the input.
    c.xdo("mousemove", "600", "20")
    c.xdo("key", "alt+F4")
    c.expect_equal(c.wait_host(), 0, "exit code after a close request")
    c.stop_watcher()
    c.expect_equal(c.boxes(), ["Error!\tDESTROY!"], "message boxes")
    return c.finish()


def probe_bitmaps(folder):
    # bg.bmp: red, keyed on its blue top-left pixel.
    bmp24(folder / "bg.bmp", 64, 64, lambda x, y: (0, 0, 255) if (x, y) == (0, 0) else (255, 0, 0))

    # key.bmp: a magenta ring (the key) around a green centre, with a 4 x 4
    # block one bit of blue away from the key in RGB565 (247 instead of 255).
    def key(x, y):
        if 8 <= x < 24 and 8 <= y < 24:
            return (0, 255, 0)
        if 2 <= x < 6 and 2 <= y < 6:
            return (255, 0, 247)
        return (255, 0, 255)
    bmp24(folder / "key.bmp", 32, 32, key)


PROBE_SETUP = [
    "before code 2003 key 0 reserved 0 aux 2300 mouse 0 0",
    "slots filled",
    "window found",
    "window popup 1 caption 0 border 0 visible 1 topmost 1 class style 3",
    "window rect 0 0 800 600 screen 800 600",
    "call init ms 0",
    "during code 2003 key 0 reserved 0 aux 2300 mouse 0 0",
    "setmode 640 480 16 -> 1",
    "setmode 641 479 16 -> 0",
    "addimage missing_head.bmp -> null",
    "image ihead state 3001 flag 3101 surface null size 0 0",
    "image bg state 3001 flag 3101 surface set size 64 64",
    "surface bg desc ok 64 64 bpp 16 key set",
    "image key state 3001 flag 3101 surface set size 32 32",
    "surface key desc ok 32 32 bpp 16 key set",
    "addimage missing_later.bmp -> null",
    "images 4",
    "call frame",
    "drawsprite bg -> 1",
    "drawsprite key -> 1",
    "frame drawn",
]


def probe_lines(c):
    f = c.dir / "probe.txt"
    if not f.exists():
        return [], b""
    raw = f.read_bytes()
    return [line for line in raw.decode("latin-1").replace("\r", "").split("\n") if line], raw


def case_probe(c):
    shutil.copy(c.programs / "probe" / "prog.dll", c.dir)
    probe_bitmaps(c.dir)
    c.start_watcher()
    c.focus_desktop()
    c.start_host()
    c.wait_for(lambda: "frame drawn" in probe_lines(c)[0], 30, "the probe drew its frame")
    keyed = [
        ((101, 101), (255, 0, 0), "the background sprite"),
        ((163, 163), (255, 0, 0), "the background sprite's far corner"),
        ((117, 117), (255, 0, 0), "background through the key colour"),
        ((140, 120), (255, 0, 0), "background through the key colour"),
        ((132, 132), (0, 255, 0), "the keyed sprite's centre"),
        ((119, 119), (255, 0, 247), "a colour one bit away from the key, drawn"),
    ]
    shot = c.wait_pixels("keyed", keyed, 10)
    c.expect_pixels(shot, keyed, "colour-keyed frame")

    # Input, one action at a time, each waited for until the module has
    # seen its last window message.
    for words, message in ((["mousemove", "200", "150"], "0x0200"), (["key", "a"], "0x0101"),
                           (["click", "1"], "0x0202"), (["click", "3"], "0x0205"),
                           (["mousemove", "300", "250"], "0x0200")):
        def seen():
            return sum(line.startswith(f"after {message} ") for line in probe_lines(c)[0])
        before = seen()
        c.xdo(*words)
        c.wait_for(lambda: seen() > before, 10,
                   f"xdotool {' '.join(words)} reached the module as message {message}")
    c.xdo("keydown", "Escape")
    c.expect_equal(c.wait_host(), 0, "exit code after Escape")
    c.xdo("keyup", "Escape")
    c.stop_watcher()
    c.expect_equal(c.boxes(), ["Error!\tSetDisplayMode failed",
                               "Report\tHead image could not be loaded and/or found",
                               "Error!\tImage could not be loaded and/or found",
                               "Error!\tDESTROY!"], "message boxes")

    lines, raw = probe_lines(c)
    c.expect(b"\r\n" in raw, "the record has CRLF line ends, as a Windows text file")
    c.expect(bool(lines) and lines[0].startswith("interface record set size "),
             f"VProgInterface is the first call: {lines[:1]}")
    pos = 0
    for want in PROBE_SETUP:  # in this order
        try:
            pos = lines.index(want, pos) + 1
            c.expect(True, want)
        except ValueError:
            c.expect(False, f"in order: {want!r}")
    c.expect("cursor hidden" in lines, "no cursor over the window during pointer events")
    events = [line for line in lines if line.startswith(("event ", "after "))]
    tail = " reserved 0 aux 2300 mouse "
    wanted = [
        f"event code 2200 key 0{tail}200 150", "after 0x0200 code 2000",
        f"event code 2100 key 65{tail}200 150", "after 0x0100 code 2100",
        f"event code 2101 key 65{tail}200 150", "after 0x0101 code 2000",
        f"event code 2210 key 65{tail}200 150", "after 0x0201 code 2000",
        f"event code 2211 key 65{tail}200 150", "after 0x0202 code 2000",
        f"event code 2220 key 65{tail}200 150", "after 0x0204 code 2000",
        f"event code 2221 key 65{tail}200 150", "after 0x0205 code 2000",
        f"event code 2200 key 65{tail}300 250", "after 0x0200 code 2000",
        "after 0x0100 code 2000",  # Escape pressed: no event, the code stays
    ]
    # The pointer's first position (the X screen's centre) may come in as the
    # window is activated; a move may come more than once; every other event
    # exactly once, in order.
    while len(events) > 1 and events[0].startswith("event code 2200") and events[0] != wanted[0]:
        events = events[2:]
    compact = [e for i, e in enumerate(events) if i < 2 or events[i - 2:i] != events[i:i + 2]]
    c.expect_equal(compact, wanted, "input events and the code left after each")
    c.expect(not any(line.startswith("event code 2100 key 27") for line in lines),
             "Escape pressed never reaches the module")
    c.expect(bool(lines) and lines[-1] == "call shutdown ms 0 boxes 0",
             f"EV_SHUTDOWN with 0 is the last call, before any box: {lines[-1:]}")
    return c.finish()


# The remode module's sprite: 16 x 16, each pixel naming its own column (red)
# and row (green) so that a screenshot tells which source pixel shows.
REMODE_SPRITE = (400, 100)  # the whole copy, 64 x 64
REMODE_CUT = [((-24, 100), "left"), ((200, -24), "top"), ((600, 200), "right"),
              ((300, 440), "bottom")]


def remode_bitmaps(folder):
    # Tile 0 is the key colour, tile 1 dark grey.
    bmp24(folder / "tiles.bmp", 64, 32,
          lambda x, y: (255, 0, 255) if x < 32 else (40, 40, 40))
    bmp24(folder / "sprite.bmp", 16, 16, lambda x, y: (16 * x + 8, 16 * y + 8, 160))


def sprite_pixel(shot, x, y):
    """The source column and row a screenshot pixel inside a sprite shows;
    where the map shows through, the keyed pixel (0, 0)."""
    rgb = shot.at(x, y)
    if rgb is None or abs(rgb[2] - 160) > 12:
        return 0, 0
    return (rgb[0] - 8) // 16, (rgb[1] - 8) // 16


def check_cut_sprites(c, shot, label):
    """Every visible pixel of each cut sprite shows what the whole copy shows
    at the same place of the sprite, within one source pixel."""
    wx, wy = REMODE_SPRITE
    for (dx, dy), edge in REMODE_CUT:
        shown = bad = 0
        first_bad = None
        for v in range(64):
            for u in range(64):
                x, y = dx + u, dy + v
                if not (0 <= x < 640 and 0 <= y < 480):
                    continue
                got, want = sprite_pixel(shot, x, y), sprite_pixel(shot, wx + u, wy + v)
                shown += 1
                if abs(got[0] - want[0]) > 1 or abs(got[1] - want[1]) > 1:
                    bad += 1
                    first_bad = first_bad or ((x, y), got, want)
        c.expect(shown > 0 and bad == 0,
                 f"{label}: sprite cut at the {edge} edge keeps its shape "
                 f"({shown} pixels, {bad} wrong, first {first_bad})")


def case_remode(c):
    """A module that sets its mode again after loading its bitmaps, at the
    same and at another depth, shows its tiles and sprites after each; its
    stretched sprites cut at the four edges keep their shape. Wine's gdi
    renderer draws stretched blits without filtering, so pixels can be
    compared exactly."""
    shutil.copy(c.programs / "remode" / "prog.dll", c.dir)
    remode_bitmaps(c.dir)
    key = r"HKCU\Software\Wine\Direct3D"
    subprocess.run([c.state["wine"], "reg", "add", key, "/v", "renderer", "/d", "gdi", "/f"],
                   env=c.env, timeout=120, check=False)
    try:
        c.start_watcher()
        c.focus_desktop()
        c.start_host()
        scene = [((20, 20), (40, 40, 40), "a tile"), ((620, 460), (40, 40, 40), "a tile"),
                 ((REMODE_SPRITE[0] + 60, REMODE_SPRITE[1] + 60), (248, 248, 160),
                  "the whole sprite's last pixel")]
        shot = c.wait_pixels("first", scene, 30)
        c.expect_pixels(shot, scene, "first frames")
        check_cut_sprites(c, shot, "16 bits")
        c.xdo("mousemove", "630", "10")
        for letter, bpp in (("m", 16), ("n", 32)):
            c.xdo("key", letter)
            c.wait_for(lambda: f"setmode again {bpp} -> 1" in
                       (c.dir / "remode.txt").read_text(errors="replace"), 15,
                       f"the second mode of {bpp} bits is set")
            shot = c.wait_pixels(f"again{bpp}", scene, 15)
            c.expect_pixels(shot, scene, f"after a second mode of {bpp} bits")
            check_cut_sprites(c, shot, f"after a second mode of {bpp} bits")
        c.xdo("key", "Escape")
        c.expect_equal(c.wait_host(), 0, "exit code after Escape")
        c.stop_watcher()
        c.expect_equal(c.boxes(), ["Error!\tDESTROY!"], "message boxes")
    finally:
        subprocess.run([c.state["wine"], "reg", "delete", key, "/v", "renderer", "/f"],
                       env=c.env, timeout=120, check=False)
    return c.finish()



def loader_case(c, boxes, module=None, write=None):
    if module is not None:
        shutil.copy(c.programs / module / "prog.dll", c.dir)
    if write is not None:
        (c.dir / "prog.dll").write_bytes(write)
    c.start_watcher()
    c.start_host()
    c.expect_equal(c.wait_host(), 1, "exit code of a failed start")
    c.stop_watcher()
    c.expect_equal(c.boxes(), boxes, "message boxes")


def case_no_module(c):
    loader_case(c, ["Error!\tprog.dll was not found or is not a valid DLL.", "Error!\tDESTROY!"])
    return c.finish()


def case_not_a_library(c):
    loader_case(c, ["Error!\tprog.dll was not found or is not a valid DLL.", "Error!\tDESTROY!"],
                write=b"This is no library.\r\n" * 64)
    return c.finish()


def case_only_procedure(c):
    loader_case(c, ["Error!\tVProgInterface was not found in prog.dll - invalid DLL",
                    "Error!\tDESTROY!"], module="only_procedure")
    return c.finish()


def case_decorated_names(c):
    loader_case(c, ["Error!\tVProgInterface and VProgProcedure was not found in prog.dll - "
                    "invalid DLL", "Error!\tDESTROY!"], module="decorated")
    return c.finish()


def case_refused_record(c):
    loader_case(c, ["Report\tVProgInterface(&prog) failed", "Error!\tDESTROY!"], module="refuse")
    lines, _ = probe_lines(c)
    c.expect_equal(lines, ["call ms 0"], "the module hears EV_SHUTDOWN once, with 0")
    return c.finish()


def case_backend(c):
    """The backend's own checks against the real API (backend_check.cpp)."""
    c.start_watcher()
    c.focus_desktop()
    r = subprocess.run([c.state["wine"], str(c.host_dir / "backend_check.exe")], cwd=c.dir,
                       env=c.env, capture_output=True, text=True, timeout=120)
    for line in r.stdout.replace("\r", "").splitlines():
        log("   ", line)
    c.expect_equal(r.returncode, 0, "failed backend checks")
    c.stop_watcher()
    c.expect_equal(c.boxes(), [], "message boxes")
    return c.finish()


def case_imports(c):
    """vantrel.exe and the demo module need nothing but system DLLs."""
    files = [(c.state["arch"], c.host_dir / "vantrel.exe"), (c.state["arch"], c.host_dir / "prog.dll")]
    # The i686 reference build too, where it was built (the `windows` preset).
    reference = Path(c.state["source"]) / "build" / "windows"
    if c.state["arch"] != "i686" and (reference / "vantrel.exe").exists():
        files += [("i686", reference / "vantrel.exe")]
    for arch, f in files:
        out = subprocess.run([f"{arch}-w64-mingw32-objdump", "-p", str(f)], capture_output=True,
                             text=True).stdout
        dlls = {line.split(":", 1)[1].strip().lower() for line in out.splitlines()
                if "DLL Name:" in line}
        c.expect(bool(dlls) and dlls <= ALLOWED_DLLS,
                 f"{arch} {f.name} imports only system DLLs: {sorted(dlls)}")
    return c.finish()


def case_manifest(c):
    """vantrel.exe and vantrel-replay.exe carry their application manifest:
    asInvoker, every Windows version from Vista to 11, per-monitor DPI
    awareness v2 with the older dpiAware fallback; a module carries none."""
    from pe_manifest import read_manifest, settings
    programs = [c.host_dir / "vantrel.exe", c.host_dir / "vantrel-replay.exe"]
    reference = Path(c.state["source"]) / "build" / "windows"
    programs += [reference / n for n in ("vantrel.exe", "vantrel-replay.exe")
                 if c.state["arch"] != "i686" and (reference / n).exists()]
    for program in programs:
        manifest = read_manifest(program)
        if not c.expect(manifest is not None, f"{program} carries a manifest"):
            continue
        got = settings(manifest)
        c.expect_equal(got["level"], "asInvoker", f"{program.name}: execution level")
        c.expect_equal(got["dpiAwareness"], ["PerMonitorV2", "PerMonitor"],
                       f"{program.name}: DPI awareness")
        c.expect_equal(got["dpiAware"], "true/pm", f"{program.name}: older DPI awareness")
        c.expect_equal(got["versions"], ["Vista", "7", "8", "8.1", "10 and 11"],
                       f"{program.name}: supported Windows versions")
        c.expect_equal(got["name"], "Vantrel." + program.stem, f"{program.name}: identity")
    c.expect_equal(read_manifest(c.host_dir / "prog.dll"), None, "the demo module's manifest")
    return c.finish()


def check_zip(c, arch, zip_path, toolchain):
    """One distribution zip: its files, and its SDK building a module with
    plain exports, with the CMake helper and by hand."""
    import zipfile
    with zipfile.ZipFile(zip_path) as z:
        names = set(z.namelist())
        z.extractall(c.dir / arch)
    for want in ("vantrel.exe", "vantrel-replay.exe", "prog.dll", "tiles.bmp", "sprites.bmp", "README.txt", "vantrel.ini",
                 "sdk/vantrel.h", "sdk/vantrel_win32.h", "sdk/prog.def", "sdk/lib/libvantrel_scene.a",
                 "cmake/VantrelModule.cmake", "cmake/mingw-i686.cmake", "scene/sprite.cpp",
                 "example/CMakeLists.txt"):
        c.expect(f"vantrel/{want}" in names, f"{zip_path.name} holds {want}")
    root = c.dir / arch / "vantrel"
    if arch == "i686":
        # A Linux user has only the zip: its own toolchain file builds the example.
        toolchain = root / "cmake" / "mingw-i686.cmake"
    build_dir = c.dir / arch / "example-build"
    r1 = subprocess.run(["cmake", "-S", root / "example", "-B", build_dir,
                         f"-DCMAKE_TOOLCHAIN_FILE={toolchain}"], capture_output=True)
    r2 = subprocess.run(["cmake", "--build", build_dir, "-j2"], capture_output=True)
    c.expect(r1.returncode == 0 and r2.returncode == 0,
             f"{arch}: the example builds with the SDK's helper")
    plain = c.dir / arch / "plain.dll"
    r3 = subprocess.run([f"{arch}-w64-mingw32-g++", "-std=c++20", "-shared",
                         f"-I{root / 'sdk'}", "-o", plain,
                         *(root / "example" / f for f in ("demo_module.cpp", "demo_scene.cpp")),
                         root / "sdk" / "lib" / "libvantrel_scene.a", "-lwinmm", "-Wl,--kill-at",
                         "-static-libgcc", "-static-libstdc++"], capture_output=True)
    c.expect(r3.returncode == 0, f"{arch}: the example builds by hand with the scene library")
    # A module using the served Win32 calls, as the guide shows, from the zip alone.
    served = c.dir / arch / "served.dll"
    r4 = subprocess.run([f"{arch}-w64-mingw32-g++", "-std=c++20", "-shared",
                         f"-I{root / 'sdk'}", "-o", served,
                         Path(c.state["source"]) / "tests" / "e2e" / "modules" / "quit_module.cpp",
                         root / "sdk" / "lib" / "libvantrel_scene.a", "-lwinmm", "-Wl,--kill-at",
                         "-static-libgcc", "-static-libstdc++"], capture_output=True, text=True)
    c.expect(r4.returncode == 0, f"{arch}: a module using vantrel_win32.h builds from the zip: "
             f"{r4.stderr[-400:]}")
    for dll in (build_dir / "prog.dll", plain):
        out = subprocess.run([f"{arch}-w64-mingw32-objdump", "-p", str(dll)], capture_output=True,
                             text=True).stdout
        table = out.split("[Ordinal/Name Pointer] Table", 1)[-1].split("\n\n", 1)[0]
        exports = sorted(line.split("]", 1)[1].strip() for line in table.splitlines()
                         if "]" in line)
        c.expect_equal(exports, ["VProgInterface", "VProgProcedure"],
                       f"{arch}: exports of {dll.name}")


def case_dist(c):
    """The distribution zip of the build under test, and of the i686
    reference build where the `windows` preset has made one."""
    arch = c.state["arch"]
    run(["cmake", "--build", c.host_dir, "-j2", "--target", "vantrel_dist"])
    check_zip(c, arch, c.host_dir / f"vantrel-windows-{arch}.zip", c.state["toolchain"])
    src = Path(c.state["source"])
    reference = src / "build" / "windows" / "vantrel-windows-i686.zip"
    if arch != "i686" and reference.exists():
        check_zip(c, "i686", reference, src / "cmake" / "mingw-i686.cmake")
    return c.finish()


def case_replay(c):
    """The demo's regression run with the Windows build's vantrel-replay.exe
    and prog.dll: the goldens the desktop build passes hold here too."""
    for f in ("vantrel-replay.exe",) + DEMO_FILES:
        shutil.copy(c.host_dir / f, c.dir)
    replay = Path(c.state["source"]) / "modules" / "demo" / "replay"
    shutil.copy(replay / "session.script", c.dir)
    shutil.copytree(replay / "golden", c.dir / "golden")
    frames = (replay / "golden-frames.txt").read_text().strip()
    r = subprocess.run([c.state["wine"], "vantrel-replay.exe", "--golden", "golden", "--out", "out",
                        "--frames", frames, "session.script"], cwd=c.dir, env=c.env,
                       capture_output=True, text=True, timeout=600)
    for line in (r.stdout + r.stderr).replace("\r", "").splitlines():
        log("   ", line)
    c.expect_equal(r.returncode, 0, f"vantrel-replay.exe ({c.state['arch']}) exit code")
    compared = len(frames.split(","))
    c.expect(f"{compared} compared, 0 differ, 0 goldens missing" in r.stdout,
             f"every one of the {compared} golden frames compared and matched")
    c.expect("vantrel: [Error!] DESTROY!" in r.stderr, "the run ends with the DESTROY! box")
    return c.finish()


def case_replay_crash(c):
    """vantrel-replay.exe and a module that dereferences null in its fifth
    call: the crash is named by its script line, event and frame, and the
    exit code is 4."""
    shutil.copy(c.host_dir / "vantrel-replay.exe", c.dir)
    (c.dir / "crash").mkdir(exist_ok=True)
    shutil.copy(c.programs / "crash" / "prog.dll", c.dir / "crash")
    (c.dir / "crash.script").write_text("vantrel-replay 1\nframe 16 x3\nkeydown LEFT\nframe 16\n"
                                        "frame 16\n")
    r = subprocess.run([c.state["wine"], "vantrel-replay.exe", "--module", "crash/prog.dll",
                        "--out", "out", "crash.script"],
                       cwd=c.dir, env=c.env, capture_output=True, text=True, timeout=300)
    for line in (r.stdout + r.stderr).replace("\r", "").splitlines():
        log("   ", line)
    c.expect_equal(r.returncode, 4, "vantrel-replay.exe exit code after the module's crash")
    c.expect("module crashed (access violation) in the call of script line 4 (EV_FRAME, frame 0)"
             in r.stderr, "the crash is named by its call")
    return c.finish()


def case_fps(c):
    """Frames per second with a module that asks for a frame on every call.
    A figure, not a check: it only has to run and end cleanly."""
    shutil.copy(c.programs / "busy" / "prog.dll", c.dir)
    c.start_watcher()
    c.focus_desktop()
    c.start_host()
    started = c.dir / "fps-started.txt"
    c.wait_for(started.exists, 60, "the busy module's first idle turn")
    time.sleep(5)  # the measuring window, not a wait for an event
    c.xdo("key", "Escape")
    c.expect_equal(c.wait_host(), 0, "exit code after Escape")
    fps = c.dir / "fps.txt"
    if c.expect(fps.exists(), "the module wrote its count"):
        words = fps.read_text().split()
        frames, ms = int(words[1]), int(words[3])
        c.expect(frames > 0, f"frames presented: {frames}")
        if ms > 0:
            log(f"FIGURE: {frames} frames in {ms} ms = {frames * 1000.0 / ms:.1f} frames/s "
                f"({c.state['arch']} build under Wine, 640x480x16)")
    return c.finish()


# ---------------------------------------------------------------------------
# The bitmap corpus through the Windows loader
# ---------------------------------------------------------------------------
LOAD_BOX = "Error!\tImage could not be loaded and/or found"
CELL_W, CELL_H, CELL_COLUMNS, CELL_INSET = 64, 60, 10, 2  # the corpus module's grid

# Files drawn beside g/rgb24.bmp (the same picture) and the largest channel
# difference the Windows loader gives each; pixels drawn in both cells count.
CORPUS_SAME_PICTURE = [("g/rgb32.bmp", 0), ("g/rgb32bf.bmp", 0), ("g/rgb32bfdef.bmp", 0),
                       ("q/rgb32-111110.bmp", 1), ("q/rgb32-7187.bmp", 1), ("g/rgb16.bmp", 4),
                       ("g/rgb16-565.bmp", 4)]


def read_bmp24(path):
    """(width, height, pixel(x, y) -> (r, g, b)) of an uncompressed 24-bit file."""
    d = Path(path).read_bytes()
    offset = struct.unpack_from("<I", d, 10)[0]
    width, height = struct.unpack_from("<ii", d, 18)
    row = (width * 3 + 3) & ~3

    def pixel(x, y):
        i = offset + (abs(height) - 1 - y if height > 0 else y) * row + x * 3
        return d[i + 2], d[i + 1], d[i]
    return width, abs(height), pixel


def cell_rect(n, width, height):
    """Where the corpus module draws its n-th image: (x, y, w, h) on the screen."""
    box_w, box_h = CELL_W - 2 * CELL_INSET, CELL_H - 2 * CELL_INSET
    w, h = box_w, height * box_w // width
    if h > box_h:
        w, h = width * box_h // height, box_h
    return (CELL_W * (n % CELL_COLUMNS) + CELL_INSET, CELL_H * (n // CELL_COLUMNS) + CELL_INSET,
            max(w, 1), max(h, 1))


def corpus_lines(c):
    f = c.dir / "corpus-result.txt"
    if not f.exists():
        return [], b""
    raw = f.read_bytes()
    return [line for line in raw.decode("latin-1").replace("\r", "").split("\n") if line], raw


def escape_until_ended(c, timeout=30):
    """Presses Escape until the host ends (a key pressed before the host's
    window has the input is lost) and answers its exit code."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        c.xdo("key", "Escape")
        try:
            return c.host.wait(timeout=5)
        except subprocess.TimeoutExpired:
            continue
    c.expect(False, f"vantrel.exe ended after Escape (within {timeout} s)")
    c.host.kill()
    return None


def case_corpus(c):
    """Every file of the bitmap corpus added after a good tileset: the host
    answers null with one "Error!" box exactly for the files the Windows
    loader refuses (windows-accepts.txt), and draws the others."""
    corpus = Path(c.state["source"]) / "tests" / "data" / "bmpsuite"
    listed = [line.split() for line in (corpus / "windows-accepts.txt").read_text().splitlines()
              if line.strip()]
    files = [name for name, _ in listed]
    windows_accepts = {name for name, verdict in listed if verdict == "ok"}
    for name in files:
        (c.dir / name).parent.mkdir(exist_ok=True)
        shutil.copy(corpus / name, c.dir / name)
    (c.dir / "corpus.txt").write_bytes(
        "".join(name.replace("/", "\\") + "\r\n" for name in files).encode())
    shutil.copy(c.programs / "corpus" / "prog.dll", c.dir)
    shutil.copy(c.host_dir / "tiles.bmp", c.dir)

    c.start_watcher()
    c.focus_desktop()
    c.start_host()
    c.wait_for(lambda: any(line.startswith("frame drawn") for line in corpus_lines(c)[0]), 120,
               "the corpus module drew its first frame")
    # Frames keep coming: once two screenshots in a row agree, the grid
    # stands on the screen (both buffers of the chain hold it).
    shots = [c.screenshot("grid")]

    def steady():
        shots.append(c.screenshot("grid"))
        return shots[-1].data == shots[-2].data
    c.wait_for(steady, 20, "two screenshots of the grid in a row agree")
    shot = shots[-1]
    c.xdo("mousemove", "600", "20")
    c.expect_equal(escape_until_ended(c), 0, "exit code after Escape")
    c.stop_watcher()

    lines, raw = corpus_lines(c)
    c.expect(b"\r\n" in raw, "the record has CRLF line ends, as a Windows text file")
    c.expect("setmode 640 480 32 -> 1" in lines, "the 640 x 480 x 32 mode stands")
    c.expect(any(line.startswith("tileset ok ") for line in lines),
             f"the tileset loads first: {[x for x in lines if x.startswith('tileset')]}")
    answers = {}  # file -> (loaded, boxes logged once AddImage returned, size)
    for line in lines:
        words = line.split()
        if words[0] in ("ok", "null") and "boxes" in words:
            name = words[1].replace("\\", "/")
            sized = words[0] == "ok" and words[2].isdigit()
            size = (int(words[2]), int(words[3])) if sized else None
            answers[name] = (words[0] == "ok", int(words[-1]), size)
    misplaced = next((a for a, f in zip(answers, files) if a != f), None)
    c.expect(list(answers) == files, f"every corpus file added once, in order: {len(answers)} "
             f"answers, first out of place: {misplaced}")

    # One box per refused file, shown by that very call; none for the others.
    boxes_before = 0
    for name in files:
        loaded, boxes, _ = answers.get(name, (False, -1, None))
        want = boxes_before + (0 if loaded else 1)
        if boxes != want:
            c.expect(False, f"{name}: {'loaded' if loaded else 'refused'}, boxes logged {boxes}, "
                            f"want {want}")
        boxes_before = boxes
    accepted = {name for name, (loaded, _, _) in answers.items() if loaded}
    refused = [name for name in files if name not in accepted]
    boxes = c.boxes()
    c.expect(boxes == [LOAD_BOX] * len(refused) + ["Error!\tDESTROY!"],
             f"{len(refused)} load-failure boxes, then DESTROY!: got {len(boxes)} boxes, "
             f"the others: {[b for b in boxes if b != LOAD_BOX]}")
    c.expect_equal(sorted(accepted - windows_accepts), [], "loaded here, refused by Windows")
    c.expect_equal(sorted(windows_accepts - accepted), [], "accepted by Windows, refused here")
    for folder in ("g", "q", "b"):
        in_folder = [name for name in files if name.startswith(folder + "/")]
        log(f"FIGURE: {folder}/ {sum(name in accepted for name in in_folder)} of {len(in_folder)} "
            f"loaded under Wine ({c.state['arch']} build), windows-accepts.txt "
            f"{sum(name in windows_accepts for name in in_folder)}")
    c.expect(f"frame drawn {len(accepted) + 1} sprites {len(accepted) + 1}" in lines,
             f"the first frame drew the tileset and every loaded file: "
             f"{[x for x in lines if x.startswith('frame')]}")
    c.expect(bool(lines) and lines[-1] == "shutdown", f"EV_SHUTDOWN is the last call: {lines[-1:]}")

    # The pictures: g/rgb24.bmp drawn where the module says, scaled from the
    # file's own pixels; the files of the same picture drawn alike.
    cells = {}
    drawn = [name for name in files if name in accepted]
    for n, name in enumerate(drawn, start=1):
        size = answers[name][2]
        if size is not None:
            cells[name] = cell_rect(n, *size)
    if not c.expect("g/rgb24.bmp" in cells, "g/rgb24.bmp is drawn"):
        return c.finish()
    width, height, pixel = read_bmp24(corpus / "g/rgb24.bmp")
    x0, y0, w, h = cells["g/rgb24.bmp"]
    key = pixel(0, 0)
    close = total = 0
    for y in range(h):
        for x in range(w):
            # The stretch takes the source pixels around the centre of the
            # screen pixel, and may blend them: the colour shown lies within
            # their range, channel by channel.
            sx, sy = (2 * x + 1) * width // (2 * w), (2 * y + 1) * height // (2 * h)
            near = [(0, 0, 0) if p == key else p
                    for p in (pixel(i, j) for i in range(max(sx - 1, 0), min(sx + 2, width))
                              for j in range(max(sy - 1, 0), min(sy + 2, height)))]
            got = shot.at(x0 + x, y0 + y)
            total += 1
            close += got is not None and all(
                min(p[k] for p in near) - 2 <= got[k] <= max(p[k] for p in near) + 2
                for k in range(3))
    c.expect(close == total,
             f"g/rgb24.bmp drawn at ({x0}, {y0}) {w} x {h}: {close} of {total} pixels show the "
             f"file's own colours")
    for name, limit in CORPUS_SAME_PICTURE:
        if name not in cells:
            continue  # already reported as a refusal above
        x1, y1, w1, h1 = cells[name]
        if not c.expect_equal((w1, h1), (w, h), f"{name} cell size as g/rgb24.bmp's"):
            continue
        worst = differ = 0
        for y in range(h):
            for x in range(w):
                a, b = shot.at(x0 + x, y0 + y), shot.at(x1 + x, y1 + y)
                if a is None or b is None:
                    continue
                if (a == (0, 0, 0)) != (b == (0, 0, 0)):
                    differ += 1  # keyed in one only: nearby colours meet the key in 16 bits
                elif a != (0, 0, 0):
                    worst = max(worst, *(abs(p - q) for p, q in zip(a, b)))
        keyed_limit = 0 if limit == 0 else w * h // 50
        c.expect(worst <= limit and differ <= keyed_limit,
                 f"{name} beside g/rgb24.bmp: largest channel difference {worst} (at most "
                 f"{limit}), {differ} pixels keyed in one only (at most {keyed_limit})")
    return c.finish()


# ---------------------------------------------------------------------------
# A window and borderless over the soft device
# ---------------------------------------------------------------------------
WS_CAPTION, WS_POPUP = 0x00C00000, 0x80000000


def where(c):
    """(x, y, w, h, style) of the game's client area on the screen, from
    switcher.exe where; None without the game's window."""
    r = subprocess.run([c.state["wine"], str(c.programs / "switcher.exe"), "where"], cwd=c.dir,
                       env=c.env, capture_output=True, text=True, timeout=60)
    lines = r.stdout.replace("\r", "").split("\n")
    if r.returncode != 0 or len(lines) < 2:
        return None
    x, y, w, h = (int(v) for v in lines[0].split())
    return x, y, w, h, int(lines[1].split()[1], 16)


def raw_rgb(png, crop=None):
    """The pixels of a PNG file as bytes R, G, B, rows top to bottom, cut to
    crop = (x, y, w, h) when given."""
    cmd = ["convert", str(png)]
    if crop:
        x, y, w, h = crop
        cmd += ["-crop", f"{w}x{h}+{x}+{y}", "+repage"]
    return subprocess.run(cmd + ["-depth", "8", "rgb:-"], capture_output=True).stdout


def moved(table, x0, y0, scale=1.0):
    """A table of demo pixels placed at (x0, y0) and scaled."""
    return [((x0 + int(x * scale), y0 + int(y * scale)), rgb, why) for (x, y), rgb, why in table]


def switch_away(c, ms, x=0, y=560, what=""):
    """switcher.exe away MS with its window at (x, y); answers the process
    once the game has lost the foreground (or the switcher said it could not)."""
    p = subprocess.Popen([c.state["wine"], str(c.programs / "switcher.exe"), "away", str(ms),
                          str(x), str(y)], cwd=c.dir, env=c.env, stdout=subprocess.PIPE, text=True)
    c.expect_equal(p.stdout.readline().strip(), "away",
                   f"{what}the other program has the foreground")
    return p


def switched_back(c, p, what=""):
    try:
        code = p.wait(timeout=30)
    except subprocess.TimeoutExpired:
        p.kill()
        code = None
    c.expect_equal(code, 0, f"{what}the switcher gave the game the foreground back")


def case_windowed(c):
    """--windowed --scale 1 with --record: the window's client area is the
    mode, and what it shows, captured from the X screen, is pixel for pixel a
    frame the desktop's vantrel-replay makes from the recording; the Print
    Screen shot equals the replay's frame of the number the recording notes."""
    c.copy_demo()
    c.start_watcher()
    c.focus_desktop()
    c.start_host("--windowed", "--scale", "1", "--record", "session.script")
    place = None
    c.wait_for(lambda: where(c) is not None, 30, "the game's window exists")
    place = where(c)
    if not c.expect(place is not None and place[2:4] == (640, 480) and place[4] & WS_CAPTION,
                    f"a window with a title bar whose client area is 640 x 480: {place}"):
        return c.finish()
    x0, y0 = place[0], place[1]
    shot = c.wait_pixels("first", moved(DEMO_FIRST, x0, y0), 30)
    c.expect_pixels(shot, moved(DEMO_FIRST, x0, y0), "first frames in the window")
    c.xdo("mousemove", str(x0 + 300), str(y0 + 200))
    c.xdo("key", "Right")
    c.wait_pixels("right", moved([((56, 40), GRASS, "")], x0, y0), 10)
    c.xdo("key", "Print")
    c.wait_for(lambda: list(c.dir.glob("vantrel-*.png")), 10, "Print Screen wrote a PNG")
    away = switch_away(c, 5000)
    time.sleep(1.5)
    c.screenshot("away")
    switched_back(c, away)
    c.end_with_escape()
    c.expect_equal(c.boxes(), ["Error!\tDESTROY!"], "message boxes")
    if c.desktop_replay is None:
        c.expect(False, "the desktop's vantrel-replay is known (--desktop-replay)")
        return c.finish()
    # The recording, replayed by the desktop host's runner with the
    # desktop's build of the demo: every frame written.
    script = (c.dir / "session.script").read_bytes().decode("latin-1")
    r = subprocess.run([c.desktop_replay, "--module", str(Path(c.desktop_demo) / "prog.dll"),
                        "--out", "frames", "--every", "1", "session.script"], cwd=c.dir,
                       capture_output=True, text=True, timeout=600)
    log("   ", (r.stdout.strip().splitlines() or ["(no output)"])[-1])
    c.expect(r.returncode in (0, 1), f"the desktop's vantrel-replay replays the recording: "
             f"exit {r.returncode} {r.stderr.strip()[-300:]}")
    frames = sorted((c.dir / "frames").glob("frame-*.png"))
    c.expect(len(frames) > 10, f"the replay wrote its frames ({len(frames)})")
    shown = raw_rgb(c.dir / "away.png", (x0, y0, 640, 480))
    same = [f.name for f in frames if raw_rgb(f) == shown]
    c.expect(bool(same), "the window's picture while away is pixel for pixel a replayed frame"
             f" ({', '.join(same[-3:]) or 'none'})")
    import re
    noted = re.search(r"# screenshot (vantrel-\S+\.png) frame (\d+)", script)
    if c.expect(noted is not None, "the recording notes the shot and its frame"):
        own = c.dir / "frames" / f"frame-{int(noted.group(2)):06d}.png"
        c.expect(own.exists() and raw_rgb(c.dir / noted.group(1)) == raw_rgb(own),
                 f"the Print Screen shot equals the replay's frame {noted.group(2)}")
    return c.finish()


def case_no_directdraw(c):
    """Where DirectDraw cannot be had (here a ddraw.dll in the game's folder:
    one whose DirectDrawCreate fails, as on a remote desktop; one whose
    device refuses the exclusive cooperative level, as when another program
    holds the display), the default exclusive play goes on borderless over
    the soft device, says so once on the debug output, and shows no box
    until the run ends."""
    rows = [("no_ddraw", "DirectDrawCreate failed (0x887600B5)"),
            ("no_exclusive", "SetCooperativeLevel failed (0x88760245)")]
    c.copy_demo()
    c.env["WINEDLLOVERRIDES"] = c.env.get("WINEDLLOVERRIDES", "") + ";ddraw=n"
    c.env["WINEDEBUG"] = "-all,+debugstr"
    for kind, why in rows:
        shutil.copy(c.programs / kind / "ddraw.dll", c.dir)
        c.start_watcher()
        c.focus_desktop()
        with open(c.dir / f"{kind}.stderr", "w") as err:
            c.host = subprocess.Popen([c.state["wine"], "vantrel.exe"], cwd=c.dir, env=c.env,
                                      stderr=err)
            c.wait_for(lambda: where(c) is not None, 30, f"{kind}: the game's window exists")
            place = where(c)
            c.expect(place is not None and place[:4] == (0, 0, 800, 600) and place[4] & WS_POPUP,
                     f"{kind}: a borderless window over the desktop: {place}")
            picture = moved(DEMO_FIRST, 0, 0, 1.25)
            shot = c.wait_pixels(f"{kind}-first", picture, 30)
            c.expect_pixels(shot, picture, f"{kind}: the demo, borderless")
            c.end_with_escape(f"{kind}: ")
        c.expect_equal(c.boxes(), ["Error!\tDESTROY!"], f"{kind}: message boxes")
        said = [line for line in (c.dir / f"{kind}.stderr").read_text(errors="replace").splitlines()
                if "playing borderless instead" in line]
        c.expect(len(said) == 1 and why in said[0], f"{kind}: the debug output says so once: {said}")
        c.settle()
    return c.finish()


def idle_turns(script):
    """The idle turns of a recording: its frame lines, a folded run "xK"
    counting K."""
    import re
    return sum(int(m.group(1) or 1) for m in re.finditer(r"^frame \d+(?: x(\d+))?\s*$", script,
                                                         re.M))


def case_fps_cap(c):
    """--fps-cap 25 in a window: the module is called for idle turns at most
    25 times a second (the recording counts them), and still often."""
    c.copy_demo()
    c.start_watcher()
    c.focus_desktop()
    c.start_host("--windowed", "--fps-cap", "25", "--record", "session.script")
    c.wait_pixels("first", moved(DEMO_FIRST, 80, 69), 30)
    script = c.dir / "session.script"
    t0, n0 = time.time(), idle_turns(script.read_text())
    time.sleep(6)
    n1, t1 = idle_turns(script.read_text()), time.time()
    rate = (n1 - n0) / (t1 - t0)
    c.expect(10 <= rate <= 26, f"idle turns a second with --fps-cap 25: {rate:.1f}")
    c.end_with_escape()
    c.expect_equal(c.boxes(), ["Error!\tDESTROY!"], "message boxes")
    return c.finish()


def case_crash_report(c):
    """A module that dereferences null in its fifth call, run by vantrel.exe
    with --record: one box captioned "Vantrel" names the call and the
    recording and how to replay it, the process ends with the exception's
    code, and vantrel-replay.exe crashes the recording at its last line."""
    shutil.copy(c.host_dir / "vantrel-replay.exe", c.dir)
    (c.dir / "crash").mkdir(exist_ok=True)
    shutil.copy(c.programs / "crash" / "prog.dll", c.dir / "crash")
    c.start_watcher()
    c.focus_desktop()
    c.start_host("--module", "crash/prog.dll", "--record", "crash.script")
    code = c.wait_host(60)
    c.expect_equal(code, 0xC0000005 & 0xFF, "exit code: the access violation's (its low byte)")
    c.stop_watcher()
    # The box's three lines, as the watcher logs them.
    boxes = c.boxes()
    said = "\n".join(boxes)
    c.expect(len([b for b in boxes if "\t" in b]) == 1 and said.startswith("Vantrel\tvantrel: crashed (access violation) in the module's "
                             "EV_FRAME call (frame 0)")
             and "crash.script" in said and "replay it with: vantrel-replay --module" in said,
             f"one box names the call and the recording: {boxes}")
    script = (c.dir / "crash.script").read_bytes()
    c.expect(b"\r" not in script, "the recording has the desktop's line ends")
    lines = script.decode("latin-1").splitlines()
    r = subprocess.run([c.state["wine"], "vantrel-replay.exe", "--module", "crash/prog.dll",
                        "--out", "out", "crash.script"],
                       cwd=c.dir, env=c.env, capture_output=True, text=True, timeout=300)
    c.expect_equal(r.returncode, 4, "vantrel-replay.exe crashes the recording")
    c.expect(f"in the call of script line {len(lines)} (EV_FRAME" in r.stderr,
             f"at the recording's last line ({len(lines)}): {r.stderr.strip()[-200:]}")
    return c.finish()


def set_desktop(c, size):
    """The size of the prefix's virtual desktop for the next program started
    once every program has ended."""
    c.settle()
    subprocess.run([c.state["wine"], "reg", "add", r"HKCU\Software\Wine\Explorer\Desktops", "/v",
                    "Default", "/d", size, "/f"], env=c.env, capture_output=True, timeout=120)
    c.settle()


def case_borderless(c):
    """--borderless on a 1024 x 600 desktop: the 640 x 480 picture fills its
    height with the aspect kept (800 x 600 at x 112), the bars black; away and
    back the scene returns with no box; Alt+Enter makes it a window of the
    mode and back."""
    c.copy_demo()
    set_desktop(c, "1024x600")
    try:
        c.start_watcher()
        c.focus_desktop()
        c.start_host("--borderless")
        c.wait_for(lambda: where(c) is not None, 30, "the game's window exists")
        place = where(c)
        c.expect(place is not None and place[:4] == (0, 0, 1024, 600) and place[4] & WS_POPUP
                 and not place[4] & WS_CAPTION, f"a borderless window over the desktop: {place}")
        picture = moved(DEMO_FIRST, 112, 0, 1.25)
        bars = [((x, y), (0, 0, 0), "a bar") for x in (0, 50, 111, 912, 1000, 1023)
                for y in (0, 300, 599)]
        shot = c.wait_pixels("first", picture + bars, 30)
        c.expect_pixels(shot, picture, "the picture, scaled 1.25 and centred")
        c.expect_pixels(shot, bars, "the bars")
        # The pointer in mode pixels: screen (612, 375) is mode (400, 300),
        # where the demo draws its white cross.
        c.xdo("mousemove", "612", "375")
        cross = [((612, 375), (255, 255, 255), "the demo's cross under the pointer")]
        shot = c.wait_pixels("pointer", cross, 10)
        c.expect_pixels(shot, cross, "the pointer, scaled back to the mode")
        for n in (1, 2):
            away = switch_away(c, 3000, 0, 0)
            switched_back(c, away)
            shot = c.wait_pixels(f"back-{n}", picture, 20)
            c.expect_pixels(shot, picture, f"switch {n}: the scene is back")
        c.expect_equal(c.boxes(), [], "no box while switching")
        c.focus_desktop()
        c.xdo("key", "alt+Return")
        c.wait_for(lambda: (where(c) or (0,) * 5)[4] & WS_CAPTION, 10, "Alt+Enter makes a window")
        place = where(c)
        c.expect(place is not None and place[2:4] == (640, 480),
                 f"the window's client area is the mode: {place}")
        c.xdo("key", "alt+Return")
        c.wait_for(lambda: (where(c) or (0,) * 5)[2:4] == (1024, 600), 10,
                   "Alt+Enter again makes it borderless")
        c.end_with_escape()
        c.expect_equal(c.boxes(), ["Error!\tDESTROY!"], "message boxes")
        return c.finish()
    finally:
        set_desktop(c, "800x600")


def case_ini(c):
    """vantrel.ini beside vantrel.exe: a good file chooses a window; a bad
    value is named in one box and the rest of the file still counts; the
    command line wins over the file."""
    c.copy_demo()
    rows = [
        # file, command line, the box's text must name, want a window
        ("present=windowed\r\nscale=1\r\n", [], None, True),
        ("[vantrel]\r\npresent = windowed\r\nscale = huge\r\n", [], "scale", True),
        ("present=windowed\r\n", ["--borderless"], None, False),
    ]
    for n, (text, args, named, windowed) in enumerate(rows, 1):
        (c.dir / "vantrel.ini").write_bytes(text.encode())
        c.start_watcher()
        c.focus_desktop()
        c.start_host(*args)
        c.wait_for(lambda: where(c) is not None, 30, f"row {n}: the game's window exists")
        place = where(c)
        if windowed:
            c.expect(place is not None and place[2:4] == (640, 480) and place[4] & WS_CAPTION,
                     f"row {n}: a window of the mode: {place}")
        else:
            c.expect(place is not None and place[:4] == (0, 0, 800, 600)
                     and not place[4] & WS_CAPTION, f"row {n}: borderless: {place}")
        c.end_with_escape(f"row {n}: ")
        boxes = c.boxes()
        ini_boxes = [b for b in boxes if b.startswith("vantrel.ini\t")]
        if named:
            c.expect(len(ini_boxes) == 1 and named in ini_boxes[0],
                     f"row {n}: one box names '{named}': {ini_boxes}")
        else:
            c.expect_equal(ini_boxes, [], f"row {n}: no box about the file")
        c.expect(boxes and boxes[-1] == "Error!\tDESTROY!", f"row {n}: the run went on: {boxes}")
        c.settle()
def case_options(c):
    """vantrel.exe's own command line: --version, --help and a bad command
    line answer on the output they were given, with exit codes 0 and 2 and no
    box; then vantrel.ini beside the program (byte order mark, CRLF, a
    section, a relative module path) fills what the command line left, and
    its one bad line is named in one box captioned "vantrel.ini" while the
    game runs from the module the file names."""
    def run(*args):
        return subprocess.run([c.state["wine"], "vantrel.exe", *args], cwd=c.dir, env=c.env,
                              capture_output=True, timeout=60)
    c.start_watcher()
    r = run("--version")
    c.expect_equal((r.returncode, r.stdout, r.stderr), (0, b"vantrel 1.0\r\n", b""), "--version")
    r = run("--windowed", "--scale", "99")
    c.expect_equal((r.returncode, r.stdout, r.stderr),
                   (2, b"", b"vantrel: option '--scale' needs a whole number from 1 to 16, "
                    b"not '99'\r\nTry 'vantrel.exe --help' for the options.\r\n"),
                   "a bad command line")
    r = run("--help")
    c.expect(r.returncode == 0 and r.stdout.startswith(b"Usage: vantrel.exe [OPTION]...\r\n"),
             f"--help: {r.returncode} {r.stdout[:60]!r}")
    c.expect_equal(c.boxes(), [], "no box for them")
    (c.dir / "mods").mkdir()
    for f in DEMO_FILES:
        shutil.copy(c.host_dir / f, c.dir / "mods" / ("game.dll" if f == "prog.dll" else f))
    (c.dir / "vantrel.ini").write_bytes(
        b"\xef\xbb\xbf; chosen by the player\r\n[vantrel]\r\npresent=Windowed\r\n"
        b"scale = 3\r\nfps_cap=fast\r\nmodule=mods\\game.dll\r\n[other]\r\npresent=x\r\n")
    c.focus_desktop()
    c.start_host("--scale", "1")
    c.wait_for(lambda: where(c) is not None, 30, "the game's window exists")
    place = where(c)
    c.expect(place is not None and place[2:4] == (640, 480) and place[4] & WS_CAPTION,
             f"a window (file) of the mode's size (command line): {place}")
    shot = c.wait_pixels("first", moved(DEMO_FIRST, place[0], place[1]) if place else [], 30)
    c.expect_pixels(shot, moved(DEMO_FIRST, place[0], place[1]) if place else [],
                    "the demo, from the module the file names")
    c.end_with_escape()
    c.expect_equal(c.boxes(), ["vantrel.ini\tvantrel.ini line 5: fps_cap must be a whole number "
                               "from 0 to 10000, not 'fast'", "Error!\tDESTROY!"], "message boxes")
    return c.finish()


    return c.finish()


CASES = {
    "backend": case_backend,
    "imports": case_imports,
    "manifest": case_manifest,
    "demo": case_demo,
    "switch_away": case_switch_away,
    "close_request": case_close_request,
    "probe": case_probe,
    "no_module": case_no_module,
    "not_a_library": case_not_a_library,
    "only_procedure": case_only_procedure,
    "decorated_names": case_decorated_names,
    "refused_record": case_refused_record,
    "replay": case_replay,
    "replay_crash": case_replay_crash,
    "dist": case_dist,
    "fps": case_fps,
    "corpus": case_corpus,
    "remode": case_remode,
    "windowed": case_windowed,
    "borderless": case_borderless,
    "ini": case_ini,
    "no_directdraw": case_no_directdraw,
    "fps_cap": case_fps_cap,
    "options": case_options,
    "crash_report": case_crash_report,
}


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("action", choices=["choice", "setup", "case", "teardown"])
    p.add_argument("name", nargs="?", choices=sorted(CASES))
    p.add_argument("--source", default=str(Path(__file__).resolve().parents[2]))
    p.add_argument("--work")
    p.add_argument("--desktop-replay", help="the desktop's vantrel-replay, for recordings")
    p.add_argument("--desktop-demo", help="the folder of the desktop's demo module")
    p.add_argument("--expect", choices=["i686", "x86_64"],
                   help="with choice: the build the test build was configured for")
    args = p.parse_args()
    if args.action == "choice":
        return choice(args)
    if args.work is None:
        p.error(f"{args.action} needs --work")
    if args.action == "setup":
        return setup(args)
    if args.action == "teardown":
        return teardown(args)
    if args.name is None:
        p.error("case needs a name")
    case = Case(args.work, args.name)
    case.desktop_replay, case.desktop_demo = args.desktop_replay, args.desktop_demo
    return CASES[args.name](case)


if __name__ == "__main__":
    sys.exit(main())
