#!/usr/bin/env python3
"""Export benchmark: time from the window's save request to the composite
written to a file, beside the time to encode the same image alone with the same
writer, and peak memory beside the composite's size; and the same
image written as the program wrote it before (Qt's writer at quality 100, which
leaves PNG uncompressed), for the file size and time before and after.

    bench/export.py [--build DIR] [--runs N]

DIR is a configured build folder (default: <repo>/build); the bench program is
built there first. Every case runs in a process of its own on an X server of its
own, for 4000 x 3000 and 6000 x 4000 pictures, as PNG and as JPEG. Prints each
run and the medians; asserts nothing.

Columns: capture = request until the window hands the image over (switching to
the capture look, rendering at the picture's size, reading it back); write =
encoding and writing the file; total = both; encode alone = the same image and
writer without the window; ratio = total / encode alone; peak = the process's
resident high-water mark during the export, against its size just before;
as before = write time and file size with the earlier writer settings.
Each size is also captured once more with the overlay switched off: the capture
time against it is the cost of drawing the overlay at the picture's resolution
(the earlier capture enlarged the on-screen drawing, which cost next to nothing).
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WITH_XVFB = os.path.join(ROOT, "tests", "with-xvfb.sh")
CASES = [(4000, 3000, "png"), (4000, 3000, "jpg"), (6000, 4000, "png"), (6000, 4000, "jpg")]
FIGURES = {
    "capture": r"capture\s+(\d+) ms",
    "total": r"total\s+(\d+) ms",
    "encode": r"encode alone\s+(\d+) ms",
    "peak": r"peak\s+(\d+) MB",
    "file": r"\| file\s+([\d.]+) MB",
    "before_write": r"as before: write\s+(\d+) ms",
    "before_file": r"as before: .*file\s+([\d.]+) MB",
}


def build(build_dir):
    subprocess.run(["cmake", "--build", build_dir, "-j2", "--target", "orvalith_export_bench"],
                   check=True, stdout=subprocess.DEVNULL)


def run_case(program, width, height, fmt, *extra):
    sandbox = tempfile.mkdtemp(prefix="orvalith-export-bench-")
    try:
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(sandbox, "config"),
                   XDG_RUNTIME_DIR=os.path.join(sandbox, "runtime"), HOME=sandbox,
                   TMPDIR=sandbox)
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        done = subprocess.run([WITH_XVFB, program, str(width), str(height), fmt, *extra], env=env,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                              timeout=600)
        if done.returncode != 0:
            raise RuntimeError(f"{width}x{height} {fmt} failed: {done.stderr.strip()}")
        return done.stdout.strip()
    finally:
        shutil.rmtree(sandbox, ignore_errors=True)


def figures(line):
    return {name: float(re.search(pattern, line).group(1)) for name, pattern in FIGURES.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    build(args.build)
    program = os.path.join(args.build, "bin", "orvalith_export_bench")
    for width, height, fmt in CASES:
        runs = []
        for _ in range(args.runs):
            line = run_case(program, width, height, fmt)
            print(line, flush=True)
            runs.append(figures(line))
        median = {name: statistics.median(run[name] for run in runs) for name in FIGURES}
        print(f"  median {width}x{height} {fmt}: capture {median['capture']:.0f} ms, "
              f"total {median['total']:.0f} ms, encode alone {median['encode']:.0f} ms, "
              f"ratio {median['total'] / max(1, median['encode']):.2f}, "
              f"peak {median['peak']:.0f} MB | file {median['file']:.1f} MB in "
              f"{median['encode']:.0f} ms, as before {median['before_file']:.1f} MB in "
              f"{median['before_write']:.0f} ms", flush=True)
        if fmt == "png":
            bare = [figures(run_case(program, width, height, fmt, "no-overlay"))["capture"]
                    for _ in range(args.runs)]
            print(f"  overlay at {width}x{height}: capture {median['capture']:.0f} ms with it, "
                  f"{statistics.median(bare):.0f} ms without it", flush=True)
        print(flush=True)


if __name__ == "__main__":
    main()
