#!/usr/bin/env python3
"""Prints the comparison table from one run of vantrel_bench (JSON output).

Rates are pixels (or drawn items) per second of CPU time, the median of the
repetitions when the run had several; "noise" is the larger coefficient of
variation of the two figures compared.
"""
import json
import sys


def load(path):
    with open(path) as f:
        doc = json.load(f)
    runs, cvs = {}, {}
    for b in doc["benchmarks"]:
        name = b.get("run_name", b["name"])
        kind = b.get("aggregate_name")
        if kind == "cv":
            cvs[name] = b.get("items_per_second", b.get("cpu_time", 0.0))
        elif kind == "median" or (kind is None and b.get("run_type") == "iteration"):
            if b.get("error_occurred"):
                runs[name] = {"error": b.get("error_message", "failed")}
            elif kind == "median" or name not in runs:
                runs[name] = b
    return doc.get("context", {}), runs, cvs


def rate(runs, name):
    b = runs.get(name)
    if b is None or "error" in b:
        return None
    return b.get("items_per_second")


def noise(cvs, *names):
    vals = [cvs[n] for n in names if n in cvs]
    return f"{100 * max(vals):.0f}%" if vals else "-"


def fmt(v, scale=1e9, digits=2):
    return "n/a" if v is None else f"{v / scale:.{digits}f}"


def ratio(a, b):
    return None if a is None or b is None or b == 0 else a / b


def fx(v):
    return "n/a" if v is None else f"{v:.2f}x"


def verdict(ok):
    return "-" if ok is None else ("met" if ok else "NOT MET")


def table(title, header, rows):
    print(f"\n{title}")
    widths = [max(len(str(r[i])) for r in [header] + rows) for i in range(len(header))]
    line = lambda r: "| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |"
    print(line(header))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for r in rows:
        print(line(r))


def main():
    if len(sys.argv) != 2:
        print("usage: compare.py bench.json", file=sys.stderr)
        return 2
    ctx, runs, cvs = load(sys.argv[1])
    print(f"host: {ctx.get('host_name', '?')}, {ctx.get('num_cpus', '?')} cpus, "
          f"load before the run: {ctx.get('load_before', '?')}")

    def chosen(op, bpp):
        """The loop variant the device chose for this operation and depth."""
        return ctx.get(f"blit_{op}_{bpp}bpp", "?")
    try:
        with open("/proc/loadavg") as f:
            print(f"load after the run: {f.read().strip()}")
    except OSError:
        pass

    rows = []
    for size in ("256x256", "32x32"):
        for bpp in (8, 16, 24, 32):
            base = f"keyed_copy/{size}/{bpp}bpp/"
            v, s, m = (rate(runs, base + k) for k in ("vantrel", "sdl2", "memcpy"))
            xs, xm = ratio(v, s), ratio(v, m)
            ok = None
            if bpp in (16, 32) and xs is not None:
                ok = xs >= 3 and (size != "256x256" or (xm is not None and xm >= 0.5))
            elif bpp == 24 and size == "256x256" and xm is not None:
                ok = xm >= 0.5
            pixels = int(size.split("x")[0]) ** 2
            per_blit = lambda r: "n/a" if r is None else f"{pixels / r * 1e9:.0f}"
            rows.append([size, bpp, chosen("keyed_copy", bpp), fmt(v), fmt(s), fmt(m), fx(xs), fx(xm),
                         per_blit(v), per_blit(s), noise(cvs, base + "vantrel", base + "sdl2"),
                         verdict(ok)])
    table("Keyed copy, BltFast vs SDL_BlitSurface vs memcpy of the same rows (Gpixel/s; ns per blit)",
          ["source", "bpp", "loop", "vantrel", "SDL2", "memcpy", "vs SDL2", "vs memcpy",
           "ns/blit", "SDL2 ns/blit", "noise", "target"], rows)

    rows = []
    for size in ("256x256", "32x32"):
        for bpp in (8, 16, 24, 32):
            base = f"keyed_copy/{size}/{bpp}bpp/loops_"
            cells = [fmt(rate(runs, base + v)) for v in ("portable", "sse2", "avx2", "avx512")]
            rows.append([size, bpp] + cells + [chosen("keyed_copy", bpp)])
    table("Keyed copy loops alone, by variant (Gpixel/s; n/a: not run here; chosen: the device's)",
          ["source", "bpp", "portable", "sse2", "avx2", "avx512", "chosen"], rows)

    rows = []
    for shape in ("256x256_to_320x240", "16x16_to_32x32"):
        for bpp in (8, 16, 24, 32):
            base = f"keyed_stretch/{shape}/{bpp}bpp/loops_"
            cells = [fmt(rate(runs, base + v)) for v in ("portable", "sse2", "avx2", "avx512")]
            rows.append([shape.replace("_to_", " -> "), bpp] + cells
                        + [chosen("keyed_stretch", bpp)])
    table("Keyed stretch loops alone, by variant (Gpixel/s; n/a: not run here; chosen: the "
          "device's)", ["scale", "bpp", "portable", "sse2", "avx2", "avx512", "chosen"], rows)

    rows = []
    for shape in ("256x256_to_320x240", "16x16_to_32x32"):
        for bpp in (8, 16, 24, 32):
            base = f"keyed_stretch/{shape}/{bpp}bpp/"
            v, s = rate(runs, base + "vantrel"), rate(runs, base + "sdl2")
            sdl = runs.get(base + "sdl2", {})
            xs = ratio(v, s)
            rows.append([shape.replace("_to_", " -> "), bpp, chosen("keyed_stretch", bpp), fmt(v),
                         fmt(s, digits=3)
                         if "error" not in sdl else "refused", fx(xs),
                         noise(cvs, base + "vantrel", base + "sdl2"),
                         verdict(None if xs is None else xs >= 10)])
    table("Keyed stretch, Blt vs SDL_BlitScaled (Gpixel/s)",
          ["scale", "bpp", "loop", "vantrel", "SDL2", "vs SDL2", "noise", "target"], rows)

    rows = []
    for bpp in (16, 32):
        base = f"render_pass/640x480/{bpp}bpp/"
        v, s, h = (runs.get(base + k, {}) for k in ("vantrel", "sdl2", "host_only"))
        items = v.get("drawn_items")
        vr, sr, hr = (rate(runs, base + k) for k in ("vantrel", "sdl2", "host_only"))
        frame = lambda r: "n/a" if r is None or not items else f"{items / r * 1e3:.3f}"
        xs = ratio(vr, sr)
        host_ns = None if hr is None else 1e9 / hr
        allocs = v.get("allocs_per_frame")
        rows.append([bpp, "n/a" if items is None else int(items), frame(vr), frame(sr), fx(xs),
                     "n/a" if host_ns is None else f"{host_ns:.2f}",
                     "n/a" if allocs is None else f"{allocs:g}",
                     noise(cvs, base + "vantrel", base + "sdl2"),
                     verdict(None if xs is None else xs >= 3),
                     verdict(None if host_ns is None else host_ns <= 10),
                     verdict(None if allocs is None else allocs == 0)])
    table("Render pass over the reference scene (ms per frame; host ns per drawn item; "
          "heap allocations per frame)",
          ["bpp", "items", "vantrel ms", "SDL2 ms", "vs SDL2", "host ns/item", "allocs",
           "noise", ">=3x", "<=10ns", "0 allocs"], rows)

    rows = []
    for name, what in (("present/16bpp/upload_as_rgb565", "16-bit frame copied as RGB565"),
                       ("present/16bpp/upload_converting_to_xrgb8888",
                        "16-bit frame converted to XRGB8888 (the backend's upload)"),
                       ("present/32bpp/upload_as_xrgb8888",
                        "32-bit frame copied as XRGB8888 (the backend's upload)"),
                       ("present/scale_from_rgb565", "RGB565 texture scaled to 1440x1080"),
                       ("present/scale_from_xrgb8888", "XRGB8888 texture scaled to 1440x1080")):
        r = rate(runs, name)
        rows.append([what, "n/a" if r is None else f"{640 * 480 / r * 1e3:.3f}"])
    table("Presentation of a 640x480 frame through SDL2's software path (ms per frame)",
          ["step", "ms"], rows)

    rows = []
    for name, what in (("text/set/12", "a 12-character score set anew"),
                       ("text/frame/16bpp/12", "12 characters set and drawn, 16 bpp"),
                       ("text/frame/16bpp/1000", "1000 characters set and drawn, 16 bpp"),
                       ("text/frame/32bpp/1000", "1000 characters set and drawn, 32 bpp")):
        b, r = runs.get(name, {}), rate(runs, name)
        allocs = b.get("allocs_per_frame", b.get("allocs_per_set"))
        rows.append([what, "n/a" if r is None else f"{1e9 / r:.1f}",
                     "n/a" if allocs is None else f"{allocs:.3g}",
                     verdict(None if allocs is None else allocs < 0.01)])
    table("The module kit's text with the SDK's font (ns per character; heap allocations "
          "per frame)", ["what", "ns/char", "allocs", "0 allocs"], rows)
    return 0


if __name__ == "__main__":
    sys.exit(main())
