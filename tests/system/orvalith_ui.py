"""Drives the real Orvalith program from outside, as a person would: it finds
the menus, the tool panel's controls, the drawing area and the calibration
popup on screenshots and works them with real pointer and key events.

What it knows in advance is the window's layout: a 1024 x 800 window with the
menus in a bar along its top (Linux has no global menu here), the tool panel
150 pixels wide on the right, the image area filling the rest, and the drawing
area fitted to the picture's proportions and centred in it. Everything else is
read off the screen.
"""
import os
import subprocess
import tempfile
import time

import xdesktop
from xdesktop import click, key, type_text, wait_until

MENUS = {
    "File": ["Open Image", "Save as", "Print", "Quit"],
    "Edit": ["Undo", "Redo", "Paste image", "Clear measures"],
    "Measures": ["Color", "Calibrate", "Add", "Add angle", "Fit circle", "Remove Last",
                 "Reset"],
    "View": ["Hide toolbar", "Zoom in", "Zoom out", "Fit to window", "Actual pixels"],
    "Help": ["Contents", "About Orvalith"],
}
MENU_TITLES = ["File", "Edit", "Measures", "View", "Help"]
WINDOW_SIZE = (1024, 800)
PANEL_WIDTH = 150
PANEL_PADDING = 8
POPUP_SIZE = (320, 240)  # the calibration popup, centred on the page


def luminance(p):
    return (299 * p[0] + 587 * p[1] + 114 * p[2]) // 1000


def differs(p, q, by):
    return max(abs(p[0] - q[0]), abs(p[1] - q[1]), abs(p[2] - q[2])) > by


def runs(flags):
    """(first, last) index ranges of consecutive true flags."""
    found, start = [], None
    for i, flag in enumerate(list(flags) + [False]):
        if flag and start is None:
            start = i
        elif not flag and start is not None:
            found.append((start, i - 1))
            start = None
    return found


def fit(size, bounds):
    """The drawing area's size for a picture: its proportions, as large as the
    image area allows (small pictures are enlarged)."""
    (w, h), (bw, bh) = size, bounds
    if w / h > bw / bh:
        return bw, h * (bw / w)
    return w * (bh / h), bh


class Canvas:
    """Where the drawing area is on the screen; points in canvas pixels."""

    def __init__(self, left, top, width, height):
        self.left, self.top, self.width, self.height = left, top, width, height

    def screen(self, x, y):
        return self.left + x, self.top + y


class Orvalith:
    def __init__(self, screen, sandbox):
        self.screen = screen
        self.sandbox = sandbox
        self.process = None
        self.shots = 0

    # --- Process and window --------------------------------------------------------

    def start(self, *arguments, executable=None):
        # The program's messages go to a file: a pipe that nobody reads while
        # the test works could fill up and stall the program.
        self.messages = tempfile.TemporaryFile(mode="w+")
        command = [executable or os.environ["ORVALITH_EXE"], *arguments]
        self.process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=self.messages)
        self.window = xdesktop.window_named(self.process.pid, "Orvalith", timeout=60)
        self.x, self.y, width, height = xdesktop.geometry(self.window)
        if (width, height) != WINDOW_SIZE:
            raise AssertionError(f"the window is {width} x {height}, not 1024 x 800")
        xdesktop.focus(self.window)
        # The window is mapped before its first frame is drawn; on a busy
        # machine it stays black for longer than a settled grab waits.
        wait_until("the window's first frame (its light menu bar)",
                   lambda: luminance(self.window_shot().pixel(3, 3)) > 60, timeout=60)
        self._read_layout(self.window_shot("start"))

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)

    def program_messages(self):
        self.messages.seek(0)
        return self.messages.read()

    def window_shot(self, name=None):
        """The window's pixels once they have stopped changing; kept in the
        sandbox under name, for whoever has to see what the test saw."""
        shot = self.screen.settled(self.x, self.y, *WINDOW_SIZE)
        if name and self.sandbox:
            self.shots += 1
            shot.save_png(os.path.join(self.sandbox, f"{self.shots:02d}-{name}.png"))
        return shot

    # --- Layout --------------------------------------------------------------------

    def _read_layout(self, shot):
        # The menu bar: the light rows at the top, above the black image area.
        self.bar_height = next(y for y in range(shot.height)
                               if luminance(shot.pixel(3, y)) < 60)
        background = shot.pixel(WINDOW_SIZE[0] - 2, self.bar_height // 2)
        columns = [any(luminance(shot.pixel(x, y)) < luminance(background) - 90
                       for y in range(2, self.bar_height - 2)) for x in range(WINDOW_SIZE[0])]
        words = runs(columns)
        # Titles are single words here; letters of one word are never 8 pixels apart.
        titles = []
        for first, last in words:
            if titles and first - titles[-1][1] < 8:
                titles[-1] = (titles[-1][0], last)
            else:
                titles.append((first, last))
        if len(titles) != len(MENU_TITLES):
            raise AssertionError(f"expected 5 menu titles, found them at {titles}")
        self.titles = dict(zip(MENU_TITLES, titles))
        self.page = (0, self.bar_height, WINDOW_SIZE[0], WINDOW_SIZE[1] - self.bar_height)
        self.panel_left = WINDOW_SIZE[0] - PANEL_WIDTH
        self.image_area = (0, self.bar_height, self.panel_left, self.page[3])

    def drawing_area(self, shot):
        """The drawing area in window pixels, as the bounding box of what is
        not black in the image area; pictures used here have no black. Three
        columns are looked at: the outlined numbers over the cross's vertical
        arm are dark, and a picture may be see-through on its left."""
        x0, y0, width, height = self.image_area

        def lit(x, y):
            return max(shot.pixel(x, y)) > 12

        rows = [y for y in range(y0, y0 + height) if lit(x0 + width // 2 - 1, y)
                or lit(x0 + width // 4, y) or lit(x0 + 3 * width // 4, y)]
        middle = (rows[0] + rows[-1]) // 2
        columns = [x for x in range(x0, x0 + width) if lit(x, middle) or lit(x, middle + 7)]
        return columns[0], rows[0], columns[-1] - columns[0] + 1, rows[-1] - rows[0] + 1

    def canvas_for(self, picture_size, shot):
        """The canvas for a loaded picture: its size as the page computes it,
        its place as read from the screen (to within a pixel: the drawing area
        may start between two pixels)."""
        width, height = fit(picture_size, self.image_area[2:])
        left, top, _, _ = self.drawing_area(shot)
        return Canvas(self.x + left, self.y + top, width, height)

    def empty_canvas(self):
        x0, y0, width, height = self.image_area
        return Canvas(self.x + x0, self.y + y0, width, height)

    # --- Menus ---------------------------------------------------------------------

    def _opened_menu(self, before, title, settle=True):
        """The box of the menu that opened under a title, or None."""
        first = self.titles[title][0]
        grab = self.screen.settled if settle else self.screen.grab
        after = grab(self.x, self.y, *WINDOW_SIZE)
        top = self.bar_height
        changed = [y for y in range(top, top + 300)
                   if any(differs(after.pixel(x, y), before.pixel(x, y), 30)
                          for x in range(first, first + 120, 3))]
        if not changed:
            return None, after
        y0, y1 = changed[0], changed[-1]
        middle = (y0 + y1) // 2
        # The menu's own columns: the run of changed ones under its title. Other
        # parts of the window may change at the same height (a taller menu's
        # middle row reaches the panel's controls).
        flags = [differs(after.pixel(x, middle), before.pixel(x, middle), 30)
                 for x in range(0, WINDOW_SIZE[0])]
        inside = [(a, b) for a, b in runs(flags) if a <= first + 2 <= b]
        if not inside:
            return None, after
        left, right = inside[0]
        return (left, y0, right, y1), after

    def _menu_rows(self, shot, box):
        x0, y0, x1, y1 = box
        background = shot.pixel(x1 - 3, y0 + 3)
        flags = [any(differs(shot.pixel(x, y), background, 40) for x in range(x0 + 4, x1 - 4))
                 for y in range(y0 + 2, y1 - 1)]
        return [(a + y0 + 2, b + y0 + 2) for a, b in runs(flags) if b - a >= 4]

    def _open_menu(self, title):
        """Clicks a menu's title: the opened menu's box, its entries' row
        ranges, and the screen before and after."""
        before = self.screen.settled(self.x, self.y, *WINDOW_SIZE)
        first, last = self.titles[title]
        box = None
        # One click, whatever closed the menu before (Escape, an entry chosen).
        click(self.x + (first + last) // 2, self.y + self.bar_height // 2)
        deadline = time.monotonic() + 3
        while box is None and time.monotonic() < deadline:
            box, shot = self._opened_menu(before, title)
        if box is None:
            raise AssertionError(f"the {title} menu did not open at the first click")
        rows = self._menu_rows(shot, box)
        if len(rows) != len(MENUS[title]):
            raise AssertionError(f"the {title} menu shows {len(rows)} entries, not "
                                 f"{len(MENUS[title])}: {rows}")
        return box, rows, before, shot

    def _close_menu(self, title, before, box):
        # The menu closes at once; what an entry starts may take longer.
        wait_until(f"the {title} menu to close",
                   lambda: self._opened_menu(before, title, settle=False)[0] != box, timeout=5)

    @staticmethod
    def _enabled(shot, box, row):
        """Enabled entries are written in black, disabled ones in light grey."""
        top, bottom = row
        return min(luminance(shot.pixel(x, y)) for x in range(box[0], box[2])
                   for y in range(top, bottom + 1)) <= 110

    def choose(self, title, entry):
        """Clicks a menu's title, then one of its entries, which must be enabled."""
        box, rows, before, shot = self._open_menu(title)
        top, bottom = rows[MENUS[title].index(entry)]
        if not self._enabled(shot, box, (top, bottom)):
            raise AssertionError(f"{title} > {entry} is disabled")
        click(self.x + box[0] + 30, self.y + (top + bottom) // 2)
        self._close_menu(title, before, box)

    def entry_enabled(self, title, entry):
        """Opens a menu to see whether an entry is enabled, and closes it."""
        box, rows, before, shot = self._open_menu(title)
        enabled = self._enabled(shot, box, rows[MENUS[title].index(entry)])
        key("Escape")
        self._close_menu(title, before, box)
        return enabled

    # --- Dialogs -------------------------------------------------------------------

    def dialog(self, title, timeout=30):
        window = xdesktop.window_named(self.process.pid, title, timeout)
        xdesktop.focus(window)
        return window

    def answer_file_dialog(self, title, path):
        """Types a path into the file name field (which has the focus when the
        dialog opens) and presses Enter."""
        window = self.dialog(title)
        type_text(path)
        key("Return")
        xdesktop.window_gone(self.process.pid, window)

    def open_image(self, path):
        self.choose("File", "Open Image")
        self.answer_file_dialog("Pick an image", path)

    def save_as(self, path):
        self.choose("File", "Save as")
        self.answer_file_dialog("Save File", path)
        wait_until("the saved file", lambda: os.path.exists(path), timeout=60)

    def print_to_pdf(self, path):
        """File > Print; in the print dialog picks the print-to-file entry (the
        last in the printer list), names the file and prints."""
        self.choose("File", "Print")
        window = self.dialog("Print")
        key("alt+n")  # the printer list
        key("End")
        key("alt+f")  # the output file name
        key("ctrl+a")
        type_text(path)
        key("Return")
        xdesktop.window_gone(self.process.pid, window)
        wait_until("the printed file", lambda: os.path.exists(path)
                   and os.path.getsize(path) > 0, timeout=60)

    # --- Tool panel ----------------------------------------------------------------

    def panel_controls(self, shot):
        """Centres (window pixels) of the panel's three switches, top to bottom,
        and of its text field. Switches are the rows whose outline starts at
        the panel's left edge and is about 40 pixels wide; the text field is
        the row with a white inside about as wide as the panel."""
        left = self.panel_left + PANEL_PADDING
        right = WINDOW_SIZE[0] - PANEL_PADDING
        y0, height = self.page[1], self.page[3]
        background = shot.pixel(self.panel_left + 2, y0 + height // 2)
        flags = [any(differs(shot.pixel(x, y), background, 24) for x in range(left, right))
                 for y in range(y0, y0 + height)]
        switches, fields = [], []
        for first, last in runs(flags):
            top, bottom = first + y0, last + y0
            # Rounded corners: the outline's top edge may start a few pixels in.
            edge = [differs(shot.pixel(x, top), background, 24) for x in range(left, right)]
            outline = next((last + 1 for first, last in runs(edge) if first <= 4), 0)
            middle = (top + bottom) // 2
            white = sum(shot.pixel(x, middle) == (255, 255, 255) for x in range(left, right))
            if 30 <= outline <= 44 and 10 <= bottom - top <= 26:
                switches.append((left + outline // 2, middle))
            # A third: the placeholder text takes much of the row, and a scroll bar
            # beside the panel makes the field narrower.
            elif white > (right - left) // 3:
                fields.append((left + (right - left) * 3 // 4, middle))
        if len(switches) != 3 or len(fields) != 1:
            raise AssertionError(f"tool panel: switches at {switches}, text fields at {fields}")
        return {"guide line": switches[0], "sector": switches[1], "magnifier": switches[2],
                "reference": fields[0]}

    def click_window(self, x, y):
        click(self.x + x, self.y + y)

    # --- Measures ------------------------------------------------------------------

    def calibrate(self, canvas, start, end, reference):
        self.choose("Measures", "Calibrate")
        click(*canvas.screen(*start))
        time.sleep(0.2)
        click(*canvas.screen(*end))
        self.accept_calibration(reference)

    def calibration_popup(self):
        """The calibration popup, open at the page's centre: its box, and the
        window positions of its spin box and its Accept button."""
        page_x, page_y, page_w, page_h = self.page
        x0 = page_x + (page_w - POPUP_SIZE[0]) // 2
        y0 = page_y + (page_h - POPUP_SIZE[1]) // 2
        shot = self.window_shot("calibration-popup")
        background = shot.pixel(x0 + 6, y0 + 6)
        white_rows = [y for y in range(y0, y0 + POPUP_SIZE[1])
                      if sum(shot.pixel(x, y) == (255, 255, 255)
                             for x in range(x0, x0 + POPUP_SIZE[0])) >= 40]
        if not white_rows or luminance(background) < 180:
            raise AssertionError("no calibration popup with a spin box at the page's centre")
        spin_y = (white_rows[0] + white_rows[-1]) // 2
        whites = [x for x in range(x0, x0 + POPUP_SIZE[0])
                  if shot.pixel(x, spin_y) == (255, 255, 255)]
        # The two buttons' outlines: the rows below the spin box, above the
        # popup's own frame, that are mostly not background.
        outlines = [y for y in range(white_rows[-1] + 3, y0 + POPUP_SIZE[1] - 3)
                    if sum(differs(shot.pixel(x, y), background, 24)
                           for x in range(x0, x0 + POPUP_SIZE[0])) > 100]
        middle = (outlines[0] + outlines[-1]) // 2
        edges = [x for x in range(x0, x0 + POPUP_SIZE[0])
                 if differs(shot.pixel(x, middle), background, 24)]
        return {"box": (x0, y0) + POPUP_SIZE, "background": background,
                "spin box": ((whites[0] + whites[-1]) // 2, spin_y),
                "accept": (edges[0] + (edges[-1] - edges[0]) * 3 // 4, middle)}

    def type_reference_length(self, popup, reference):
        self.click_window(*popup["spin box"])
        key("ctrl+a")
        type_text(str(reference))

    def accept(self, popup):
        self.click_window(*popup["accept"])
        x0, y0 = popup["box"][:2]
        wait_until("the calibration popup to close",
                   lambda: self.window_shot().pixel(x0 + 6, y0 + 6) != popup["background"],
                   timeout=10)

    def accept_calibration(self, reference):
        """Types the reference length into the popup's spin box and accepts."""
        popup = self.calibration_popup()
        self.type_reference_length(popup, reference)
        self.accept(popup)

    def add_measure(self, canvas, start, end):
        self.choose("Measures", "Add")
        click(*canvas.screen(*start))
        time.sleep(0.2)
        click(*canvas.screen(*end))
        time.sleep(0.2)
