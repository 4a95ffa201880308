#!/usr/bin/env python3
"""Overlay painting benchmark: the page's paint procedure on a 1600 x 1000 canvas
with 72 degree numbers, the guide line, the sector and 20 measures, a circle
drag of 300 real pointer moves (one every 2 ms at most), and the same number of
moves dragging the guide line over a 6000 x 4000 photo with the magnifier on and
then off, the same number dragging one end of 20 measures over that photo, and
a burst of 100 arrow keys on a point, without and with its record being written,
and last the circle and the guide line dragged over the photo with the picture
whole (the fitted view) and at 8 screen pixels per picture pixel (the 8x view),
both figures printed, each first with the picture and the overlay's canvas
sampled linearly as they were before and then as the page samples them (pixel
for pixel); a baseline before and after these: a bare window of the page's size
with the same picture copy and a small item carried by the same pointer moves,
the frame rate that nothing drawn over the picture can beat (the test pictures
come from the build's tests/pictures folder).

    bench/overlay.py [--build DIR] [--runs N] [--strategy S] [--target T] [--software]

DIR is a configured build folder (default: <repo>/build); its test runner
(bin/tst_qml) is built there first and runs bench/overlay.qml on an X server of
its own, with settings in a throwaway folder. Each run is a process of its own.
--strategy (immediate, threaded, cooperative) and --target (image, fbo) override
the canvas's render strategy and target, to compare them with the page's choice;
--software draws with Qt Quick's software renderer in place of OpenGL.
Prints each run's figures; asserts nothing.

Figures: script = the paint handler alone; drawing = from the end of the handler
until the canvas reports its texture painted; request to drawn = from a repaint
request to that report; drag = frames per second while the circle or the
guide line is dragged, and the time between frames.
"""
import argparse
import os
import re
import shutil
import subprocess
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WITH_XVFB = os.path.join(ROOT, "tests", "with-xvfb.sh")
DOCUMENT = os.path.join(ROOT, "bench", "overlay.qml")
STRATEGIES = {"immediate": "Immediate", "threaded": "Threaded", "cooperative": "Cooperative"}
TARGETS = {"image": "Image", "fbo": "FramebufferObject"}


def document(folder, strategy, target):
    """The benchmark document, with the canvas settings overridden if asked."""
    with open(DOCUMENT, encoding="utf-8") as f:
        text = f.read()
    lines = ""
    if strategy:
        lines += "        canvas.renderStrategy: Canvas.%s\n" % STRATEGIES[strategy]
    if target:
        lines += "        canvas.renderTarget: Canvas.%s\n" % TARGETS[target]
    marker = "        id: page\n"
    assert marker in text
    path = os.path.join(folder, "overlay.qml")
    with open(path, "w", encoding="utf-8") as f:
        f.write(text.replace(marker, marker + lines, 1))
    return path


def run_once(runner, qml, home, software):
    shutil.rmtree(home, ignore_errors=True)
    os.makedirs(os.path.join(home, "config"))
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
               LANG="en_US.UTF-8", LC_ALL="en_US.UTF-8")
    if software:
        env["QT_QUICK_BACKEND"] = "software"
    out = subprocess.run([WITH_XVFB, runner, "-input", qml], env=env, capture_output=True,
                         text=True, timeout=600)
    figures = [m.group(1) for m in re.finditer(r"qml: (.*)", out.stdout)]
    failures = [line for line in out.stdout.splitlines() if line.startswith("FAIL")]
    return figures, failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--strategy", choices=sorted(STRATEGIES))
    parser.add_argument("--target", choices=sorted(TARGETS))
    parser.add_argument("--software", action="store_true",
                        help="draw with Qt Quick's software renderer, not OpenGL")
    args = parser.parse_args()

    subprocess.run(["cmake", "--build", args.build, "--target", "tst_qml", "-j2"], check=True,
                   stdout=subprocess.DEVNULL)
    runner = os.path.join(os.path.abspath(args.build), "bin", "tst_qml")
    with tempfile.TemporaryDirectory() as tmp:
        qml = document(tmp, args.strategy, args.target)
        for run in range(1, args.runs + 1):
            figures, failures = run_once(runner, qml, os.path.join(tmp, "home"), args.software)
            print("run %d" % run)
            for line in figures + failures:
                print("  " + line)


if __name__ == "__main__":
    main()
