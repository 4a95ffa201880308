"""The real orvalith.exe under Wine, seen from outside: started in the Wine set-up
that platform/windows/wine-run.sh exports (the test runs through it), its window
found on the X server and its pixels read. Wine draws the window's frame itself
(its windows are left to no window manager), so the X window is the whole
Windows window, frame included."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

import xdesktop  # noqa: E402

EXE = os.environ["ORVALITH_EXE"]
BUILD = os.path.dirname(os.path.dirname(EXE))


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def colour_count(shot, colour, within=12):
    """How many pixels of the shot are within a few levels of colour."""
    count = 0
    rgb = shot.rgb
    for i in range(0, len(rgb), 3):
        if (abs(rgb[i] - colour[0]) <= within and abs(rgb[i + 1] - colour[1]) <= within
                and abs(rgb[i + 2] - colour[2]) <= within):
            count += 1
    return count


def screen_size():
    out = subprocess.run(["xwininfo", "-root"], capture_output=True, text=True,
                         timeout=10).stdout
    fields = dict(line.strip().split(":", 1) for line in out.splitlines() if ":" in line)
    return int(fields["Width"]), int(fields["Height"])


class Program:
    """orvalith.exe started with arguments; stop() asks it to close as Windows
    asks a program (WM_CLOSE) and waits for it."""

    def __init__(self, *arguments):
        self.process = subprocess.Popen(["wine", EXE, *arguments], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.window = xdesktop.wait_until("the program's window", self._window, timeout=90)

    @staticmethod
    def _window():
        found = xdesktop.xdotool("search", "--onlyvisible", "--name", "^Orvalith$").split()
        return int(found[0]) if found else None

    def geometry(self):
        return xdesktop.geometry(self.window)

    def stop(self):
        subprocess.run(["wine", "taskkill", "/IM", "orvalith.exe"], capture_output=True,
                       timeout=60)
        try:
            self.process.wait(60)
        finally:
            if self.process.poll() is None:
                self.process.kill()
                self.process.wait(10)


def frame(geometry, inside=(1024, 800)):
    """(left, top) of the program's own pixels in the X window of a Windows
    window whose inside has the given size: Wine draws equal borders at the
    sides and the bottom and a title bar above. None if the window's size
    holds no such inside."""
    width, height = geometry[2:]
    border = (width - inside[0]) // 2
    title = height - inside[1] - 2 * border
    if width - inside[0] != 2 * border or not 0 <= border <= 8 or not 12 <= title <= 40:
        return None
    return border, border + title
