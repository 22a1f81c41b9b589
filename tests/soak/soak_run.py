#!/usr/bin/env python3
"""A long run of the demo module on the sanitized desktop host.

The host runs on a private Xvfb screen for a bounded time while this script
sends random keys, pointer moves and clicks with xdotool (never Escape until
the end; F1's help box now and then, answered). Every ~10 s it samples the
host's resident memory (VmRSS of /proc/PID/status). At the end Escape and the
DESTROY! box end the run, and it checks:

  - the host never died and showed no box but the help;
  - exit code 0 and no sanitizer report;
  - resident memory flat after the warm-up (the first minute, or a third of
    a shorter run): the mean of the last minute is at most 20% above the
    mean of the minute after the warm-up.

The host runs with a 4 MB sanitizer quarantine (see QUARANTINE_MB) and, with
--preload, keep_loaded (see tests/hostile/sanitized_host.py).

usage: soak_run.py --host PATH --module PATH --work DIR [--supp FILE]
                   [--preload LIB] [--minutes M] [--seed S] [--kinds K,...]
The environment variable VANTREL_SOAK_MINUTES, when set, overrides --minutes.
"""
import argparse
import os
import random
import re
import signal
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from desktop_e2e import DEMO_FILES, Failure, XServer, check  # noqa: E402
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "hostile"))
from sanitized_host import SanitizedHost  # noqa: E402

SCREEN = (1280, 960)
SAMPLE_EVERY_S = 10.0
HELP_EVERY_S = 45.0
GROWTH_LIMIT = 1.20
# The sanitizer holds freed memory back in a quarantine (256 MB by default)
# to catch late uses of it; filling that would grow the resident size for
# many minutes with no fault of the host's. A small quarantine fills within
# the warm-up and still catches uses of recently freed memory.
QUARANTINE_MB = 4

# Keys the demo reacts to, and some it ignores; never Escape, and no system
# keys (Alt, F10) that could reach the window manager.
KEYS = ["Left", "Right", "Up", "Down", "h", "Prior", "Next", "plus", "minus", "KP_Add",
        "KP_Subtract", "equal", "a", "z", "space", "Return", "Tab", "1", "shift+Left"]


def resident_kb(pid):
    with open("/proc/%d/status" % pid) as f:
        m = re.search(r"^VmRSS:\s+(\d+) kB$", f.read(), re.M)
    return int(m.group(1)) if m else 0


def random_batch(rng, width, height, size, kinds=("keys", "moves", "clicks")):
    """One xdotool command line of `size` random inputs; answers its
    arguments and how many inputs of each kind it holds."""
    args, counts = [], {"keys": 0, "moves": 0, "clicks": 0}
    for _ in range(size):
        roll = rng.random()
        if "keys" not in kinds:
            roll = 0.0 if "moves" in kinds and roll < 0.6 else 0.9
        if "clicks" not in kinds and roll >= 0.80:
            roll = 0.0 if "moves" in kinds else 0.5
        if "moves" not in kinds and roll < 0.45:
            roll = 0.5 if "keys" in kinds else 0.9
        if roll < 0.45:
            args += ["mousemove", str(rng.randrange(width)), str(rng.randrange(height))]
            counts["moves"] += 1
        elif roll < 0.80:
            args += ["key", rng.choice(KEYS)]
            counts["keys"] += 1
        else:
            args += ["click", rng.choice(["1", "1", "3"])]
            counts["clicks"] += 1
    return args, counts


def boxes(host):
    return re.findall(r"^vantrel: \[([^\]]*)\] (.*)$", host.stderr(), re.M)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--module", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--supp")
    parser.add_argument("--preload", help="keep_loaded, preloaded into the host")
    parser.add_argument("--minutes", type=float, default=3.0)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--kinds", default="keys,moves,clicks",
                        help="the kinds of input to send, for narrowing a fault down")
    args = parser.parse_args()
    if args.supp:
        args.supp = os.path.abspath(args.supp)
    minutes = float(os.environ.get("VANTREL_SOAK_MINUTES", args.minutes))
    seed = args.seed if args.seed is not None else int(time.time())
    rng = random.Random(seed)
    # At the start, so a run cut short (a hang, the alarm, a killed job) can
    # still be repeated with the same input.
    print("soak: seed %d (repeat with --seed %d)" % (seed, seed), flush=True)
    run_s = minutes * 60.0
    warmup_s = min(60.0, run_s / 3.0)
    window_s = min(60.0, run_s / 3.0)  # "first minute" and "last minute"

    def on_alarm(signum, frame):
        raise Failure("the soak ran past its limit")
    signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(int(run_s) + 120)

    module_dir = os.path.dirname(os.path.abspath(args.module))
    extra = [os.path.join(module_dir, f) for f in DEMO_FILES]
    x = XServer(*SCREEN)
    host = None
    samples = []  # (seconds since start, kB)
    sent = {"keys": 0, "moves": 0, "clicks": 0, "help": 0}
    try:
        host = SanitizedHost(x, args.work, args.host, args.module, args.supp, args.preload,
                             asan_options="quarantine_size_mb=%d" % QUARANTINE_MB, extra=extra)
        host.host_window()
        start = time.monotonic()
        next_sample = 0.0
        next_help = HELP_EVERY_S
        helps_answered = 0
        while True:
            now = time.monotonic() - start
            check(host.proc.poll() is None,
                  "the host died after %.0f s with %s" % (now, host.proc.returncode))
            if now >= next_sample:
                samples.append((now, resident_kb(host.proc.pid)))
                next_sample += SAMPLE_EVERY_S
            if now >= run_s:
                break
            if now >= next_help:
                x.run("xdotool", "key", "F1")
                sent["help"] += 1
                host.answer_box("Report", "Vantrel demo", first_line_only=True)
                helps_answered += 1
                next_help += HELP_EVERY_S
                continue
            batch, counts = random_batch(rng, x.width, x.height, 20, args.kinds.split(","))
            x.run("xdotool", *batch)
            for kind, n in counts.items():
                sent[kind] += n
            shown = boxes(host)
            unexpected = [b for b in shown if b != ("Report", "Vantrel demo")]
            check(not unexpected, "unexpected box: %s" % unexpected)
            time.sleep(rng.uniform(0.02, 0.15))

        x.run("xdotool", "key", "Escape")
        host.answer_box("Error!", "DESTROY!")
        host.check_clean_exit(0)
        shown = boxes(host)
        check(shown.count(("Report", "Vantrel demo")) == helps_answered
              and len(shown) == helps_answered + 1,
              "boxes shown: %s" % shown)

        first = [kb for t, kb in samples if t < window_s]
        after = [kb for t, kb in samples if warmup_s <= t < warmup_s + window_s]
        last = [kb for t, kb in samples if t >= run_s - window_s]
        inputs = sent["keys"] + sent["moves"] + sent["clicks"] + sent["help"]
        print("soak: %.1f minutes, seed %d, %d inputs sent (%d keys, %d pointer moves, "
              "%d clicks, %d help boxes)" % (minutes, seed, inputs, sent["keys"],
                                              sent["moves"], sent["clicks"], sent["help"]))
        print("resident memory (MB): first minute %.1f, after warm-up %.1f, last minute %.1f"
              % (statistics.mean(first) / 1024, statistics.mean(after) / 1024,
                 statistics.mean(last) / 1024))
        print("samples: " + " ".join("%.0fs=%.1f" % (t, kb / 1024) for t, kb in samples))
        growth = statistics.mean(last) / statistics.mean(after)
        check(growth <= GROWTH_LIMIT,
              "resident memory grew %.0f%% after the warm-up" % (100 * (growth - 1)))
    except Failure as failure:
        print("FAIL soak: %s" % failure)
        if host is not None:
            print("--- host standard error (last 6000 characters) ---\n" + host.stderr()[-6000:])
        if samples:
            print("samples: " + " ".join("%.0fs=%.1f" % (t, kb / 1024) for t, kb in samples))
        return 1
    finally:
        signal.alarm(0)
        if host is not None:
            host.kill()
        x.stop()
    print("ok soak")
    return 0


if __name__ == "__main__":
    sys.exit(main())
