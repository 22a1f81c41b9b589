#!/usr/bin/env python3
"""The web build's figures against their targets (scripts/bench-web.sh):

  - the reference scene's render pass in WebAssembly (Node) against the
    native vantrel_bench, in the same run: target within 2.5x of native;
  - the demo's page in headless Chromium: frames a second and frame time
    (the turn that draws, the drawing, putting the frame on the canvas):
    target 60 a second, each frame under 4 ms;
  - the demo page's files compressed with gzip: target wasm under 400 KB.

    web_figures.py --native-bench BIN --wasm-bench JS --demo DIR [--seconds N]
"""
import argparse
import gzip
import json
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "web"))
from webdriver import Browser, Server  # noqa: E402


def native_render(binary):
    out = subprocess.run([binary, "--benchmark_filter=render_pass/640x480/.*/vantrel$",
                          "--benchmark_min_time=1", "--benchmark_repetitions=5",
                          "--benchmark_report_aggregates_only=true", "--benchmark_format=json"],
                         check=True, stdout=subprocess.PIPE, text=True).stdout
    figures = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            scale = {"ns": 1, "us": 1e3, "ms": 1e6}[b["time_unit"]]
            figures[b["run_name"]] = b["real_time"] * scale
    return figures


def wasm_render(script):
    env = dict(os.environ, NODE_PATH="/usr/share/nodejs")
    out = subprocess.run(["node", script], check=True, stdout=subprocess.PIPE, text=True,
                         env=env).stdout
    return {name: v["ns_per_pass"] for name, v in json.loads(out).items()}


def page_figures(folder, seconds):
    with Server(folder) as server, Browser() as browser:
        browser.get(server.url("demo.html"))
        browser.wait_for("return typeof Module === 'object' && Module.vantrelPage &&"
                         " Module.vantrelPage.framesShown > 30", 60, "the demo's frames")
        browser.script("Module.vantrelPage.resetFigures()")
        time.sleep(seconds)
        return browser.script("return Module.vantrelPage.figures()")


def gzip_sizes(folder):
    sizes = {}
    for suffix in (".wasm", ".js", ".data", ".html"):
        data = open(os.path.join(folder, "demo" + suffix), "rb").read()
        sizes[suffix] = (len(data), len(gzip.compress(data, 9)))
    return sizes


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--native-bench", required=True)
    p.add_argument("--wasm-bench", required=True)
    p.add_argument("--demo", required=True)
    p.add_argument("--seconds", type=float, default=10)
    args = p.parse_args()

    native = native_render(args.native_bench)
    wasm = wasm_render(args.wasm_bench)
    native_again = native_render(args.native_bench)
    print("Render pass of the reference scene (640x480, %d items; median wall time a pass)"
          % 1722)
    print("%-38s %12s %12s %8s  %s" % ("", "native", "wasm", "ratio", "target 2.5x"))
    for name in sorted(wasm):
        n = min(native.get(name, float("nan")), native_again.get(name, float("nan")))
        ratio = wasm[name] / n
        print("%-38s %9.0f us %9.0f us %7.2fx  %s" % (name, n / 1e3, wasm[name] / 1e3, ratio,
                                                      "met" if ratio <= 2.5 else "MISSED"))

    f = page_figures(args.demo, args.seconds)
    fr, pr = f["frame"], f["present"]
    print("\nThe demo in headless Chromium, %gs: %d frames, %.1f a second (target 60)"
          % (args.seconds, f["frames"], f["fps"]))
    print("  frame time  median %.2f ms, mean %.2f, 95%% %.2f, worst %.2f (target: each under 4 ms)"
          % (fr["medianMs"], fr["meanMs"], fr["p95Ms"], fr["worstMs"]))
    print("  of it, putting it on the canvas: median %.2f ms, 95%% %.2f"
          % (pr["medianMs"], pr["p95Ms"]))

    print("\nThe demo's page, gzip -9:")
    for suffix, (raw, packed) in gzip_sizes(args.demo).items():
        note = " (target under 400 KB: %s)" % ("met" if packed < 400 * 1024 else "MISSED") \
            if suffix == ".wasm" else ""
        print("  demo%-6s %8d bytes, %7d compressed%s" % (suffix, raw, packed, note))
    return 0


if __name__ == "__main__":
    sys.exit(main())
