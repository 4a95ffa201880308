#!/usr/bin/env python3
"""Intake benchmark: the longest time the main window does not answer, and the
process's peak memory, while a picture comes in: 6000 x 4000 and 4000 x 3000
photos opened, copied by another program and pasted, and hostile files opened or
copied.

    bench/intake.py [--build DIR] [--cases NAME,...] [--runs N] [--bench PROGRAM]

DIR is a configured build folder (default: <repo>/build). Each case is one run of
orvalith_intake_bench (see its head) on an X server of its own, with fresh
settings, at most 6 GB of address space and 40 s; a run that passes either is
reported as such. Each case runs N times (default 3), and the runs are printed
with the median longest wait: on a machine shared with other work a single run
says little. Of the longest wait, busy_ms the window's thread spent working and
queued_ms waiting for a processor; the rest it was blocked, mostly on the render
thread. Asserts nothing. MB are 10^6 bytes.
"""
import argparse
import os
import shutil
import re
import signal
import statistics
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WITH_XVFB = os.path.join(ROOT, "tests", "with-xvfb.sh")
ADDRESS_SPACE_KB = 6 * 1024 * 1024


def jpeg_declaring(jpeg, width, height):
    """The same JPEG with its frame header claiming another size."""
    at = jpeg.index(b"\xff\xc0")
    return jpeg[:at + 5] + struct.pack(">HH", height, width) + jpeg[at + 9:]


def write_hostile_files(folder, photo_jpeg):
    with open(photo_jpeg, "rb") as f:
        photo = f.read()
    small = photo[:]
    files = {
        "bomb-65000.jpg": jpeg_declaring(small, 65000, 65000),
        "bomb-23000.jpg": jpeg_declaring(small, 23000, 23000),
        "svg-named.png": b'<svg xmlns="http://www.w3.org/2000/svg" '
                         b'width="60000" height="60000"/>\n',
        "truncated.jpg": photo[:len(photo) // 2],
    }
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    fifo = os.path.join(folder, "fifo.png")
    if not os.path.exists(fifo):
        os.mkfifo(fifo)
    device = os.path.join(folder, "zero.png")
    if not os.path.lexists(device):
        os.symlink("/dev/zero", device)


def one_run(bench, arguments):
    sandbox = tempfile.mkdtemp(prefix="orvalith-intake-bench-")
    try:
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(sandbox, "config"),
                   XDG_RUNTIME_DIR=os.path.join(sandbox, "runtime"), HOME=sandbox)
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        command = f'ulimit -v {ADDRESS_SPACE_KB}; exec "$@"'
        # A session of its own, so that a hung run goes with its X server.
        run = subprocess.Popen([WITH_XVFB, "sh", "-c", command, "sh", bench, *arguments],
                               env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               text=True, start_new_session=True)
        try:
            stdout, stderr = run.communicate(timeout=40)
        except subprocess.TimeoutExpired:
            os.killpg(run.pid, signal.SIGKILL)
            run.communicate()
            return "no answer within 40 s (hung)"
        lines = [line for line in stdout.splitlines() if line.startswith("gap_ms=")]
        if not lines:
            tail = (stderr.strip().splitlines() or ["no output"])[-1]
            return f"ended without figures (exit {run.returncode}: {tail[:100]})"
        return lines[-1]
    finally:
        shutil.rmtree(sandbox, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--cases", help="comma-separated case names (default: all)")
    parser.add_argument("--runs", type=int, default=3, help="runs of each case (default 3)")
    parser.add_argument("--bench", help="an orvalith_intake_bench built elsewhere (for "
                        "comparing versions); not rebuilt")
    args = parser.parse_args()
    build_dir = os.path.abspath(args.build)
    bench = args.bench or os.path.join(build_dir, "bin", "orvalith_intake_bench")
    if not args.bench:
        subprocess.run(["cmake", "--build", build_dir, "-j2", "--target",
                        "orvalith_intake_bench"], check=True, stdout=subprocess.DEVNULL)
    folder = os.path.join(build_dir, "bench", "intake-pictures")
    if not os.path.exists(os.path.join(folder, "photo-4000x3000.png")):
        subprocess.run([bench, "pictures", folder], check=True)
    write_hostile_files(folder, os.path.join(folder, "photo-6000x4000.jpg"))

    def picture(name):
        return os.path.join(folder, name)

    cases = {
        "open 6000x4000 JPEG": ["open", picture("photo-6000x4000.jpg")],
        "copy 6000x4000 PNG": ["clipboard", picture("photo-6000x4000.png"), "image/png"],
        "copy and paste 6000x4000 PNG": ["paste", picture("photo-6000x4000.png"), "image/png"],
        "open 4000x3000 JPEG": ["open", picture("photo-4000x3000.jpg")],
        "copy and paste 4000x3000 PNG": ["paste", picture("photo-4000x3000.png"), "image/png"],
        "copy and paste 6000x4000 JPEG": ["paste", picture("photo-6000x4000.jpg"), "image/jpeg"],
        "open JPEG declaring 65000x65000": ["open", picture("bomb-65000.jpg")],
        "open JPEG declaring 23000x23000": ["open", picture("bomb-23000.jpg")],
        "open SVG named .png": ["open", picture("svg-named.png")],
        "open real 20000x15000 PNG": ["open", picture("flat-20000x15000.png")],
        "open FIFO named .png": ["open", picture("fifo.png")],
        "open /dev/zero named .png": ["open", picture("zero.png")],
        "open truncated JPEG": ["open", picture("truncated.jpg")],
        "copy JPEG declaring 65000x65000": ["clipboard", picture("bomb-65000.jpg"), "image/jpeg"],
        "copy JPEG declaring 23000x23000": ["clipboard", picture("bomb-23000.jpg"), "image/jpeg"],
    }
    wanted = args.cases.split(",") if args.cases else list(cases)
    for name in wanted:
        results = [one_run(bench, cases[name]) for _ in range(args.runs)]
        gaps = [int(m.group(1)) for m in (re.match(r"gap_ms=(\d+)", r) for r in results) if m]
        median = f"median gap {statistics.median(gaps):.0f} ms" if gaps else "no figures"
        print(f"{name}: {median}", flush=True)
        for result in results:
            print(f"    {result}", flush=True)


if __name__ == "__main__":
    sys.exit(main())
