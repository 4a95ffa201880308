#!/usr/bin/env python3
"""Starts the real program on the test's own X server and drives it as a user
would: the window must appear with its title, size and menu bar, File > Quit and
closing the window must end it with status 0, and a main document that cannot
load must end it with status 1 before any window is shown."""
import ctypes
import os
import shutil
import struct
import subprocess
import tempfile
import time
import unittest
import zlib

EXE = os.environ["ORVALITH_EXE"]
START_TIMEOUT = 60
EXIT_TIMEOUT = 20
MENU_TITLES = 5  # File, Edit, Measures, View, Help


# --- The X server, through Xlib ------------------------------------------------------


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("client", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


class Display:
    """Screenshots of a window and a polite close request, the two things
    the command-line tools here cannot do."""

    def __init__(self):
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XGetImage.restype = ctypes.POINTER(XImage)
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                 ctypes.POINTER(XEvent)]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XCreateSimpleWindow.restype = ctypes.c_ulong
        x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 \
            + [ctypes.c_uint] * 3 + [ctypes.c_ulong] * 2
        x.XDestroyWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x = x
        self.display = x.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("cannot open the X display " + os.environ.get("DISPLAY", ""))
        # A window that vanishes under a request must not end this process.
        self._ignore_errors = ERROR_HANDLER(lambda display, event: 0)
        x.XSetErrorHandler(self._ignore_errors)

    def close(self):
        self.x.XCloseDisplay(self.display)

    def grab(self, window, width, height):
        """The window's pixels as rows of (r, g, b) tuples, or None."""
        all_planes, z_pixmap = 0xFFFFFFFF, 2
        image = self.x.XGetImage(self.display, window, 0, 0, width, height, all_planes, z_pixmap)
        if not image:
            return None
        try:
            im = image.contents
            if im.bits_per_pixel != 32:
                raise RuntimeError(f"unexpected {im.bits_per_pixel}-bit window image")
            data = ctypes.string_at(im.data, im.bytes_per_line * im.height)
            stride = im.bytes_per_line
            return [[(data[y * stride + 4 * x + 2], data[y * stride + 4 * x + 1],
                      data[y * stride + 4 * x]) for x in range(im.width)]
                    for y in range(im.height)]
        finally:
            self.x.XDestroyImage(image)

    def create_window(self):
        """A small unmapped window on the root."""
        root = self.x.XDefaultRootWindow(self.display)
        window = self.x.XCreateSimpleWindow(self.display, root, 0, 0, 1, 1, 0, 0, 0)
        self.x.XSync(self.display, 0)
        return window

    def destroy_window(self, window):
        self.x.XDestroyWindow(self.display, window)
        self.x.XSync(self.display, 0)

    def request_close(self, window):
        """What a window manager sends when the user clicks the close button."""
        protocols = self.x.XInternAtom(self.display, b"WM_PROTOCOLS", 0)
        delete = self.x.XInternAtom(self.display, b"WM_DELETE_WINDOW", 0)
        event = XEvent()
        event.client.type = 33  # ClientMessage
        event.client.window = window
        event.client.message_type = protocols
        event.client.format = 32
        event.client.data[0] = delete
        event.client.data[1] = 0  # CurrentTime
        self.x.XSendEvent(self.display, window, 0, 0, ctypes.byref(event))
        self.x.XSync(self.display, 0)


def xdotool(*args, timeout=10):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                          timeout=timeout).stdout


def window_info(window):
    """xwininfo's fields as a dict ("Width", "Absolute upper-left X", ...)."""
    out = subprocess.run(["xwininfo", "-id", str(window)], capture_output=True, text=True,
                         timeout=10).stdout
    info = {}
    for line in out.splitlines():
        key, sep, value = line.strip().partition(":")
        if sep:
            info[key.strip()] = value.strip()
    for line in out.splitlines():
        if "xwininfo: Window id:" in line:
            info["Name"] = line.split('"', 1)[1].rsplit('"', 1)[0] if '"' in line else ""
    return info


class MapWatcher:
    """Records every window mapped on the screen while it runs."""

    def __init__(self, display):
        self.log = tempfile.TemporaryFile(mode="w+")
        self.process = subprocess.Popen(
            ["stdbuf", "-oL", "xev", "-root", "-event", "substructure"], stdout=self.log,
            stderr=subprocess.DEVNULL)
        # xev says nothing until an event comes: it is listening once it reports
        # a window made after it started (never mapped, so never in the record).
        deadline = time.monotonic() + 20
        while True:
            display.destroy_window(display.create_window())
            time.sleep(0.1)
            self.log.seek(0)
            if "CreateNotify" in self.log.read():
                break
            if time.monotonic() > deadline:
                raise AssertionError("gave up after 20 s waiting for xev to listen")

    def stop(self):
        """The ids of the windows that were mapped; ends the watch."""
        if self.log.closed:
            return []
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=10)
        self.log.seek(0)
        text = self.log.read()
        self.log.close()
        # xev prints one block per event; a MapNotify block's second line reads
        # "event 0x..., window 0x..., override ..." and names the mapped window.
        mapped = []
        for block in text.split("\n\n"):
            lines = block.strip().splitlines()
            if len(lines) >= 2 and lines[0].startswith("MapNotify"):
                fields = dict(part.strip().split(" ", 1) for part in lines[1].split(",")
                              if " " in part.strip())
                mapped.append(int(fields["window"], 16))
        return mapped


# --- Reading the window's pixels -----------------------------------------------------


def luminance(pixel):
    r, g, b = pixel
    return (299 * r + 587 * g + 114 * b) // 1000


def runs(flags, min_gap):
    """Index ranges (first, last) of true flags; gaps shorter than min_gap join runs."""
    found = []
    for i, flag in enumerate(flags):
        if not flag:
            continue
        if found and i - found[-1][1] <= min_gap:
            found[-1] = (found[-1][0], i)
        else:
            found.append((i, i))
    return found


def menu_bar(pixels):
    """The band of rows at the top whose dominant colour is the same light
    colour as the first row: (height, background colour)."""
    def dominant(row):
        counts = {}
        for p in row:
            counts[p] = counts.get(p, 0) + 1
        colour, n = max(counts.items(), key=lambda kv: kv[1])
        return colour, n / len(row)

    background, share = dominant(pixels[0])
    height = 0
    for row in pixels:
        colour, share = dominant(row)
        if colour != background or share < 0.7:
            break
        height += 1
    return height, background


def text_runs(pixels, x0, x1, y0, y1, background, axis, min_gap):
    """Runs of columns (axis "x") or rows (axis "y") in the box that hold text:
    pixels clearly darker than the background."""
    limit = luminance(background) - 90
    if axis == "x":
        flags = [any(luminance(pixels[y][x]) < limit for y in range(y0, y1))
                 for x in range(x0, x1)]
        offset = x0
    else:
        flags = [any(luminance(pixels[y][x]) < limit for x in range(x0, x1))
                 for y in range(y0, y1)]
        offset = y0
    return [(a + offset, b + offset) for a, b in runs(flags, min_gap)]


def save_png(pixels, path):
    """Keeps a screenshot for whoever has to find out why a test failed."""
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2,
                                                                      0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def light_box(pixels, x, y):
    """The light rectangle around (x, y), such as an open menu over the dark
    picture area: (x0, y0, x1, y1), found along the seed's row and column."""
    def light(px, py):
        return luminance(pixels[py][px]) > 150

    x0 = x
    while x0 > 0 and light(x0 - 1, y):
        x0 -= 1
    x1 = x
    while x1 < len(pixels[0]) and light(x1, y):
        x1 += 1
    y1 = y
    while y1 < len(pixels) and light(x, y1):
        y1 += 1
    return x0, y, x1, y1


# --- The tests --------------------------------------------------------------------------


class Startup(unittest.TestCase):
    def setUp(self):
        self.display = Display()
        self.process = None

    def tearDown(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=10)
        self.display.close()

    def start(self, env=None):
        # The program's messages go to a file: a pipe nobody reads while the
        # test clicks around could fill up and stall the program.
        self.messages = tempfile.TemporaryFile(mode="w+")
        self.addCleanup(self.messages.close)
        self.process = subprocess.Popen([EXE], env=env, stdout=subprocess.DEVNULL,
                                        stderr=self.messages)

    def program_messages(self):
        self.messages.seek(0)
        return self.messages.read()

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        try:
            self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            self.fail(f"the program did not end within {timeout} s")
        return self.process.returncode, self.program_messages()

    def find_window(self):
        """The program's shown window titled "Orvalith"."""
        deadline = time.monotonic() + START_TIMEOUT
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                self.fail(f"the program ended early with status {self.process.returncode}:\n"
                          + self.program_messages())
            found = xdotool("search", "--onlyvisible", "--pid", self.process.pid,
                            "--name", "^Orvalith$").split()
            if found:
                return int(found[0])
            time.sleep(0.2)
        self.fail("no window titled Orvalith appeared")

    def settled_screenshot(self, window, width, height, name):
        """A screenshot taken once the window has stopped changing; kept in the
        test's sandbox folder, if it has one, under the given name."""
        previous = None
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            time.sleep(0.3)
            pixels = self.display.grab(window, width, height)
            # Until its first frame is drawn, a mapped window is one still colour.
            drawn = pixels is not None and any(p != pixels[0][0] for row in pixels for p in row)
            if drawn and pixels == previous:
                if os.environ.get("ORVALITH_SANDBOX"):
                    save_png(pixels, os.path.join(os.environ["ORVALITH_SANDBOX"], name + ".png"))
                return pixels
            previous = pixels
        self.fail("the window was never drawn and still for a moment")

    def click(self, info, x, y):
        ax = int(info["Absolute upper-left X"]) + x
        ay = int(info["Absolute upper-left Y"]) + y
        xdotool("mousemove", "--sync", ax, ay)
        xdotool("click", 1)

    def shown_window(self):
        window = self.find_window()
        info = window_info(window)
        self.assertEqual(info.get("Name"), "Orvalith")
        self.assertEqual((info["Width"], info["Height"]), ("1024", "800"))
        self.assertEqual(info["Map State"], "IsViewable")
        return window, info

    def test_menu_bar_and_quit_from_file_menu(self):
        watcher = MapWatcher(self.display)
        self.addCleanup(watcher.stop)
        self.start()
        window, info = self.shown_window()
        before = self.settled_screenshot(window, 1024, 800, "window")

        # The bar: a light band across the top with the five menu titles in it.
        bar_height, background = menu_bar(before)
        self.assertGreaterEqual(bar_height, 16, "no menu bar at the top of the window")
        self.assertLess(bar_height, 80)
        self.assertGreater(luminance(background), 150, "the bar should be light (Fusion)")
        titles = text_runs(before, 0, 1024, 0, bar_height, background, "x", min_gap=8)
        self.assertEqual(len(titles), MENU_TITLES, f"menu titles found at {titles}")

        # Clicking the first title opens the File menu below it, over the
        # black picture area.
        file_left, file_right = titles[0]
        self.click(info, (file_left + file_right) // 2, bar_height // 2)
        opened = self.settled_screenshot(window, 1024, 800, "file-menu")
        below = bar_height + 4
        self.assertLess(luminance(before[below][file_left]), 60, "expected the dark picture area")
        x0, y0, x1, y1 = light_box(opened, file_left, below)
        self.assertGreater(y1 - y0, 60, "no menu opened below the File title")
        self.assertGreater(x1 - x0, 60)

        # Its entries are rows of text; the last one is Quit.
        menu_background = opened[below][x1 - 2]
        rows = text_runs(opened, x0, x1, y0, y1, menu_background, "y", min_gap=3)
        rows = [r for r in rows if r[1] - r[0] >= 4]  # not the separators' hairlines
        self.assertGreaterEqual(len(rows), 4, f"File menu entries found at {rows}")
        quit_top, quit_bottom = rows[-1]
        words = text_runs(opened, x0, x1, quit_top, quit_bottom + 1, menu_background, "x", 8)
        self.click(info, (words[0][0] + words[0][1]) // 2, (quit_top + quit_bottom) // 2)

        status, err = self.wait_exit()
        self.assertEqual(status, 0, err)
        self.assertIn(window, watcher.stop(), "the watcher missed the window being shown")

    def test_closing_the_window_ends_with_status_0(self):
        self.start()
        window, _ = self.shown_window()
        self.display.request_close(window)
        status, err = self.wait_exit()
        self.assertEqual(status, 0, err)

    def test_broken_main_document_exits_with_1_and_no_window(self):
        # Shadows the controls module with one whose plugin does not exist, so
        # that loading the main document fails at its imports.
        modules = tempfile.mkdtemp()
        try:
            for folder in ("QtQuick/Controls.2.15", "QtQuick/Controls.2", "QtQuick/Controls"):
                os.makedirs(os.path.join(modules, folder))
                with open(os.path.join(modules, folder, "qmldir"), "w") as f:
                    f.write("module QtQuick.Controls\nplugin orvalithmissingplugin\n")
            env = dict(os.environ, QML2_IMPORT_PATH=modules)
            watcher = MapWatcher(self.display)
            self.addCleanup(watcher.stop)
            self.start(env)
            status, err = self.wait_exit()
            maps = watcher.stop()
        finally:
            shutil.rmtree(modules, ignore_errors=True)
        self.assertIn("orvalithmissingplugin", err, "the document failed for another reason")
        self.assertEqual(status, 1, err)
        self.assertEqual(maps, [], "a window was shown")


if __name__ == "__main__":
    unittest.main(verbosity=2)
