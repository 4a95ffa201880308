#!/usr/bin/env python3
"""Starts the real program and reads the size hints its window gives the window
manager: it is what keeps the window from being made smaller than 1024 x 800,
since nothing inside the program clamps a resize."""
import os
import re
import subprocess
import time
import unittest

EXE = os.environ["ORVALITH_EXE"]
TIMEOUT = 60


def program_window(pid):
    """The id of the program's visible top-level window, once it is mapped."""
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                             capture_output=True, text=True, timeout=10).stdout.split()
        if out:
            return int(out[0])
        time.sleep(0.2)
    raise AssertionError("the program showed no window")


class MainWindowSize(unittest.TestCase):
    def test_minimum_size_is_the_start_size(self):
        process = subprocess.Popen([EXE], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            window = program_window(process.pid)
            hints = subprocess.run(["xprop", "-id", str(window), "WM_NORMAL_HINTS"],
                                   capture_output=True, text=True, timeout=10).stdout
            minimum = re.search(r"program specified minimum size: (\d+) by (\d+)", hints)
            self.assertIsNotNone(minimum, hints)
            self.assertEqual((int(minimum.group(1)), int(minimum.group(2))), (1024, 800))
        finally:
            process.terminate()
            process.wait(timeout=20)


if __name__ == "__main__":
    unittest.main()
