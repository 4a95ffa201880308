#!/usr/bin/env python3
"""Starts the real program and reads the size hints its window gives the window
manager: they are what keeps the window from being made smaller than its start
size, since nothing inside the program clamps a resize. The start size is
1024 x 800 where the screen has room for it, and otherwise fits the screen,
window manager's frame included. Runs on the usual test screen and on a
1366 x 768 one (see tests/CMakeLists.txt)."""
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


class MainWindowSize(unittest.TestCase):
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


if __name__ == "__main__":
    unittest.main()
