#!/usr/bin/env python3
"""tests/system/test_menu_clicks.py on orvalith.exe under Wine: the in-window
menus with the real pointer and keyboard. The page is read as on Linux
(orvalith_ui.py), from the program's own pixels inside the frame Wine draws."""
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

import orvalith_ui  # noqa: E402
import test_menu_clicks  # noqa: E402
import xdesktop  # noqa: E402
from wine_desktop import EXE, frame  # noqa: E402


class WineOrvalith(orvalith_ui.Orvalith):
    def start(self, *arguments, executable=None):
        self.messages = tempfile.TemporaryFile(mode="w+")
        self.process = subprocess.Popen(["wine", executable or EXE, *arguments],
                                        stdout=subprocess.DEVNULL, stderr=self.messages)
        self.window = xdesktop.window_named(self.process.pid, "Orvalith", timeout=60)
        geometry = xdesktop.geometry(self.window)
        inside = frame(geometry, orvalith_ui.WINDOW_SIZE)
        if inside is None:
            raise AssertionError(f"the window {geometry} holds no 1024 x 800 inside a frame")
        self.x, self.y = geometry[0] + inside[0], geometry[1] + inside[1]
        xdesktop.wait_until("the window's first frame (its light menu bar)",
                            lambda: orvalith_ui.luminance(self.window_shot().pixel(3, 3)) > 60,
                            timeout=60)
        self._read_layout(self.window_shot("start"))


# The Linux test makes its program through the name it imported.
test_menu_clicks.Orvalith = WineOrvalith


class WineMenuClicks(test_menu_clicks.MenuClicks):
    pass


if __name__ == "__main__":
    unittest.main()
