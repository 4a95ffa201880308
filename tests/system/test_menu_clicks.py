#!/usr/bin/env python3
"""The in-window menus with the real pointer and keyboard: a menu closed with
Escape while the pointer still rests on the bar leaves the next title to open
at the first click."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import xdesktop  # noqa: E402
from orvalith_ui import Orvalith  # noqa: E402
from xdesktop import key  # noqa: E402


class MenuClicks(unittest.TestCase):
    def setUp(self):
        self.screen = xdesktop.Screen()
        self.addCleanup(self.screen.close)
        self.app = Orvalith(self.screen, os.environ.get("ORVALITH_SANDBOX"))
        self.addCleanup(self.app.stop)
        self.app.start()

    def test_a_title_opens_at_the_first_click_after_escape(self):
        for title, then in [("File", "View"), ("View", "Help"), ("Help", "Help")]:
            box, _, before, _ = self.app._open_menu(title)
            key("Escape")
            self.app._close_menu(title, before, box)
            box, _, before, _ = self.app._open_menu(then)  # raises unless one click opened it
            key("Escape")
            self.app._close_menu(then, before, box)


if __name__ == "__main__":
    unittest.main()
