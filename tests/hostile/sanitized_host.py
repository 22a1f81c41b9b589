"""The sanitized desktop host for the long desktop runs.

Like Host of tests/e2e/desktop_e2e.py (a copy of the host in its own folder
with prog.dll beside it, started from another folder, standard error kept),
with two additions that only the host process gets, not the X tools:

  - LD_PRELOAD: the AddressSanitizer runtime first (it must come first in the
    process), then keep_loaded (tests/hostile/keep_loaded.cpp), which keeps
    the libraries SDL unloads mapped so that leak reports can name them;
  - more sanitizer options, for instance a smaller quarantine of freed memory
    for a run whose resident size is measured.
"""
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from desktop_e2e import Host  # noqa: E402


def asan_runtime(executable):
    """The AddressSanitizer runtime the executable is linked with, or None."""
    out = subprocess.run(["ldd", executable], capture_output=True, text=True).stdout
    m = re.search(r"^\s*libasan\.so\S*\s+=>\s+(\S+)", out, re.M)
    return m.group(1) if m else None


class SanitizedHost(Host):
    def __init__(self, x, work, host, module, supp, preload=None, asan_options="", extra=()):
        # Host's own start, with the environment extended.
        self.x = x
        shutil.rmtree(work, ignore_errors=True)
        bin_dir = os.path.join(work, "bin")
        self.run_dir = os.path.join(work, "run")
        os.makedirs(bin_dir)
        os.makedirs(self.run_dir)
        exe = os.path.join(bin_dir, "vantrel")
        shutil.copy2(host, exe)
        shutil.copy2(module, os.path.join(bin_dir, "prog.dll"))
        for path in extra:
            shutil.copy2(path, bin_dir)
        env = x.env()
        env["SDL_RENDER_DRIVER"] = "software"
        env["LSAN_OPTIONS"] = ("suppressions=%s:print_suppressions=0" % os.path.abspath(supp)
                               if supp else "")
        env["ASAN_OPTIONS"] = "detect_leaks=1" + (":" + asan_options if asan_options else "")
        if preload:
            libs = [lib for lib in (asan_runtime(host), os.path.abspath(preload)) if lib]
            env["LD_PRELOAD"] = " ".join(libs)
        self.err_path = os.path.join(work, "stderr.txt")
        self.err_file = open(self.err_path, "wb")
        self.proc = subprocess.Popen([exe], cwd=self.run_dir, env=env,
                                     stdout=subprocess.DEVNULL, stderr=self.err_file)
