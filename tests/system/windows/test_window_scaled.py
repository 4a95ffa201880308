#!/usr/bin/env python3
"""The real orvalith.exe on a laptop's screen, 1366 x 768, with Windows set to
150 % (Wine's dots per inch at 144; see tests/windows.cmake), which Qt 5 rounds
to twice the size: the whole window, the frame Wine draws included, lies on the
screen, and it is drawn at the larger scale, so wider than the 1024 pixels of
its usual start size. That the tool panel's last buttons scroll into view and
answer a click at this scale is checked inside the window by
qml.tst_main_small_screens's 150 % run."""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

import xdesktop  # noqa: E402
from wine_desktop import Program, screen_size  # noqa: E402


class WindowAtLargerScale(unittest.TestCase):
    def test_the_window_fits_the_screen(self):
        width, height = screen_size()
        self.assertEqual((width, height), (1366, 768))
        program = Program()
        self.addCleanup(program.stop)

        # The window takes its start size once shown: read it when it holds still.
        last = []

        def steady():
            last.append(program.geometry())
            time.sleep(0.3)
            return len(last) > 3 and len(set(last[-4:])) == 1

        xdesktop.wait_until("the window to keep its size", steady, timeout=60)
        x, y, w, h = last[-1]
        self.assertTrue(x >= 0 and y >= 0 and x + w <= width and y + h <= height,
                        f"the window at {x},{y} {w}x{h} leaves the {width}x{height} screen")
        self.assertGreater(w, 1024, "the window is not drawn at the larger scale")


if __name__ == "__main__":
    unittest.main()
