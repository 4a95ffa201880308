#!/usr/bin/env python3
"""Pastes into the real orvalith.exe under Wine what another Windows program put
on the clipboard: a picture's pixels offered through OLE (as most programs copy a
picture) and a copied picture file (CF_HDROP, as Explorer's Copy puts it). The offers come from
clipboard_offer.exe, a plain Win32 program built beside the tests, which stays
the clipboard's owner until the paste is done. Ctrl+V pastes; the window must
then show the picture's two colours, which it did not show before."""
import os
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

import xdesktop  # noqa: E402
from pictures import write_png  # noqa: E402
from wine_desktop import BUILD, Program, colour_count, screen_size, windows_path  # noqa: E402

OFFER = os.path.join(BUILD, "bin", "clipboard_offer.exe")
MAGENTA, TEAL = (230, 20, 200), (20, 160, 150)
ORANGE, BLUE = (240, 140, 20), (30, 60, 220)


def write_bmp(path, width, height, left, right):
    """A 24-bit BMP, bottom row first, its left half one colour, its right half another."""
    row = bytes(reversed(left)) * (width // 2) + bytes(reversed(right)) * (width - width // 2)
    row += b"\0" * (-len(row) % 4)
    pixels = row * height
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)


class PasteFromAnotherProgram(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="orvalith-paste-", dir=os.environ.get("ORVALITH_SANDBOX"))
        self.program = Program()
        self.addCleanup(self.program.stop)
        self.screen = xdesktop.Screen()
        self.addCleanup(self.screen.close)

    def offer(self, kind, path):
        """Starts clipboard_offer.exe and waits until its offer is on the clipboard."""
        ready = os.path.join(self.work, f"ready-{kind}")
        owner = subprocess.Popen(["wine", OFFER, kind, windows_path(path), windows_path(ready)],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

        def offered():
            if owner.poll() not in (None, 0):
                self.fail(f"clipboard_offer.exe failed: {owner.stderr.read().decode()}")
            return os.path.exists(ready)

        xdesktop.wait_until(f"the {kind} on the clipboard", offered, timeout=60)
        self.addCleanup(lambda: owner.poll() is None and owner.kill())
        return owner

    def paste_and_see(self, colours):
        """Ctrl+V in the program's window, then both colours on the screen."""
        x, y, width, height = self.program.geometry()
        before = self.screen.grab(x, y, width, height)
        self.assertFalse(any(colour_count(before, c) > 100 for c in colours),
                         "the picture's colours are on the screen before the paste")
        # Into the window first: a click on its title bar, which Wine draws.
        xdesktop.click(x + width // 2, y + 8)
        xdesktop.key("ctrl+v")

        def shows():
            shot = self.screen.grab(x, y, width, height)
            return all(colour_count(shot, c) > 2000 for c in colours)

        try:
            xdesktop.wait_until("the pasted picture in the window", shows, timeout=30)
        except AssertionError:
            self.screen.grab(0, 0, *screen_size()).save_png(
                os.path.join(self.work, "not-pasted.png"))
            raise

    def test_copied_pixels_then_a_copied_file(self):
        # Pixels offered through OLE, as most programs that copy a picture do.
        bmp = os.path.join(self.work, "copied.bmp")
        write_bmp(bmp, 320, 240, MAGENTA, TEAL)
        self.offer("image", bmp)
        self.paste_and_see([MAGENTA, TEAL])

        # A file named with a space and an accent, as Explorer copies it.
        png = os.path.join(self.work, "ojo izquierdo ñ.png")
        write_png(png, 320, 240, lambda y: bytes(ORANGE) * 160 + bytes(BLUE) * 160)
        self.offer("file", png)
        self.paste_and_see([ORANGE, BLUE])

    # Qt reads the Windows clipboard through OLE (OleGetClipboard). Wine 8's OLE
    # gives a reader no storage for a bitmap that a program put there with
    # SetClipboardData alone (its get_tymed_from_nonole_cf has no medium for
    # CF_DIB or CF_DIBV5: "returning TYMED_NULL for cf 0008"), so the paste
    # finds the format but cannot fetch it. Windows' own OLE serves it; text and
    # CF_HDROP offered that way are served under Wine too (the file above).
    @unittest.skip("Wine 8's OLE cannot fetch a CF_DIB set by SetClipboardData alone")
    def test_pixels_copied_without_ole(self):
        bmp = os.path.join(self.work, "screenshot.bmp")
        write_bmp(bmp, 320, 240, TEAL, MAGENTA)
        self.offer("image-plain", bmp)
        self.paste_and_see([TEAL, MAGENTA])


if __name__ == "__main__":
    unittest.main()
