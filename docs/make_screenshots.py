#!/usr/bin/env python3
"""Takes the user guide's screenshots from the real program.

    docs/make_screenshots.py [--build DIR]

DIR is a configured build folder (default: <repo>/build); the program and the
picture reader are built there first. The program runs on an X server of its
own (tests/with-xvfb.sh) with fresh settings, and is worked through the same
driver as the journey test (tests/system): it opens a drawn picture of an eye
through File > Open Image, moves and sizes the circle, turns the guide line onto
the lens marks, calibrates, measures, types a reference and saves.

The PNGs it writes into docs/ are committed, unlike every other generated file,
because README.md shows them and has to show them wherever the repository is
read, without a build. They are crops at the screen's own scale, so that the
text in them stays sharp; run this again after a change that shows on screen
and commit the new pictures with it.
"""
import argparse
import math
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DOCS = os.path.join(ROOT, "docs")
sys.path.insert(0, os.path.join(ROOT, "tests", "system"))

# --- The eye -------------------------------------------------------------------------------
# A drawn eye, 2400 x 1600, in flat colours (which keep the screenshots small):
# skin, the opening between the lids, the iris with its limbus, the pupil, a
# light reflex and two marks of a toric lens on a 20 degree axis.

SIZE = (2400, 1600)
CENTRE = (1280, 830)  # of the iris; off the picture's centre, so the circle is moved
IRIS, LIMBUS, COLLARETTE, PUPIL = 330, 300, 170, 120
OPENING = (750, 380)  # half width and half height of the lids' opening
LENS_AXIS, LENS_MARK_RADIUS = 20, 255

SKIN, LID, SCLERA = (168, 118, 98), (104, 64, 56), (236, 230, 224)
LIMBUS_RING, IRIS_BODY, IRIS_INNER = (52, 78, 98), (86, 128, 150), (122, 148, 132)
PUPIL_BLACK, REFLEX, MARK = (14, 14, 18), (250, 250, 250), (25, 25, 30)


def circle_span(cx, cy, r, y):
    dy = y + 0.5 - cy
    if abs(dy) >= r:
        return None
    half = math.sqrt(r * r - dy * dy)
    return cx - half, cx + half


def lens_span(y, grow=0):
    """The lids' opening on row y: where the upper and the lower lid's arcs,
    as two large circles, overlap."""
    w, h = OPENING
    radius = (w * w + h * h) / (2 * h)
    upper = circle_span(CENTRE[0], CENTRE[1] - h + radius, radius + grow, y)
    lower = circle_span(CENTRE[0], CENTRE[1] + h - radius, radius + grow, y)
    if not upper or not lower:
        return None
    return max(upper[0], lower[0]), min(upper[1], lower[1])


def eye_row(y):
    row = bytearray(bytes(SKIN) * SIZE[0])

    def paint(span, colour, clip=None):
        if not span:
            return
        x0, x1 = span
        if clip:
            x0, x1 = max(x0, clip[0]), min(x1, clip[1])
        x0, x1 = max(0, round(x0)), min(SIZE[0], round(x1))
        if x1 > x0:
            row[3 * x0:3 * x1] = bytes(colour) * (x1 - x0)

    opening = lens_span(y)
    paint(lens_span(y, grow=16), LID)
    paint(opening, SCLERA)
    cx, cy = CENTRE
    for radius, colour in ((IRIS, LIMBUS_RING), (LIMBUS, IRIS_BODY), (COLLARETTE, IRIS_INNER),
                           (PUPIL, PUPIL_BLACK)):
        paint(circle_span(cx, cy, radius, y), colour, opening)
    for degrees in (LENS_AXIS, LENS_AXIS + 180):
        a = math.radians(degrees)
        mark = (cx + LENS_MARK_RADIUS * math.cos(a), cy - LENS_MARK_RADIUS * math.sin(a))
        paint(circle_span(*mark, 13, y), MARK, opening)
    paint(circle_span(cx + 50, cy - 55, 26, y), REFLEX, opening)
    return bytes(row)


# --- The screenshots ----------------------------------------------------------------------


def shrink(picture, factor):
    """The picture made `factor` times smaller by averaging, as an RGB shot."""
    from xdesktop import Shot
    width, height = picture.width // factor, picture.height // factor
    out = bytearray()
    n = factor * factor
    for y in range(height):
        for x in range(width):
            sums = [0, 0, 0]
            for _, _, p in picture.pixels(x * factor, y * factor, (x + 1) * factor,
                                          (y + 1) * factor):
                sums[0] += p[0]
                sums[1] += p[1]
                sums[2] += p[2]
            out += bytes((sums[0] // n, sums[1] // n, sums[2] // n))
    return Shot(width, height, bytes(out))


def along(centre, degrees, distance):
    a = math.radians(degrees)
    return centre[0] + distance * math.cos(a), centre[1] - distance * math.sin(a)


def take_screenshots(work):
    import xdesktop
    from orvalith_ui import Orvalith
    from pictures import read_picture, write_png
    from xdesktop import drag, type_text

    photo = os.path.join(work, "eye.png")
    write_png(photo, SIZE[0], SIZE[1], eye_row)
    screen = xdesktop.Screen()
    app = Orvalith(screen, None)
    app.start()
    try:
        # Opening a photo.
        app.open_image(photo)
        time.sleep(1)
        shot = app.window_shot()
        shot.save_png(os.path.join(DOCS, "open-photo.png"))
        canvas = app.canvas_for(SIZE, shot)
        scale = canvas.width / SIZE[0]
        iris = (CENTRE[0] * scale, CENTRE[1] * scale)

        def crop_canvas(name, shot):
            top = round(canvas.top - app.y)
            shot.crop(0, top, round(canvas.width), round(canvas.height)).save_png(
                os.path.join(DOCS, name))

        # Reading an angle: the circle onto the iris, sized to it with the
        # wheel, and the guide line turned onto the lens marks.
        start = (canvas.width / 2, canvas.height / 2)
        taken = (start[0] + 1, start[1])
        drag([canvas.screen(*p) for p in (start, taken, (iris[0] + 1, iris[1]))])
        xdesktop.move(*canvas.screen(iris[0] + 10, iris[1] + 10))
        for _ in range(round((128 - IRIS * scale) / 2)):
            xdesktop.xdotool("click", 5)  # one notch towards the user: 2 pixels smaller
            time.sleep(0.05)
        controls = app.panel_controls(app.window_shot())
        app.click_window(*controls["guide line"])
        arc = [along(iris, a, 190) for a in [45, 44.7] + list(range(40, LENS_AXIS - 1, -5))]
        drag([canvas.screen(*p) for p in arc])
        xdesktop.move(*canvas.screen(canvas.width - 40, canvas.height - 100))
        crop_canvas("read-angle.png", app.window_shot())

        # Calibrating on the limbus (white to white, 12 mm) and measuring the
        # pupil and the opening between the lids.
        millimetres = 12
        limbus = [(iris[0] - IRIS * scale, iris[1]), (iris[0] + IRIS * scale, iris[1])]
        app.choose("Measures", "Calibrate")
        xdesktop.click(*canvas.screen(*limbus[0]))
        time.sleep(0.2)
        xdesktop.click(*canvas.screen(*limbus[1]))
        popup = app.calibration_popup()
        app.type_reference_length(popup, millimetres)
        time.sleep(0.3)
        x, y, width, height = popup["box"]
        app.window_shot().crop(x - 60, y - 40, width + 120, height + 80).save_png(
            os.path.join(DOCS, "calibrate.png"))
        app.accept(popup)

        # The pupil's diameter across, and the lids' opening through the iris.
        pupil = [along(iris, 135, PUPIL * scale), along(iris, 315, PUPIL * scale)]
        w, h = OPENING
        radius = (w * w + h * h) / (2 * h)
        lid_x = CENTRE[0] + 200
        sagitta = math.sqrt(radius ** 2 - (lid_x - CENTRE[0]) ** 2)
        upper, lower = CENTRE[1] - h + radius - sagitta, CENTRE[1] + h - radius + sagitta
        aperture = [(lid_x * scale, upper * scale), (lid_x * scale, lower * scale)]
        for first, second in (pupil, aperture):
            app.add_measure(canvas, first, second)
        xdesktop.move(*canvas.screen(canvas.width - 40, canvas.height - 100))
        crop_canvas("measure.png", app.window_shot())

        # Saving: the reference text and the eye go into the saved picture,
        # with the watermark, at the photo's own size.
        app.click_window(*controls["reference"])
        type_text("A. Example, 2 May 2024")
        saved = os.path.join(work, "eye-measured.png")
        app.save_as(saved)
        shrink(read_picture(saved), 4).save_png(os.path.join(DOCS, "saved.png"))
    finally:
        app.stop()
        screen.close()


def main():
    if len(sys.argv) == 2 and sys.argv[1] == "--inner":
        work = tempfile.mkdtemp()
        try:
            take_screenshots(work)
        finally:
            shutil.rmtree(work, ignore_errors=True)
        return
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    subprocess.run(["cmake", "--build", build, "-j2", "--target", "orvalith",
                    "--target", "picture_pixels"], check=True, stdout=subprocess.DEVNULL)
    sandbox = tempfile.mkdtemp(prefix="orvalith-screenshots-")
    try:
        env = dict(os.environ, ORVALITH_EXE=os.path.join(build, "bin", "orvalith"),
                   XDG_CONFIG_HOME=os.path.join(sandbox, "config"), HOME=sandbox,
                   XDG_RUNTIME_DIR=os.path.join(sandbox, "runtime"),
                   LANG="en_US.UTF-8", LC_ALL="en_US.UTF-8", LANGUAGE="")
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        os.makedirs(os.path.join(sandbox, "Documents"))
        subprocess.run([os.path.join(ROOT, "tests", "with-xvfb.sh"), sys.executable,
                        os.path.abspath(__file__), "--inner"], env=env, check=True,
                       timeout=600)
    finally:
        shutil.rmtree(sandbox, ignore_errors=True)
    for name in sorted(os.listdir(DOCS)):
        if name.endswith(".png"):
            print(f"{name}: {os.path.getsize(os.path.join(DOCS, name)) // 1000} KB")


if __name__ == "__main__":
    main()
