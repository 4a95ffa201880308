#!/usr/bin/env python3
"""A clinician's whole session with the real program, driven from outside with
real X input: open a photo through File > Open Image, move the circle, show the
guide line and the sector and turn the line, calibrate, place two measures,
type a reference, save through File > Save as and print to a PDF; then read the
saved picture and the printed page back and check that they hold the picture
at its own resolution with everything drawn where it was placed on screen.

Two shorter sessions paste the picture from the clipboard instead (as pixels,
and as a copied file path), and export with no picture and with a picture that
has transparent parts: where nothing covers the drawing area, the saved
picture is transparent.
"""
import math
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import xdesktop  # noqa: E402
from orvalith_ui import Orvalith, fit  # noqa: E402
from pictures import pdf_info, pdf_page_count, read_pdf_page, read_picture, write_png  # noqa: E402
from xdesktop import ClipboardOffer, drag, key, type_text, wait_until  # noqa: E402


# --- Colours -----------------------------------------------------------------------------
# The overlay's default colours, recognised by which channels stand out; lines
# one screen pixel wide are enlarged and smoothed in the saved picture, so
# their pixels are mixed with the picture beneath.


def is_white(p):
    return min(p[:3]) >= 180


def is_yellow(p):
    return p[0] - p[2] >= 100 and p[1] - p[2] >= 100 and abs(p[0] - p[1]) <= 60


def is_magenta(p):
    return p[0] - p[1] >= 90 and p[2] - p[1] >= 90 and abs(p[0] - p[2]) <= 60


def is_cyan(p):
    return p[1] - p[0] >= 90 and p[2] - p[0] >= 90 and abs(p[1] - p[2]) <= 60


def is_red(p):
    return p[0] - p[1] >= 90 and p[0] - p[2] >= 90


def close_to(colour, tolerance):
    return lambda p: max(abs(p[i] - colour[i]) for i in range(3)) <= tolerance


# --- Test pictures -----------------------------------------------------------------------


class PhotoPicture:
    """3000 x 2000: four dark quadrants, so that every overlay colour stands
    out, and a patch of one-pixel checks that survives only if the picture
    is drawn at full resolution."""

    size = (3000, 2000)
    quadrants = ((30, 70, 40), (40, 40, 110), (100, 50, 30), (60, 60, 60))
    checks = (760, 410, 1030, 620)  # x0, y0, x1, y1
    check_colours = ((0, 0, 0), (170, 170, 170))

    def colour(self, x, y):
        x0, y0, x1, y1 = self.checks
        if x0 <= x < x1 and y0 <= y < y1:
            return self.check_colours[(x + y) % 2]
        w, h = self.size
        return self.quadrants[(2 if y >= h // 2 else 0) + (1 if x >= w // 2 else 0)]

    def write(self, path):
        w, h = self.size
        x0, y0, x1, y1 = self.checks
        dark, light = (bytes(c) for c in self.check_colours)
        even = (dark + light) * ((x1 - x0) // 2)
        odd = (light + dark) * ((x1 - x0) // 2)

        def row(y):
            top = 0 if y < h // 2 else 2
            left, right = (bytes(self.quadrants[top + i]) for i in (0, 1))
            line = left * (w // 2) + right * (w - w // 2)
            if y0 <= y < y1:
                line = line[:3 * x0] + (even if (x0 + y) % 2 == 0 else odd) + line[3 * x1:]
            return line

        write_png(path, w, h, row)


def write_halves(path, size, top, bottom, alpha=False):
    """A picture whose upper half has one colour and lower half another (with
    alpha: left half transparent, right half the top colour, opaque)."""
    w, h = size
    if alpha:
        clear, solid = bytes(4), bytes(top) + b"\xff"

        def row(y):
            return clear * (w // 2) + solid * (w - w // 2)
    else:
        def row(y):
            return bytes(top if y < h // 2 else bottom) * w
    write_png(path, w, h, row, alpha)


# --- Looking at saved pictures ------------------------------------------------------------


def near(picture, x, y, radius, test):
    """Whether some pixel within `radius` of (x, y) passes the test."""
    return any(test(p) for _, _, p in picture.pixels(x - radius, y - radius,
                                                     x + radius + 1, y + radius + 1))


def bounding_box(picture, box, test):
    """(x0, y0, x1, y1) of the pixels in box that pass, or None; and their count."""
    found, count = None, 0
    for x, y, p in picture.pixels(*box):
        if test(p):
            count += 1
            found = (x, y, x, y) if found is None else (
                min(found[0], x), min(found[1], y), max(found[2], x), max(found[3], y))
    return found, count


def share(picture, box, test, step=1):
    total = passed = 0
    for _, _, p in picture.pixels(*box, step=step):
        total += 1
        passed += bool(test(p))
    return passed / total


def along(centre, degrees, distance):
    """The point `distance` from centre at a user angle (counter-clockwise
    from the right, as the overlay's numbers run)."""
    a = math.radians(degrees)
    return centre[0] + distance * math.cos(a), centre[1] - distance * math.sin(a)


# --- The sessions ----------------------------------------------------------------------------


class Session(unittest.TestCase):
    def setUp(self):
        # Screenshots of each step and the files written go to a folder of the
        # test's own, in the sandbox when there is one.
        sandbox = os.environ.get("ORVALITH_SANDBOX") or tempfile.mkdtemp()
        self.folder = os.path.join(sandbox, self._testMethodName)
        os.makedirs(self.folder, exist_ok=True)
        self.files = self.folder
        self.screen = xdesktop.Screen()
        self.addCleanup(self.screen.close)
        self.app = Orvalith(self.screen, self.folder)
        self.addCleanup(self.report_program_messages)
        self.addCleanup(self.app.stop)

    def report_program_messages(self):
        """What the program printed, for whoever reads a failed run's output."""
        if self.app.process:
            messages = self.app.program_messages().strip()
            self.app.messages.close()
            if messages:
                print(f"--- the program's messages:\n{messages}", file=sys.stderr)

    def path(self, name):
        return os.path.join(self.files, name)

    def offer_clipboard(self, data, target):
        """Offers data on the clipboard and returns once the program has heard of
        it: Paste image, first turned off by plain words on the clipboard, is on."""
        words = ClipboardOffer(b"no picture here", "UTF8_STRING")
        self.addCleanup(words.stop)
        wait_until("Paste image to go off for plain words",
                   lambda: not self.app.entry_enabled("Edit", "Paste image"), 60)
        offer = ClipboardOffer(data, target)
        self.addCleanup(offer.stop)
        wait_until("the clipboard offer", lambda: target in xdesktop.clipboard_targets(), 10)
        wait_until("Paste image to come on for the offer",
                   lambda: self.app.entry_enabled("Edit", "Paste image"), 60)
        return offer

    def wait_for_picture(self, size):
        """The canvas, once the drawing area has taken the picture's proportions."""
        expected = fit(size, self.app.image_area[2:])

        def fitted():
            shot = self.app.window_shot()
            _, _, w, h = self.app.drawing_area(shot)
            return shot if abs(w - expected[0]) <= 1.5 and abs(h - expected[1]) <= 1.5 else None

        shot = wait_until("the picture to be shown fitted", fitted, timeout=20)
        return self.app.canvas_for(size, shot), shot

    def assert_centred(self, shot):
        """The drawing area lies in the middle of the image area."""
        x, y, w, h = self.app.drawing_area(shot)
        ax, ay, aw, ah = self.app.image_area
        self.assertAlmostEqual(x - ax, ax + aw - (x + w), delta=1.5)
        self.assertAlmostEqual(y - ay, ay + ah - (y + h), delta=1.5)

    def circle_centre(self, canvas, shot, near, radius):
        """The centre of the circle on screen, in canvas pixels, from the cross's
        two-pixel lines inside the circle around a point near it."""
        def window(x, y):
            return round(canvas.left + x - self.app.x), round(canvas.top + y - self.app.y)

        column = [y for y in range(int(near[1] - radius / 2), int(near[1] + radius / 2))
                  if is_white(shot.pixel(*window(near[0] + radius / 2, y)))]
        row = [x for x in range(int(near[0] - radius / 2), int(near[0] + radius / 2))
               if is_white(shot.pixel(*window(x, near[1] + radius / 2)))]
        self.assertTrue(column and row, f"no cross inside the circle near {near}")
        # A line two pixels wide drawn along y covers rows y - 1 and y.
        return sum(row) / len(row) + 0.5, sum(column) / len(column) + 0.5

    def assert_shows(self, picture, size, colours, tolerance):
        """The saved picture has the picture's size and its colours where the
        given points, as fractions of the size, say; each is judged on a small
        block, most of which must match."""
        self.assertEqual(picture.size, size)
        for (fx, fy), colour in colours:
            x, y = fx * size[0], fy * size[1]
            match = share(picture, (x - 10, y - 10, x + 10, y + 10),
                          close_to(colour, tolerance))
            self.assertGreater(match, 0.7, f"colour {colour} expected around {x:.0f},{y:.0f}")


class PhotoJourney(Session):
    def test_open_measure_save_and_print(self):
        photo = PhotoPicture()
        photo_path = self.path("eye-photo.png")
        photo.write(photo_path)
        self.app.start()

        # File > Open Image, and the real file dialog.
        self.app.open_image(photo_path)
        canvas, shot = self.wait_for_picture(photo.size)
        self.assert_centred(shot)

        # Drag the circle from inside it: the first move of a drag takes the
        # circle, from then on it follows the pointer. A quick drag of a few
        # pointer events: the page keeps the pointer's last place in whole
        # pixels, and while the drawing area starts between two pixel rows (as
        # it does for this picture) each event moves the circle by the dropped
        # fraction too, so a slow drag makes it creep downwards.
        start = (canvas.width / 2, canvas.height / 2)
        press = (start[0] + 20, start[1] + 20)
        taken = (press[0] + 1, press[1])
        end = (press[0] + 150, press[1] - 30)
        middle = ((taken[0] + end[0]) / 2, (taken[1] + end[1]) / 2)
        drag([canvas.screen(*p) for p in (press, taken, middle, end)])
        moved = (start[0] + end[0] - taken[0], start[1] + end[1] - taken[1])
        centre = self.circle_centre(canvas, self.app.window_shot("circle-moved"), moved, 128)
        self.assertAlmostEqual(centre[0], moved[0], delta=1.6)
        self.assertAlmostEqual(centre[1], moved[1], delta=1.6)

        # Guide line and sector on; then turn the line from 45 to 120 degrees by
        # dragging it far out along its direction.
        controls = self.app.panel_controls(self.app.window_shot("before-switches"))
        self.app.click_window(*controls["guide line"])
        self.app.click_window(*controls["sector"])
        self.app.window_shot("switches-on")
        arc = [along(centre, a, 200) for a in [45, 45.3] + list(range(50, 121, 5))]
        drag([canvas.screen(*p) for p in arc])

        # Calibrate over 300 pixels as 30 units, then two measures.
        self.app.calibrate(canvas, (100, 450), (400, 450), 30)
        measures = [((150, 470), (350, 470)), ((650, 330), (650, 480))]
        for first, second in measures:
            self.app.add_measure(canvas, first, second)
        self.app.click_window(*controls["reference"])
        type_text("Journey 42")
        self.app.window_shot("ready-to-save")

        saved = self.path("composite.png")
        self.app.save_as(saved)
        composite = read_picture(saved)
        self.assertEqual(composite.size, photo.size, "the composite has the picture's size")
        scale = photo.size[0] / canvas.width
        layout = Layout(canvas, scale, centre, radius=128)
        self.check_picture(composite, photo, layout)
        self.check_overlay(composite, layout)
        self.check_measures(composite, layout, measures, calibration=((100, 450), (400, 450)))
        self.check_labels(composite, photo, layout)

        # The same composite, printed to a PDF file through the print dialog.
        printed = self.path("printed.pdf")
        self.app.print_to_pdf(printed)
        self.check_printed_page(printed, composite)
        self.assertEqual(pdf_info(printed, "Title"), "Orvalith - Journey 42",
                         "the print job is not named after the program and the reference")

    # Each check looks at the saved picture in picture pixels: a point of the
    # canvas on screen is at `scale` times its coordinates.

    def check_picture(self, composite, photo, layout):
        # The picture's own colours wherever the overlay leaves it uncovered.
        grid = [(x, y) for x in range(25, photo.size[0], 50) for y in range(25, photo.size[1], 50)]
        matching = sum(close_to(photo.colour(x, y), 8)(composite.pixel(x, y)) for x, y in grid)
        self.assertGreater(matching / len(grid), 0.85, "the picture is not in the composite")
        # In its place to the pixel: the quadrants meet at its middle (on all
        # but a line or two that the overlay crosses there).
        w, h = photo.size

        def meet(first, second, at_first, at_second):
            return (close_to(photo.colour(*at_first), 8)(composite.pixel(*first))
                    and close_to(photo.colour(*at_second), 8)(composite.pixel(*second)))

        rows, columns = range(60, h // 2, 60), range(100, w, 200)
        across = sum(meet((w // 2 - 3, y), (w // 2 + 2, y), (0, y), (w - 1, y)) for y in rows)
        down = sum(meet((x, h // 2 - 3), (x, h // 2 + 2), (x, 0), (x, h - 1)) for x in columns)
        self.assertGreater(across / len(rows), 0.7, "the picture's halves meet elsewhere")
        self.assertGreater(down / len(columns), 0.7, "the picture's halves meet elsewhere")
        # One-pixel checks stay sharp: the picture is drawn from the file's
        # own pixels, not from the smaller copy shown on screen.
        x0, y0, x1, y1 = photo.checks
        contrast = total = 0
        for x, y, p in composite.pixels(x0 + 4, y0 + 4, x1 - 5, y1 - 4, step=3):
            total += 1
            contrast += abs(p[0] - composite.pixel(x + 1, y)[0]) >= 120
        self.assertGreater(contrast / total, 0.85, "the picture is not at full resolution")

    def check_overlay(self, composite, layout):
        s, (cx, cy), r = layout.scale, layout.centre, layout.radius
        # The cross runs through the centre where the drag left it: inside the
        # circle, off the other lines, the whitest column and row are there.
        for dy in (-0.5 * r, 0.55 * r):
            y = (cy + dy) * s
            xs = [x for x, _, p in composite.pixels((cx - 12) * s, y, (cx + 12) * s, y + 1)
                  if is_white(p)]
            self.assertTrue(xs, f"no vertical cross line near x={cx * s:.0f}")
            self.assertAlmostEqual(sum(xs) / len(xs), cx * s, delta=1.6 * s)
        for dx in (-0.5 * r, 0.45 * r):
            x = (cx + dx) * s
            ys = [y for _, y, p in composite.pixels(x, (cy - 12) * s, x + 1, (cy + 12) * s)
                  if is_white(p)]
            self.assertTrue(ys, f"no horizontal cross line near y={cy * s:.0f}")
            self.assertAlmostEqual(sum(ys) / len(ys), cy * s, delta=1.6 * s)
        # The circle, at its radius in four directions between the other lines.
        for degrees in (15, 155, 205, 245):
            found = [d for d in range(int(0.8 * r * s), int(1.2 * r * s))
                     if is_white(composite.pixel(*scaled(along((cx, cy), degrees, d / s), s)))]
            self.assertTrue(found, f"no circle at {degrees} degrees")
            self.assertAlmostEqual(sum(found) / len(found), r * s, delta=1.6 * s)
        # The guide line was turned to 120 degrees; the sector's edges stay at
        # 30 and 60. Inside the circle nothing else is drawn.
        for degrees, test, what in ((120, is_magenta, "guide line"), (30, is_cyan, "sector edge"),
                                    (60, is_cyan, "sector edge")):
            for fraction in (0.35, 0.6, 0.85):
                x, y = scaled(along((cx, cy), degrees, fraction * r), s)
                self.assertTrue(near(composite, x, y, 1.5 * s, test),
                                f"no {what} at {degrees} degrees, {fraction} of the radius")
        for fraction in (0.35, 0.6, 0.85):
            x, y = scaled(along((cx, cy), 45, fraction * r), s)
            self.assertFalse(near(composite, x, y, 1.5 * s, is_magenta),
                             "the guide line is still at 45 degrees")

    def check_measures(self, composite, layout, measures, calibration):
        s = layout.scale
        for start, end in measures:
            length = math.dist(start, end)
            ux, uy = (end[0] - start[0]) / length, (end[1] - start[1]) / length
            for t in (0.15, 0.3, 0.7, 0.85):
                x, y = start[0] + t * (end[0] - start[0]), start[1] + t * (end[1] - start[1])
                self.assertTrue(near(composite, x * s, y * s, 1.5 * s, is_red),
                                f"no measure line at {x:.0f},{y:.0f}")
            # A ring of radius 8 around each end, beside the line.
            for px, py in (start, end):
                for side in (1, -1):
                    x, y = px - side * 8 * uy, py + side * 8 * ux
                    self.assertTrue(near(composite, x * s, y * s, 1.5 * s, is_red),
                                    f"no end ring at {px},{py}")
            # The length is written at the middle, on a box cleared of the line.
            mx, my = (start[0] + end[0]) / 2, (start[1] + end[1]) / 2
            self.assertFalse(near(composite, mx * s, my * s, 1.5 * s, is_red),
                             "the line runs through the length's box")
            self.assertTrue(near(composite, mx * s, my * s, 7 * s, is_yellow),
                            "no length written at the measure's middle")
        # The calibration segment is gone once the calibration is accepted.
        (ax, ay), (bx, by) = calibration
        for t in (0.2, 0.5, 0.8):
            x, y = ax + t * (bx - ax), ay + t * (by - ay)
            self.assertFalse(near(composite, x * s, y * s, 1.5 * s, is_red),
                             "the calibration segment is in the composite")

    def check_labels(self, composite, photo, layout):
        s, w, h = layout.scale, layout.canvas.width, layout.canvas.height
        # The eye label ends 16 pixels inside the right edge and sits 16 above
        # the bottom; its 32-pixel letters are enlarged with everything else.
        box, count = bounding_box(composite, ((w - 150) * s, (h - 60) * s, w * s, h * s),
                                  is_yellow)
        self.assertIsNotNone(box, "no eye label")
        self.assertAlmostEqual(box[2], (w - 16) * s, delta=4 * s)
        self.assertLessEqual(box[3], (h - 16) * s + s)
        self.assertGreater(box[3] - box[1], 0.55 * 32 * s, "the eye label is not enlarged")
        self.assertLess(box[3] - box[1], 32 * s)
        # The reference text: from 16 pixels inside the left edge, in its band
        # 16 to 52 pixels above the bottom.
        box, count = bounding_box(composite, (0, (h - 56) * s, 400 * s, h * s), is_yellow)
        self.assertIsNotNone(box, "no reference text")
        self.assertAlmostEqual(box[0], 16 * s, delta=5 * s)
        self.assertGreaterEqual(box[1], (h - 52) * s - s)
        self.assertLessEqual(box[3], (h - 16) * s + s)
        self.assertGreater(box[2] - box[0], 80 * s, "the reference text is too short")
        # The watermark, a light emblem at half opacity: 96 pixels square, 16
        # from the left edge, its bottom 60 above the drawing area's bottom.
        def lighter(x, y, p):
            q = photo.colour(x, y)
            return all(p[i] - q[i] >= 35 for i in range(3))

        top, bottom = (h - 156) * s, (h - 60) * s
        columns = []
        for x in range(0, int(140 * s), 2):
            lit = sum(lighter(x, y, composite.pixel(x, y)) for y in range(int(top), int(bottom), 4))
            columns.append((x, lit / ((bottom - top) / 4)))
        emblem = [x for x, fraction in columns if fraction > 0.12]
        self.assertTrue(emblem, "no watermark")
        self.assertGreaterEqual(emblem[0], 16 * s - 2 * s)
        self.assertLessEqual(emblem[-1], 112 * s + 2 * s)
        self.assertGreater(emblem[-1] - emblem[0], 48 * s, "the watermark is not enlarged")
        # The guide line's and the sector's readings, top left.
        for test, top, what in ((is_magenta, 16, "guide line label"),
                                (is_cyan, 46, "sector label")):
            box, count = bounding_box(composite, (0, (top - 4) * s, 300 * s, (top + 26) * s), test)
            self.assertIsNotNone(box, f"no {what}")
            self.assertAlmostEqual(box[0], 16 * s, delta=5 * s)
            self.assertGreater(count, 200, f"the {what} is too small")

    def check_printed_page(self, pdf, composite):
        self.assertEqual(pdf_page_count(pdf), 1)
        dpi = 60
        page = read_pdf_page(pdf, dpi)
        self.assertGreater(page.width, page.height, "the page is not landscape")
        inked = lambda p: min(p[:3]) < 235  # noqa: E731
        box, _ = bounding_box(page, (0, 0, page.width, page.height), inked)
        self.assertIsNotNone(box, "the printed page is blank")
        self.assertTrue(box[0] > 0 and box[1] > 0 and box[2] < page.width - 1
                        and box[3] < page.height - 1, f"the print runs off the page: {box}")
        # The picture is the first block of rows from the top; the list lies under it.
        bottom = box[1]
        while bottom < box[3] and any(inked(page.pixel(x, bottom + 1))
                                      for x in range(box[0], box[2] + 1, 2)):
            bottom += 1
        self.assertGreater(box[3], bottom + 10, "no measures list under the picture")
        x0, y0, x1, y1 = bounding_box(page, (0, box[1], page.width, bottom + 1), inked)[0]
        width, height = x1 - x0 + 1, y1 - y0 + 1
        self.assertAlmostEqual(width / height, composite.width / composite.height, delta=0.03)
        self.assertTrue(width > 0.6 * page.width or height > 0.5 * page.height,
                        f"the picture does not fill the page: {width} x {height} on {page.size}")
        # What is printed is the composite, shrunk: compare on a grid.
        scale = composite.width / width
        matches = total = 0
        for i in range(1, 16):
            for j in range(1, 10):
                px, py = x0 + width * i / 16, y0 + height * j / 10
                cx, cy = (px - x0) * scale, (py - y0) * scale
                block = [p for _, _, p in composite.pixels(cx - scale / 2, cy - scale / 2,
                                                            cx + scale / 2, cy + scale / 2)]
                mean = [sum(p[c] for p in block) / len(block) for c in range(3)]
                total += 1
                matches += max(abs(page.pixel(px, py)[c] - mean[c]) for c in range(3)) <= 40
        self.assertGreater(matches / total, 0.85, "the printed page does not show the composite")
        # With the composite's own marks: the eye label, shrunk into place.
        label, _ = bounding_box(composite, (composite.width * 0.8, composite.height * 0.85,
                                            composite.width, composite.height), is_yellow)
        self.assertIsNotNone(label, "no eye label in the composite")
        _, count = bounding_box(page, (x0 + label[0] / scale - 2, y0 + label[1] / scale - 2,
                                       x0 + label[2] / scale + 3, y0 + label[3] / scale + 3),
                                is_yellow)
        self.assertGreater(count, 20, "no eye label on the printed page")


class Layout:
    """Where things were placed on the canvas, and the canvas's scale in the
    saved picture."""

    def __init__(self, canvas, scale, centre, radius):
        self.canvas, self.scale, self.centre, self.radius = canvas, scale, centre, radius


def scaled(point, s):
    return point[0] * s, point[1] * s


class PasteJourney(Session):
    def test_pasted_pixels_load_and_fit_like_an_opened_file(self):
        size, top, bottom = (1200, 1600), (40, 120, 60), (120, 40, 110)
        picture = self.path("portrait.png")
        write_halves(picture, size, top, bottom)
        self.app.start()
        with open(picture, "rb") as f:
            self.offer_clipboard(f.read(), "image/png")
        xdesktop.focus(self.app.window)
        key("ctrl+v")
        _, shot = self.wait_for_picture(size)
        self.assert_centred(shot)
        # The clipboard still holds the picture: it can be pasted again.
        self.assertTrue(self.app.entry_enabled("Edit", "Paste image"))

        saved = self.path("pasted.png")
        self.app.save_as(saved)
        # The clipboard's pixels reach the page as they were copied.
        self.assert_shows(read_picture(saved), size,
                          [((0.1, 0.2), top), ((0.9, 0.3), top), ((0.1, 0.8), bottom),
                           ((0.9, 0.7), bottom)], tolerance=1)


class Transparency(Session):
    def test_uncovered_parts_of_the_composite_are_transparent(self):
        self.app.start()

        # No picture: the composite has the drawing area's size on screen, and
        # only the overlay, the labels and the watermark are opaque.
        empty = self.path("no-picture.png")
        self.app.save_as(empty)
        composite = read_picture(empty)
        canvas = self.app.empty_canvas()
        self.assertEqual(composite.size, (canvas.width, canvas.height))
        clear = share(composite, (0, 0, composite.width, composite.height),
                      lambda p: p[3] == 0, step=2)
        self.assertGreater(clear, 0.7, "the uncovered background is not transparent")
        cx, cy = composite.width // 2, composite.height // 2
        self.assertTrue(is_white(composite.pixel(cx, cy + 40)) and composite.pixel(cx, cy + 40)[3]
                        == 255, "the cross is missing from the composite")

        # A picture with a transparent left half, pasted as a copied file path.
        size, colour = (1600, 1000), (40, 40, 110)
        picture = self.path("half-clear.png")
        write_halves(picture, size, colour, None, alpha=True)
        self.offer_clipboard(picture.encode(), "UTF8_STRING")
        self.app.choose("Edit", "Paste image")
        self.wait_for_picture(size)
        saved = self.path("half-clear-composite.png")
        self.app.save_as(saved)
        composite = read_picture(saved)
        self.assertEqual(composite.size, size)
        w, h = size
        left = share(composite, (0, 0, w // 2 - 4, h), lambda p: p[3] == 0, step=2)
        right = share(composite, (w // 2 + 4, 0, w, h), lambda p: p[3] == 255, step=2)
        self.assertGreater(left, 0.7, "the picture's transparent half is not transparent")
        self.assertGreater(right, 0.995, "the picture's opaque half is not opaque")
        self.assert_shows(composite, size, [((0.95, 0.2), colour), ((0.6, 0.8), colour)],
                          tolerance=4)



class FirstOpen(Session):
    def test_open_dialog_starts_in_documents(self):
        """With nothing remembered yet the open dialog shows the Documents folder:
        a bare file name typed into it is found there."""
        documents = os.path.join(os.environ["HOME"], "Documents")
        os.makedirs(documents, exist_ok=True)
        size = (900, 600)
        write_halves(os.path.join(documents, "in-documents.png"), size, (40, 120, 60),
                     (120, 40, 110))
        self.app.start()
        self.app.open_image("in-documents.png")
        self.wait_for_picture(size)

if __name__ == "__main__":
    unittest.main(verbosity=2)
