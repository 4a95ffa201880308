#!/usr/bin/env python3
"""The start-up checks of tests/system/test_startup.py, run on orvalith.exe under
Wine: the window appears with its title, its 1024 x 800 inside and its menu bar,
File > Quit and closing the window end the program with status 0, and a main
document that cannot load ends it with status 1 before any window is shown.

What differs under Wine: the program is started through "wine"; Wine draws the
window's frame itself (no window manager takes its windows), so the X window
is the whole Windows window and the program's own pixels sit inside the frame;
a Windows program that has no console writes Qt's messages to the debugger's
output, which Wine writes to its own stderr when asked (warn+seh); and QML
module folders are named as Windows paths, before Qt's own."""
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

import test_startup  # noqa: E402
import xdesktop  # noqa: E402
from wine_desktop import frame, windows_path  # noqa: E402

WIDTH, HEIGHT = 1024, 800


class WineStartup(test_startup.Startup):
    def start(self, env=None):
        env = dict(env if env is not None else os.environ)
        env["WINEDEBUG"] = "-all,warn+seh"
        shadow = env.get("QML2_IMPORT_PATH")
        if shadow != os.environ.get("QML2_IMPORT_PATH"):
            env["QML2_IMPORT_PATH"] = windows_path(shadow) + ";" + os.environ["QML2_IMPORT_PATH"]
        self.messages = tempfile.TemporaryFile(mode="w+")
        self.addCleanup(self.messages.close)
        self.process = subprocess.Popen(["wine", test_startup.EXE], env=env,
                                        stdout=subprocess.DEVNULL, stderr=self.messages)

    def shown_window(self):
        window = self.find_window()
        info = test_startup.window_info(window)
        self.assertEqual(info.get("Name"), "Orvalith")
        self.assertEqual(info["Map State"], "IsViewable")
        width, height = int(info["Width"]), int(info["Height"])
        self.inside = frame((0, 0, width, height), (WIDTH, HEIGHT))
        self.assertIsNotNone(self.inside,
                             f"a {width} x {height} window holds no 1024 x 800 inside a frame")
        # Once drawn, the coloured title bar ends just above the inside (its last
        # row is a light line) and the light menu bar fills the inside's top row.
        x, y = self.inside
        middle = x + WIDTH // 2

        def title_bar_ends_there():
            pixels = self.display.grab(window, width, height)
            light = test_startup.luminance
            return pixels is not None and light(pixels[y - 2][middle]) < 150 and \
                light(pixels[y][middle]) > 150 and light(pixels[y][x]) > 150

        xdesktop.wait_until("the title bar to end where the inside begins", title_bar_ends_there,
                            timeout=test_startup.START_TIMEOUT)
        return window, dict(info, Width=str(WIDTH), Height=str(HEIGHT))

    def settled_screenshot(self, window, width, height, name):
        grab = self.display.grab
        x, y = self.inside

        def inside(window, w, h):
            pixels = grab(window, x + w, y + h)
            return None if pixels is None else [row[x:x + w] for row in pixels[y:y + h]]

        self.display.grab = inside
        try:
            return super().settled_screenshot(window, width, height, name)
        finally:
            self.display.grab = grab

    def click(self, info, x, y):
        super().click(info, self.inside[0] + x, self.inside[1] + y)


if __name__ == "__main__":
    unittest.main(verbosity=2)
