#!/usr/bin/env python3
"""Starts the real program and reads the size hints its window gives the window
manager: they are what keeps the window from being made smaller than its start
size, since nothing inside the program clamps a resize. The start size is
1024 x 800 where the screen has room for it, and otherwise fits the screen,
window manager's frame included. Runs on the usual test screen and on a
1366 x 768 one (see tests/CMakeLists.txt). The size and place the window was
left at come back at the next start, within the screen."""
import os
import re
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xdesktop import geometry, wait_until, windows_of  # noqa: E402

EXE = os.environ["ORVALITH_EXE"]
TIMEOUT = 60


def xprop(*args):
    return subprocess.run(["xprop", *map(str, args)], capture_output=True, text=True,
                          timeout=10).stdout


def screen_size():
    out = subprocess.run(["xwininfo", "-root"], capture_output=True, text=True,
                         timeout=10).stdout
    return (int(re.search(r"Width: (\d+)", out).group(1)),
            int(re.search(r"Height: (\d+)", out).group(1)))


def minimum_size(window):
    hints = xprop("-id", window, "WM_NORMAL_HINTS")
    found = re.search(r"program specified minimum size: (\d+) by (\d+)", hints)
    return (int(found.group(1)), int(found.group(2))) if found else None


def frame_extents(window):
    """(left, right, top, bottom) of the frame the window manager drew, or None."""
    found = re.search(r"= (\d+), (\d+), (\d+), (\d+)", xprop("-id", window, "_NET_FRAME_EXTENTS"))
    return tuple(int(v) for v in found.groups()) if found else None


SETTINGS = os.path.join(os.environ["XDG_CONFIG_HOME"], "Orvalith", "Orvalith.conf")


class MainWindowSize(unittest.TestCase):
    # Each test starts as a first run: nothing remembered of an earlier window.
    def setUp(self):
        if os.path.exists(SETTINGS):
            os.remove(SETTINGS)

    def start(self):
        process = subprocess.Popen([EXE], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(process.wait, timeout=20)
        self.addCleanup(process.terminate)
        return wait_until("the program's window", lambda: windows_of(process.pid), TIMEOUT)[0]

    def test_minimum_size_is_the_start_size(self):
        width, height = screen_size()
        expected = (min(1024, width), min(800, height))
        window = self.start()
        self.assertEqual(geometry(window)[2:], expected)
        self.assertEqual(minimum_size(window), expected)

    # With a frame around it, the whole window stays on the screen.
    def test_the_frame_fits_on_the_screen(self):
        manager = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.addCleanup(manager.wait, timeout=20)
        self.addCleanup(manager.terminate)
        wait_until("the window manager", lambda: "window id" in xprop(
            "-root", "_NET_SUPPORTING_WM_CHECK"), TIMEOUT)
        window = self.start()
        left, right, top, bottom = wait_until("the window's frame",
                                              lambda: frame_extents(window), TIMEOUT)
        width, height = screen_size()
        expected = (min(1024, width - left - right), min(800, height - top - bottom))
        wait_until(f"the window to take the size {expected}",
                   lambda: geometry(window)[2:] == expected, TIMEOUT)
        x, y, w, h = geometry(window)
        self.assertTrue(x - left >= 0 and y - top >= 0 and x + w + right <= width
                        and y + h + bottom <= height, f"the frame leaves the screen at {x},{y}")
        self.assertEqual(minimum_size(window), expected)

    # The size and place of the last run come back; a stored one that the screen
    # cannot hold is brought onto it.
    def test_size_and_place_come_back_within_the_screen(self):
        settings = SETTINGS
        width, height = screen_size()
        # Larger than the start size where the screen has room, never smaller.
        w, h = min(1100, width), min(830, height)
        expected = (min(20, width - w), min(30, height - h), w, h)
        window = self.start()
        subprocess.run(["xdotool", "windowsize", str(window), str(w), str(h)], check=True,
                       timeout=10)
        subprocess.run(["xdotool", "windowmove", str(window), str(expected[0]),
                        str(expected[1])], check=True, timeout=10)
        wait_until("the window to take its new place", lambda: geometry(window) == expected,
                   TIMEOUT)
        stored = [f"{name}={value}\n" for name, value in zip(("x", "y", "width", "height"),
                                                            expected)]
        wait_until("the window's place to be stored", lambda: os.path.exists(settings) and all(
            line in open(settings).read() for line in stored), TIMEOUT)
        self.doCleanups()
        window = self.start()
        wait_until(f"the window at {expected}", lambda: geometry(window) == expected, TIMEOUT)
        self.doCleanups()

        with open(settings) as f:
            text = f.read()
        for name, value in (("x", 5000), ("y", -300), ("width", 9000), ("height", 9000)):
            text = re.sub(rf"^{name}=.*$", f"{name}={value}", text, flags=re.M)
        with open(settings, "w") as f:
            f.write(text)
        window = self.start()
        wait_until("the window on the screen", lambda: (
            lambda x, y, w, h: x >= 0 and y >= 0 and x + w <= width and y + h <= height
            and w >= min(1024, width))(*geometry(window)), TIMEOUT)


if __name__ == "__main__":
    unittest.main()
