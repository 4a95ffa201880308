#!/usr/bin/env python3
"""Start-up benchmark: time from process start to the first frame of the main
window, beside the same for a bare window with the same imports, on an X server
of its own.

    bench/startup.py [--build DIR] [--runs N] [--software] [--against OTHER]

DIR is a configured build folder (default: <repo>/build); the program and the
bench host are built there first. OTHER is another build (of an earlier commit,
say), whose program is started in turn with the others: a change of a few tens of
milliseconds is within the spread of separate runs, less so of interleaved ones.
Prints each run and the medians; asserts nothing.

The first frame is seen from outside through the scene graph's own log: with
qt.scenegraph.general and qt.scenegraph.time.renderloop enabled, Qt reports the
GL context it creates, or that it loaded its software renderer, and then one
line per frame once that frame has been rendered and swapped. The GL render loop
may report an empty frame before it has a context, so the first frame counts
only after the context line. --software draws both with Qt Quick's software
renderer (QT_QUICK_BACKEND=software) in place of OpenGL. Each line is
timestamped as it arrives on the pipe.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BARE_WINDOW = os.path.join(ROOT, "bench", "startup_bare_window.qml")
LOG_RULES = "qt.scenegraph.general=true;qt.scenegraph.time.renderloop=true"
CONTEXT_LINES = ("GL_RENDERER", "Loading backend software")
FRAME_LINE = "Frame rendered with"
TIMEOUT = 60


def first_frame_seconds(command, env):
    """Seconds from just before the process is started until the log says the
    first real frame is on screen; the process is ended right after."""
    start = time.monotonic()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True, bufsize=1)
    try:
        have_context = False
        for line in process.stderr:
            if any(context in line for context in CONTEXT_LINES):
                have_context = True
            elif have_context and FRAME_LINE in line:
                return time.monotonic() - start
            if time.monotonic() - start > TIMEOUT:
                break
        raise RuntimeError(f"no frame from {command[0]} (status {process.poll()})")
    finally:
        process.terminate()
        try:
            process.communicate(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.communicate()


def build(build_dir, targets=("orvalith", "orvalith_qmlhost")):
    subprocess.run(["cmake", "--build", build_dir, "-j2", "--target", *targets],
                   check=True, stdout=subprocess.DEVNULL)


def report(name, times):
    ms = [t * 1000 for t in times]
    print(f"{name:<13} median {statistics.median(ms):7.1f} ms   min {min(ms):7.1f}   "
          f"max {max(ms):7.1f}   runs: " + " ".join(f"{t:.0f}" for t in ms))


def measure(build_dir, runs, software, against):
    sandbox = tempfile.mkdtemp(prefix="orvalith-bench-")
    env = dict(os.environ, QT_LOGGING_RULES=LOG_RULES,
               XDG_CONFIG_HOME=os.path.join(sandbox, "config"),
               XDG_RUNTIME_DIR=os.path.join(sandbox, "runtime"))
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    if software:
        env["QT_QUICK_BACKEND"] = "software"
    program = [os.path.join(build_dir, "bin", "orvalith")]
    bare = [os.path.join(build_dir, "bin", "orvalith_qmlhost"), BARE_WINDOW]
    commands = {"main window": program, "bare window": bare}
    if against:
        commands["other build"] = [os.path.join(against, "bin", "orvalith")]
    times = {name: [] for name in commands}
    try:
        # One unmeasured start of each fills the file system cache.
        for command in commands.values():
            first_frame_seconds(command, env)
        for _ in range(runs):  # interleaved, so that drift touches all alike
            for name, command in commands.items():
                times[name].append(first_frame_seconds(command, env))
    finally:
        shutil.rmtree(sandbox, ignore_errors=True)
    renderer = "Qt Quick's software renderer" if software else "OpenGL, Mesa llvmpipe"
    print(f"Process start to first frame, {runs} runs each (Xvfb, {renderer}):")
    for name, measured in times.items():
        report(name, measured)
    bare_median = statistics.median(times["bare window"])
    for name in commands:
        if name != "bare window":
            ratio = statistics.median(times[name]) / bare_median
            print(f"ratio of medians ({name} / bare): {ratio:.2f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--software", action="store_true",
                        help="draw with Qt Quick's software renderer, not OpenGL")
    parser.add_argument("--against", metavar="DIR",
                        help="another configured build whose program is started in turn")
    args = parser.parse_args()
    build_dir = os.path.abspath(args.build)
    against = os.path.abspath(args.against) if args.against else None
    if os.environ.get("ORVALITH_BENCH_DISPLAY") is None:
        build(build_dir)
        options = ["--software"] if args.software else []
        if against:
            build(against, ["orvalith"])
            options += ["--against", against]
        # Again, on an X server of our own, so that figures do not depend on
        # the desktop this is started from.
        command = [os.path.join(ROOT, "tests", "with-xvfb.sh"), sys.executable,
                   os.path.abspath(__file__), "--build", build_dir, "--runs", str(args.runs)]
        command += options
        env = dict(os.environ, ORVALITH_BENCH_DISPLAY="own")
        sys.exit(subprocess.run(command, env=env).returncode)
    measure(build_dir, args.runs, args.software, against)


if __name__ == "__main__":
    main()
