#!/usr/bin/env python3
"""Installing Vantrel as a user does, and building a module against it.

Each case works on the optimised build (--native) in a scratch folder of its
own (--work); the source tree is only read for the example's sources, which
are copied out first so nothing of ours is within the example's reach.

  install   cmake --install into a fresh prefix: the expected files, relocatable
            config files, and the installed host alone showing the demo
  example   the out-of-tree example configured with find_package against that
            prefix alone, built, its exports checked, its replay test run with
            the installed vantrel-replay, the installed host running it, and
            its Windows build with the installed toolchain file
  pkgconfig a module compiled with one plain compiler command from pkg-config
  package   the .deb and .tar.gz from CPack: control fields, dependencies and
            file list; the .deb unpacked with dpkg-deb -x and its host started

usage: install_check.py CASE --native DIR --source DIR --work DIR --e2e PATH
"""
import argparse
import importlib.util
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
import time

# Installed files every install holds, relative to the prefix.
INSTALLED = [
    "bin/vantrel",
    "bin/vantrel-replay",
    "include/vantrel/vantrel.h",
    "include/vantrel/vantrel_win32.h",
    "include/vantrel/vantrel_kit.h",
    "include/vantrel/prog.def",
    "include/vantrel/prog.map",
    "lib/libvantrel_scene.a",
    "lib/cmake/Vantrel/VantrelConfig.cmake",
    "lib/cmake/Vantrel/VantrelConfigVersion.cmake",
    "lib/cmake/Vantrel/VantrelModule.cmake",
    "lib/cmake/Vantrel/VantrelReplayTest.cmake",
    "lib/cmake/Vantrel/VantrelSdkTargets.cmake",
    "lib/cmake/Vantrel/VantrelWebGame.cmake",
    "lib/cmake/Vantrel/mingw-i686.cmake",
    "lib/pkgconfig/vantrel.pc",
    "lib/vantrel/demo/prog.dll",
    "lib/vantrel/demo/tiles.bmp",
    "lib/vantrel/demo/sprites.bmp",
    "lib/vantrel/demo/vantrel-font.bmp",
    "lib/vantrel/demo/drop.wav",
    "share/vantrel/font/vantrel-font.bmp",
    "share/vantrel/scene/sprite.cpp",
    "share/doc/vantrel/module-guide.md",
    "share/doc/vantrel/demo/demo_module.cpp",
    "share/doc/vantrel/examples/hello-module/CMakeLists.txt",
]

# Text files of the install that must not name the build machine's folders.
RELOCATABLE = [
    "lib/cmake/Vantrel/VantrelConfig.cmake",
    "lib/cmake/Vantrel/VantrelSdkTargets.cmake",
    "lib/pkgconfig/vantrel.pc",
]

# Debian control fields: (field, pattern it must match).
CONTROL = [
    ("Package", r"^vantrel$"),
    ("Version", r"^1\.\d+"),
    ("Depends", r"(^|, )libsdl2-2\.0-0( |,|$)"),
    ("Depends", r"(^|, )libsdl2-mixer-2\.0-0( |,|$)"),
    ("Depends", r"(^|, )libc6( |,|$)"),
    ("Depends", r"(^|, )libstdc\+\+6( |,|$)"),
]

# The programs and libraries of the package: none may look for libraries
# in the build machine's folders at run time.
ELF_FILES = ["bin/vantrel", "bin/vantrel-replay", "lib/vantrel/demo/prog.dll"]

MODULE_EXPORTS = ["VProgInterface", "VProgProcedure"]

# find_package(Vantrel <request>): whether the installed 1.x package answers.
VERSION_REQUESTS = [
    ("", True),
    ("1", True),
    ("1.0", True),
    ("0.9", False),  # another major version
    ("2.0", False),
    ("1.1...<2.0", False),  # a range the package is not in
]


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(*args, cwd=None, env=None, timeout=300):
    result = subprocess.run([str(a) for a in args], cwd=cwd, env=env, capture_output=True,
                            text=True, timeout=timeout)
    if result.returncode != 0:
        raise Failure("%s failed (%d):\n%s\n%s" % (" ".join(map(str, args)), result.returncode,
                                                   result.stdout[-3000:], result.stderr[-3000:]))
    return result.stdout


def clean_env():
    """The environment of a new user: no hint of our trees."""
    env = dict(os.environ)
    for name in ("CMAKE_PREFIX_PATH", "PKG_CONFIG_PATH", "LD_LIBRARY_PATH", "Vantrel_DIR",
                 "CMAKE_C_COMPILER_LAUNCHER", "CMAKE_CXX_COMPILER_LAUNCHER"):
        env.pop(name, None)
    return env


def exports(library):
    """The dynamic symbols a shared object defines."""
    out = run("nm", "-D", "--defined-only", library)
    return sorted(line.split()[-1] for line in out.splitlines() if line.strip())


def install(args, prefix):
    shutil.rmtree(prefix, ignore_errors=True)
    run("cmake", "--install", args.native, "--prefix", prefix)


def load_e2e(path):
    spec = importlib.util.spec_from_file_location("desktop_e2e", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def play(args, exe, cwd, help_first_line, log):
    """Starts `exe` from `cwd` on a private screen, as a user would: presses
    F1 and expects the module's help box, then Escape and DESTROY!, exit 0."""
    e2e = load_e2e(args.e2e)
    x = e2e.XServer(800, 600)
    env = x.env()
    env["SDL_RENDER_DRIVER"] = "software"
    err = open(log, "wb")
    proc = subprocess.Popen([exe], cwd=cwd, env=env, stdout=subprocess.DEVNULL, stderr=err)

    def stderr():
        with open(log, "rb") as f:
            return f.read().decode(errors="replace")

    def answer(caption, first_line):
        pattern = re.compile(r"^vantrel: \[%s\] %s" % (re.escape(caption), re.escape(first_line)),
                             re.M)
        e2e.wait_for(lambda: pattern.search(stderr()) or proc.poll() is not None, 20,
                     "the %r box %r" % (caption, first_line))
        check(pattern.search(stderr()), "the host ended instead:\n" + stderr())
        wid = e2e.wait_for(lambda: x.window_named(caption), 20, "the %r box" % caption)
        x.run("xdotool", "key", "--window", wid, "Return")
        e2e.wait_for(lambda: x.window_named(caption) != wid or proc.poll() is not None, 20,
                     "the %r box to close" % caption)

    try:
        e2e.wait_for(lambda: x.window_named("Release 1 pre1") or proc.poll() is not None, 20,
                     "the host window")
        check(proc.poll() is None, "the host ended at once:\n" + stderr())
        check("[Error!]" not in stderr(), "the host failed to start:\n" + stderr())
        x.run("xdotool", "key", "F1")
        answer("Report", help_first_line)
        x.run("xdotool", "key", "Escape")
        answer("Error!", "DESTROY!")
        try:
            code = proc.wait(20)
        except subprocess.TimeoutExpired:
            raise Failure("the host did not end")
        check(code == 0, "exit code %d:\n%s" % (code, stderr()))
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
        err.close()
        x.stop()


def project_version(source):
    with open(os.path.join(source, "CMakeLists.txt")) as f:
        return re.search(r"project\(Vantrel VERSION ([0-9.]+)", f.read()).group(1)


def check_version_requests(args, prefix):
    """The version file accepts what a 1.x package should and names the
    project's version."""
    probe = os.path.join(args.work, "version-probe")
    shutil.rmtree(probe, ignore_errors=True)
    os.makedirs(probe)
    with open(os.path.join(probe, "CMakeLists.txt"), "w") as f:
        f.write("cmake_minimum_required(VERSION 3.20)\nproject(probe LANGUAGES NONE)\n"
                "find_package(Vantrel ${REQUEST} QUIET)\n"
                'message(STATUS "Vantrel found=${Vantrel_FOUND} version=${Vantrel_VERSION}")\n')
    want = project_version(args.source)
    printed = run(os.path.join(prefix, "bin/vantrel"), "--version").strip()
    check(printed == "vantrel " + want, "vantrel --version says %r, the package is %s"
          % (printed, want))
    for i, (request, accepted) in enumerate(VERSION_REQUESTS):
        out = run("cmake", "-S", probe, "-B", os.path.join(probe, "b%d" % i),
                  "-DREQUEST=" + request, "-DCMAKE_PREFIX_PATH=" + prefix, env=clean_env())
        found = re.search(r"Vantrel found=(\S*) version=(\S*)", out)
        check(found, "no answer for %r:\n%s" % (request, out))
        check((found.group(1) == "1") == accepted,
              "find_package(Vantrel %s) found=%s" % (request, found.group(1)))
        if accepted:
            check(found.group(2) == want, "version %s, the project's is %s"
                  % (found.group(2), want))


def case_install(args):
    prefix = os.path.join(args.work, "prefix")
    install(args, prefix)
    check_version_requests(args, prefix)
    missing = [f for f in INSTALLED if not os.path.isfile(os.path.join(prefix, f))]
    check(not missing, "not installed: %s" % ", ".join(missing))
    check(os.access(os.path.join(prefix, "bin/vantrel"), os.X_OK), "bin/vantrel is not executable")
    check(exports(os.path.join(prefix, "lib/vantrel/demo/prog.dll")) == MODULE_EXPORTS,
          "the installed demo exports more than its entry points")
    for name in RELOCATABLE:
        with open(os.path.join(prefix, name)) as f:
            text = f.read()
        for folder in (os.path.realpath(args.native), os.path.realpath(args.source), prefix):
            check(folder not in text, "%s names %s" % (name, folder))
    # Nothing but the installed demo to find: the host is started alone from
    # an empty folder.
    empty = os.path.join(args.work, "empty")
    os.makedirs(empty, exist_ok=True)
    play(args, os.path.join(prefix, "bin/vantrel"), empty, "Vantrel demo",
         os.path.join(args.work, "demo-stderr.txt"))


def case_example(args):
    # A folder outside our tree, so no relative path from the example can
    # reach our sources or build.
    scratch = tempfile.mkdtemp(prefix="vantrel-example-")
    try:
        example_in(args, scratch)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def example_in(args, scratch):
    prefix = os.path.join(scratch, "prefix")
    install(args, prefix)
    # Moved after installing: the config files must not remember the prefix.
    moved = os.path.join(scratch, "moved-prefix")
    os.rename(prefix, moved)
    src = os.path.join(scratch, "hello-module")
    build = os.path.join(scratch, "hello-build")
    shutil.copytree(os.path.join(args.source, "examples", "hello-module"), src)
    env = clean_env()
    run("cmake", "-S", src, "-B", build, "-DCMAKE_PREFIX_PATH=" + moved,
        "-DCMAKE_BUILD_TYPE=Release", env=env)
    with open(os.path.join(build, "CMakeCache.txt")) as f:
        cache = f.read()
    check(os.path.realpath(args.source) not in cache, "the example's build reached our sources")
    check(os.path.join(moved, "lib/cmake/Vantrel") in cache, "Vantrel was not found in the prefix")
    run("cmake", "--build", build, "-j2", env=env)
    module = os.path.join(build, "hello", "prog.dll")
    check(exports(module) == MODULE_EXPORTS, "exports: %s" % exports(module))
    out = run("ctest", "--test-dir", build, "--output-on-failure", env=env)
    check(re.search(r"hello_replay \.+ +Passed", out), "the replay test did not pass:\n" + out)
    play(args, os.path.join(moved, "bin/vantrel"), os.path.dirname(module), "hello-module",
         os.path.join(args.work, "hello-stderr.txt"))

    # A colour changed in the bitmap alone reaches the module's folder with
    # the next build, and the replay test then sees it.
    bitmap = os.path.join(src, "hello.bmp")
    with open(bitmap, "rb") as f:
        data = bytearray(f.read())
    offset = int.from_bytes(data[10:14], "little")  # the pixels
    for i in range(offset, len(data)):
        data[i] ^= 0x5A
    time.sleep(1)  # a newer time stamp than the copy's, on any file system
    with open(bitmap, "wb") as f:
        f.write(data)
    run("cmake", "--build", build, "-j2", env=env)
    with open(os.path.join(build, "hello", "hello.bmp"), "rb") as f:
        check(f.read() == bytes(data), "the changed hello.bmp did not reach the module's folder")
    failed = subprocess.run(["ctest", "--test-dir", build], env=env, capture_output=True,
                            text=True, timeout=300)
    check(failed.returncode != 0, "the replay test passed against the changed bitmap")

    # The same project, cross-built for Windows with the installed toolchain
    # file: the scene library is compiled from the installed sources.
    toolchain = os.path.join(moved, "lib/cmake/Vantrel/mingw-i686.cmake")
    if shutil.which("i686-w64-mingw32-g++-win32") is None:
        print("no MinGW-w64 compiler: the Windows build of the example is not tried")
        return
    # A prefix like /usr: its include folder holds this machine's C library
    # headers, which the cross compiler must never read.
    with open(os.path.join(moved, "include", "stdint.h"), "w") as f:
        f.write('#error "a C library header of the prefix was read by the cross compiler"\n')
    build_win = os.path.join(scratch, "hello-build-win")
    run("cmake", "-S", src, "-B", build_win, "-DCMAKE_PREFIX_PATH=" + moved,
        "-DCMAKE_TOOLCHAIN_FILE=" + toolchain, "-DCMAKE_BUILD_TYPE=Release", env=env)
    run("cmake", "--build", build_win, "-j2", env=env)
    table = run("i686-w64-mingw32-objdump", "-p", os.path.join(build_win, "hello", "prog.dll"))
    names = re.findall(r"^\s+\[\s*\d+\] (\S+)$", table, re.M)
    check(sorted(names) == MODULE_EXPORTS, "Windows exports: %s" % names)


def case_pkgconfig(args):
    prefix = os.path.join(args.work, "prefix")
    install(args, prefix)
    env = clean_env()
    env["PKG_CONFIG_PATH"] = os.path.join(prefix, "lib/pkgconfig")
    flags = run("pkg-config", "--cflags", "--libs", "vantrel", env=env).split()
    check(run("pkg-config", "--modversion", "vantrel", env=env).strip().startswith("1."),
          "pkg-config names no 1.x version")
    out = os.path.join(args.work, "pc")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    # The header in both spellings a module may use.
    both = os.path.join(out, "both_includes.cpp")
    with open(both, "w") as f:
        f.write('#include "vantrel.h"\n#include <vantrel/vantrel.h>\n'
                'int32_t probe() { VMap map(2, 2, 7); return map.cells[3].value; }\n')
    example = os.path.join(args.source, "examples", "hello-module", "hello.cpp")
    module = os.path.join(out, "prog.dll")
    run("g++", "-std=c++20", "-O2", "-fPIC", "-shared", "-o", module, example, both, *flags,
        env=env)
    check(exports(module) == MODULE_EXPORTS, "exports: %s" % exports(module))


def case_package(args):
    out = os.path.join(args.work, "packages")
    shutil.rmtree(out, ignore_errors=True)
    run("cpack", "-G", "DEB;TGZ", "--config", os.path.join(args.native, "CPackConfig.cmake"),
        "-B", out, timeout=600)
    debs = [f for f in os.listdir(out) if f.endswith(".deb")]
    tgzs = [f for f in os.listdir(out) if f.endswith(".tar.gz")]
    check(len(debs) == 1 and len(tgzs) == 1, "packages made: %s" % os.listdir(out))
    deb = os.path.join(out, debs[0])

    control = run("dpkg-deb", "-f", deb)
    fields = dict(re.findall(r"^([A-Za-z-]+): (.*)$", control, re.M))
    for field, pattern in CONTROL:
        check(re.search(pattern, fields.get(field, "")), "%s: %r does not match %s"
              % (field, fields.get(field), pattern))
    arch = run("dpkg", "--print-architecture").strip()
    check(fields.get("Architecture") == arch, "Architecture: %s" % fields.get("Architecture"))
    for folder in ("/work", "/tmp", "/home", os.path.realpath(args.native)):
        check(folder not in control, "the control file names %s:\n%s" % (folder, control))

    listing = run("dpkg-deb", "-c", deb)
    paths = [line.split()[-1] for line in listing.splitlines() if line.strip()]
    files = set(p[len("./usr/"):] for p in paths if p.startswith("./usr/"))
    check(all(p.startswith("./usr/") or p == "./" for p in paths), "outside /usr:\n" + listing)
    missing = [f for f in INSTALLED if f not in files]
    check(not missing, "not in the package: %s" % ", ".join(missing))

    with tarfile.open(os.path.join(out, tgzs[0])) as tgz:
        names = set(tgz.getnames())
    top = tgzs[0][:-len(".tar.gz")]
    missing = [f for f in INSTALLED if top + "/" + f not in names]
    check(not missing, "not in the tarball: %s" % ", ".join(missing))

    root = os.path.join(args.work, "unpacked")
    shutil.rmtree(root, ignore_errors=True)
    run("dpkg-deb", "-x", deb, root)
    for name in ELF_FILES:
        dynamic = run("readelf", "-d", os.path.join(root, "usr", name))
        check(not re.search(r"\((RPATH|RUNPATH)\)", dynamic), "%s has a library path:\n%s"
              % (name, dynamic))
    empty = os.path.join(args.work, "empty")
    os.makedirs(empty, exist_ok=True)
    play(args, os.path.join(root, "usr/bin/vantrel"), empty, "Vantrel demo",
         os.path.join(args.work, "deb-stderr.txt"))


CASES = {"install": case_install, "example": case_example, "pkgconfig": case_pkgconfig,
         "package": case_package}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--native", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--e2e", required=True)
    args = parser.parse_args()
    args.work = os.path.realpath(args.work)
    if not os.path.isfile(os.path.join(args.native, "vantrel")) or \
            not os.path.isfile(os.path.join(args.native, "CPackConfig.cmake")):
        print("no native build in %s: build the native preset first "
              "(cmake --preset native && cmake --build --preset native)" % args.native)
        return 1
    os.makedirs(args.work, exist_ok=True)
    try:
        CASES[args.case](args)
    except (Failure, subprocess.TimeoutExpired) as e:
        print("FAIL: %s" % e)
        return 1
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
