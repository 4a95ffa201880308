#!/usr/bin/env python3
"""Memory benchmark: the real program's resident memory with a 6000 x 4000 JPEG
opened, beside the size of the decoded picture (6000 x 4000 x 4 bytes = 96 MB).

    bench/memory.py [--build DIR] [--runs N] [--picture FILE] [--software]

DIR is a configured build folder (default: <repo>/build); the program and the
test-picture writer are built there first. Each run starts the program on an X
server of its own with fresh settings, opens the file dialog with Ctrl+O (File,
"Open Image"), types the picture's path into it and waits until the resident size
settles. Prints, per run, the resident size before opening, after opening, the
peak (VmHWM from /proc/<pid>/status) and the peak as a multiple of the decoded
picture, then the medians; asserts nothing. MB are 10^6 bytes.

Under Xvfb, OpenGL is Mesa's llvmpipe, which keeps its own copy of every texture
in the process (a GPU keeps it in video memory). --software renders with Qt
Quick's software back end instead (QT_QUICK_BACKEND=software), which has no GL
at all: the difference between the two shows what the GL driver costs.
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
WITH_XVFB = os.path.join(ROOT, "tests", "with-xvfb.sh")
MB = 1000 * 1000


def status_kb(pid, field):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    raise RuntimeError(f"no {field} for process {pid}")


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True,
                          text=True).stdout.strip()


def wait_for_window(pid, timeout=60):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                               capture_output=True, text=True).stdout.split()
        if found:
            return found
        time.sleep(0.2)
    raise RuntimeError("the window did not appear")


def settle(pid, quiet=1.5, timeout=60):
    """Waits until the resident size has not moved by more than 1 MB for `quiet` s."""
    deadline = time.monotonic() + timeout
    last, since = status_kb(pid, "VmRSS"), time.monotonic()
    while time.monotonic() < deadline:
        time.sleep(0.1)
        now = status_kb(pid, "VmRSS")
        if abs(now - last) > 1000:
            last, since = now, time.monotonic()
        elif time.monotonic() - since >= quiet:
            return now
    return last


def open_through_dialog(pid, window, picture):
    xdotool("windowfocus", "--sync", window)
    xdotool("key", "ctrl+o")
    deadline = time.monotonic() + 30
    dialogs = []
    while not dialogs and time.monotonic() < deadline:
        time.sleep(0.2)
        dialogs = [w for w in wait_for_window(pid) if w != window]
    if not dialogs:
        raise RuntimeError("the file dialog did not appear")
    xdotool("windowfocus", "--sync", dialogs[-1])
    xdotool("type", "--delay", "2", picture)
    xdotool("key", "Return")


def inner(program, picture):
    """Runs inside the X server of with-xvfb.sh: one measured run."""
    process = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        windows = wait_for_window(process.pid)
        before = settle(process.pid)
        open_through_dialog(process.pid, windows[0], picture)
        after = settle(process.pid, quiet=2.0)
        peak = status_kb(process.pid, "VmHWM")
        print(f"before {before * 1000 // MB} MB, after {after * 1000 // MB} MB, "
              f"peak {peak * 1000 // MB} MB", flush=True)
    finally:
        process.terminate()
        process.wait(timeout=20)


def one_run(build_dir, picture, software):
    sandbox = tempfile.mkdtemp(prefix="orvalith-memory-bench-")
    try:
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(sandbox, "config"),
                   XDG_RUNTIME_DIR=os.path.join(sandbox, "runtime"), HOME=sandbox)
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        os.makedirs(os.path.join(sandbox, "Documents"))
        if software:
            env["QT_QUICK_BACKEND"] = "software"
        done = subprocess.run([WITH_XVFB, sys.executable, os.path.abspath(__file__), "--inner",
                               os.path.join(build_dir, "bin", "orvalith"), picture],
                              env=env, capture_output=True, text=True, timeout=300)
        if done.returncode != 0:
            raise RuntimeError(done.stderr.strip())
        line = done.stdout.strip().splitlines()[-1]
        return {key: int(value.split()[0]) for key, value in
                (part.split(" ", 1) for part in line.split(", "))}
    finally:
        shutil.rmtree(sandbox, ignore_errors=True)


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--inner":
        inner(sys.argv[2], sys.argv[3])
        return
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--picture", help="a 6000 x 4000 JPEG (default: the test picture)")
    parser.add_argument("--software", action="store_true",
                        help="render with Qt Quick's software back end, without OpenGL")
    args = parser.parse_args()
    build_dir = os.path.abspath(args.build)
    subprocess.run(["cmake", "--build", build_dir, "-j2", "--target", "orvalith",
                    "--target", "test_pictures"], check=True, stdout=subprocess.DEVNULL)
    picture = args.picture or os.path.join(build_dir, "tests", "pictures", "photo-6000x4000.jpg")
    decoded = 6000 * 4000 * 4 // MB
    runs = []
    for _ in range(args.runs):
        run = one_run(build_dir, os.path.abspath(picture), args.software)
        runs.append(run)
        print(f"before {run['before']} MB, after {run['after']} MB, peak {run['peak']} MB "
              f"= {run['peak'] / decoded:.2f} x the decoded picture ({decoded} MB)", flush=True)
    median = {key: statistics.median(run[key] for run in runs) for key in runs[0]}
    print(f"median: before {median['before']:.0f} MB, after {median['after']:.0f} MB, "
          f"peak {median['peak']:.0f} MB = {median['peak'] / decoded:.2f} x {decoded} MB; "
          f"the picture adds {median['after'] - median['before']:.0f} MB")


if __name__ == "__main__":
    main()
