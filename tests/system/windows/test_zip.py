#!/usr/bin/env python3
"""Makes the Windows ZIP with CPack, unpacks it into an empty folder and starts
orvalith.exe from there under Wine, in a Wine prefix of its own and with no Qt on
any path, on a picture named on its command line as a Windows path: the window
must show the picture, and the settings the program stores must land in the
prefix's registry under the organisation's and the program's names."""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

import xdesktop  # noqa: E402
from pictures import write_png  # noqa: E402

BUILD = os.environ["ORVALITH_BUILD_DIR"]
MAGENTA, TEAL = bytes((230, 20, 200)), bytes((20, 160, 150))


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def picture_pixels(shot, colour):
    """How many pixels of the shot are within a few levels of colour."""
    count = 0
    for i in range(0, len(shot.rgb), 3):
        if all(abs(shot.rgb[i + c] - colour[c]) <= 12 for c in range(3)):
            count += 1
    return count


class ZipRunsAlone(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="orvalith-zip-")
        subprocess.run(["cpack", "-G", "ZIP", "-B", cls.work, "--config",
                        os.path.join(BUILD, "CPackConfig.cmake")], cwd=BUILD, check=True,
                       capture_output=True)
        (cls.zip,) = glob.glob(os.path.join(cls.work, "*.zip"))
        cls.folder = os.path.join(cls.work, "unpacked")
        os.mkdir(cls.folder)
        with zipfile.ZipFile(cls.zip) as archive:
            archive.extractall(cls.folder)
        (cls.exe,) = glob.glob(os.path.join(cls.folder, "*", "orvalith.exe"))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def wine_environment(self, prefix):
        """Only what Wine needs: no WINEPATH, no Qt plugin or QML paths."""
        keep = ("DISPLAY", "HOME", "USER", "LANG", "LC_ALL", "TMPDIR")
        env = {name: os.environ[name] for name in keep if name in os.environ}
        env.update(PATH="/usr/bin:/bin", WINEPREFIX=prefix, WINEDEBUG="-all",
                   WINEDLLOVERRIDES="mscoree,mshtml=")
        return env

    def test_unpacked_program_shows_a_picture_and_keeps_its_settings(self):
        picture = os.path.join(self.work, "eye.png")
        write_png(picture, 320, 240, lambda y: (MAGENTA * 160 + TEAL * 160))
        prefix = os.path.join(self.work, "prefix")
        env = self.wine_environment(prefix)
        program_dir = os.path.dirname(self.exe)
        self.assertFalse(glob.glob(os.path.join(program_dir, "..", "*.dll")))
        for dll in ("Qt5Core.dll", "Qt5Quick.dll", "libstdc++-6.dll", "libwinpthread-1.dll",
                    "platforms/qwindows.dll", "imageformats/qjpeg.dll",
                    "printsupport/windowsprintersupport.dll", "styles/qwindowsvistastyle.dll",
                    "QtQuick/Dialogs/qmldir", "Qt/labs/folderlistmodel/qmldir",
                    "QtQml/qmldir", "translations/qt_es.qm"):
            self.assertTrue(os.path.exists(os.path.join(program_dir, dll)), dll)

        # A new prefix takes tens of seconds to make; it is made before the program
        # starts, so that the program's own start is what is waited for.
        subprocess.run(["wineboot", "-i"], env=env, check=True, capture_output=True,
                       timeout=240)
        program = subprocess.Popen(["wine", windows_path(self.exe), windows_path(picture)],
                                   cwd=program_dir, env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        screen = xdesktop.Screen()
        try:
            def shows_picture():
                shot = screen.grab(0, 0, 1600, 1200)
                return picture_pixels(shot, MAGENTA) > 2000 and picture_pixels(shot, TEAL) > 2000
            xdesktop.wait_until("the window showing the picture", shows_picture, timeout=120)
            window = subprocess.run(["xdotool", "search", "--name", "Orvalith"],
                                    capture_output=True, text=True, env=env).stdout.split()
            self.assertTrue(window, "no window named Orvalith")
        finally:
            screen.close()
            # Asked to close as Windows asks a program (WM_CLOSE), so that it ends
            # the usual way and writes its settings; the Wine server writes the
            # registry out as it stops.
            subprocess.run(["wine", "taskkill", "/IM", "orvalith.exe"], env=env,
                           capture_output=True)
            try:
                program.wait(60)
            finally:
                program.kill()
                subprocess.run(["wineserver", "-w"], env=env)

        with open(os.path.join(prefix, "user.reg"), encoding="utf-8") as f:
            registry = f.read()
        self.assertIn("[Software\\\\Orvalith\\\\Orvalith\\\\MainPage]", registry)


if __name__ == "__main__":
    unittest.main()
