"""The X server as a user meets it: what is on the screen, the pointer, the
keyboard, windows and the clipboard. Pointer and keys go through xdotool (real
X input events), the clipboard through xclip; screenshots come straight from
Xlib, since no screenshot tool is installed.

Every wait here is bounded: a function that waits takes a timeout and raises
WaitTimeout when it runs out.
"""
import ctypes
import os
import struct
import subprocess
import time
import zlib


class WaitTimeout(AssertionError):
    """A wait ran out; an AssertionError, so that a test reports it as a failure."""


def wait_until(what, condition, timeout=20.0, interval=0.1):
    """Polls condition() until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise WaitTimeout(f"gave up after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


# --- Screenshots ---------------------------------------------------------------------


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


class Shot:
    """A rectangle of the screen, as 8-bit RGB: pixel(x, y) in the shot's own
    coordinates; origin is where its top-left corner was on the screen."""

    def __init__(self, width, height, rgb, origin=(0, 0)):
        self.width, self.height, self.rgb, self.origin = width, height, rgb, origin

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]

    def crop(self, x, y, width, height):
        rows = [self.rgb[3 * ((y + j) * self.width + x):3 * ((y + j) * self.width + x + width)]
                for j in range(height)]
        return Shot(width, height, b"".join(rows),
                    (self.origin[0] + x, self.origin[1] + y))

    def __eq__(self, other):
        return isinstance(other, Shot) and (self.width, self.height, self.rgb) == (
            other.width, other.height, other.rgb)

    def save_png(self, path):
        stride = 3 * self.width
        raw = b"".join(b"\0" + self.rgb[y * stride:(y + 1) * stride] for y in range(self.height))

        def chunk(kind, data):
            return (struct.pack(">I", len(data)) + kind + data
                    + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                    + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


class Screen:
    """Reads the screen through Xlib. Popups, menus and dialogs are all on it,
    since nothing composites under Xvfb."""

    def __init__(self):
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XGetImage.restype = ctypes.POINTER(_XImage)
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._x = x
        self._display = x.XOpenDisplay(None)
        if not self._display:
            raise RuntimeError("cannot open the X display " + os.environ.get("DISPLAY", ""))
        # A request that fails (a window gone meanwhile) must not end this process.
        self._ignore_errors = _ERROR_HANDLER(lambda display, event: 0)
        x.XSetErrorHandler(self._ignore_errors)
        self._root = x.XDefaultRootWindow(self._display)

    def close(self):
        if self._display:
            self._x.XCloseDisplay(self._display)
            self._display = None

    def grab(self, x, y, width, height):
        all_planes, z_pixmap = 0xFFFFFFFF, 2
        image = self._x.XGetImage(self._display, self._root, x, y, width, height, all_planes,
                                  z_pixmap)
        if not image:
            raise RuntimeError(f"cannot read the screen at {x},{y} {width}x{height}")
        try:
            im = image.contents
            if im.bits_per_pixel != 32:
                raise RuntimeError(f"unexpected {im.bits_per_pixel}-bit screen image")
            data = ctypes.string_at(im.data, im.bytes_per_line * im.height)
        finally:
            self._x.XDestroyImage(image)
        rgb = bytearray(3 * width * height)
        for row in range(height):
            bgrx = data[row * im.bytes_per_line:row * im.bytes_per_line + 4 * width]
            out = 3 * width * row
            rgb[out:out + 3 * width:3] = bgrx[2::4]
            rgb[out + 1:out + 3 * width:3] = bgrx[1::4]
            rgb[out + 2:out + 3 * width:3] = bgrx[0::4]
        return Shot(width, height, bytes(rgb), (x, y))

    def settled(self, x, y, width, height, timeout=15.0, quiet=0.25):
        """A grab taken once the rectangle has stopped changing (animations
        and repaints done): two grabs `quiet` seconds apart that are equal."""
        previous = self.grab(x, y, width, height)

        def same_again():
            nonlocal previous
            time.sleep(quiet)
            current = self.grab(x, y, width, height)
            done, previous = current == previous, current
            return current if done else None

        return wait_until("the screen to settle", same_again, timeout, interval=0)


# --- Pointer, keyboard, windows ---------------------------------------------------------


def xdotool(*args, timeout=15):
    done = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                          timeout=timeout)
    return done.stdout


def move(x, y):
    xdotool("mousemove", round(x), round(y))
    time.sleep(0.03)  # lets the server deliver the motion before what follows


def click(x, y, button=1):
    move(x, y)
    xdotool("click", button)


def drag(points, pause=0.03):
    """Presses the left button at the first point, moves through the others
    one event each, and releases at the last. The pointer arrives at the first
    point with a small move of its own, as a hand's does: a pointer that jumps
    into a window only enters it, and moves nothing there."""
    move(points[0][0] - 3, points[0][1])
    time.sleep(0.05)
    move(*points[0])
    time.sleep(0.1)
    xdotool("mousedown", 1)
    time.sleep(0.1)
    for x, y in points[1:]:
        xdotool("mousemove", round(x), round(y))
        time.sleep(pause)
    time.sleep(0.1)
    xdotool("mouseup", 1)


def key(*keys):
    xdotool("key", "--clearmodifiers", *keys)


def type_text(text):
    xdotool("type", "--delay", 5, text, timeout=60)


def windows_of(pid):
    """Ids of the visible top-level windows of a process."""
    return [int(w) for w in xdotool("search", "--onlyvisible", "--pid", pid).split()]


def window_named(pid, name, timeout=20.0):
    """The visible window of the process whose title is exactly name."""
    def find():
        for window in windows_of(pid):
            if xdotool("getwindowname", window).strip() == name:
                return window
        return None

    return wait_until(f'a window titled "{name}"', find, timeout)


def window_gone(pid, window, timeout=20.0):
    wait_until(f"window {window} to close", lambda: window not in windows_of(pid), timeout)


def geometry(window):
    """(x, y, width, height) of a window on the screen."""
    out = subprocess.run(["xwininfo", "-id", str(window)], capture_output=True, text=True,
                         timeout=10).stdout
    fields = {}
    for line in out.splitlines():
        name, sep, value = line.strip().partition(":")
        if sep:
            fields[name.strip()] = value.strip()
    return (int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
            int(fields["Width"]), int(fields["Height"]))


def focus(window):
    xdotool("windowfocus", "--sync", window)


# --- Clipboard ------------------------------------------------------------------------


class ClipboardOffer:
    """Owns the clipboard, as a program that has just copied something does,
    until stop(). xclip stays in the foreground (-quiet), so that this object
    owns its process and ends it."""

    def __init__(self, data, target):
        self._process = subprocess.Popen(
            ["xclip", "-quiet", "-selection", "clipboard", "-t", target, "-i"],
            stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._process.stdin.write(data)
        self._process.stdin.close()

    def stop(self):
        if self._process.poll() is None:
            self._process.terminate()
            self._process.wait(timeout=10)


def clipboard_targets():
    """The formats that the clipboard's owner offers now."""
    done = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "TARGETS"],
                          capture_output=True, text=True, timeout=10)
    return done.stdout.split()
