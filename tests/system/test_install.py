#!/usr/bin/env python3
"""Builds the Debian package with CPack from the build tree, unpacks it into a
temporary root and checks what a user's machine would get: the program, its
desktop entry and software centre entry (passed through the desktop's own
validators), the icon at every size, dependencies on the Debian packages that
hold everything the program loads, and the unpacked program opening a picture
named on its command line."""
import glob
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
from xml.etree import ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import xdesktop  # noqa: E402
from orvalith_ui import Orvalith  # noqa: E402
from pictures import write_png  # noqa: E402

BUILD = os.path.dirname(os.path.dirname(os.path.abspath(os.environ["ORVALITH_EXE"])))
SOURCE = os.environ["ORVALITH_SOURCE_DIR"]
APP_ID = "app.orvalith.Orvalith"
ICON_SIZES = [16, 24, 32, 48, 64, 128, 256]
QML_DIR = "/usr/lib/x86_64-linux-gnu/qt5/qml"


def run(*command, cwd=None):
    return subprocess.run(command, cwd=cwd, check=True, capture_output=True, text=True).stdout


def package_of(path):
    """The Debian package installed here that holds path, which it may list
    with or without /usr in front: on a merged system the two are one folder."""
    bare = path[len("/usr"):] if path.startswith("/usr/") else path
    for candidate in (bare, "/usr" + bare):
        found = subprocess.run(["dpkg-query", "-S", candidate], capture_output=True, text=True)
        if found.returncode == 0:
            return found.stdout.split(":")[0]
    raise AssertionError(f"no package holds {path}")


def imported_modules():
    """The QML modules the documents import, as folders under QML_DIR."""
    modules = set()
    for document in glob.glob(os.path.join(SOURCE, "ui", "**", "*.qml"), recursive=True):
        with open(document, encoding="utf-8") as f:
            for name, major in re.findall(r"^import ([\w.]+) (\d+)\.", f.read(), re.M):
                if name != "Orvalith":  # the program's own, registered from C++
                    modules.add((name.replace(".", "/"), major))
    folders = []
    for path, major in sorted(modules):
        versioned = os.path.join(QML_DIR, f"{path}.{major}")
        folders.append(versioned if os.path.isdir(versioned) else os.path.join(QML_DIR, path))
    return folders


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="orvalith-deb-")
        run("cpack", "-G", "DEB", "-B", cls.work, "--config",
            os.path.join(BUILD, "CPackConfig.cmake"), cwd=BUILD)
        (cls.deb,) = glob.glob(os.path.join(cls.work, "*.deb"))
        cls.root = os.path.join(cls.work, "root")
        run("dpkg-deb", "-x", cls.deb, cls.root)
        cls.fields = {name: run("dpkg-deb", "-f", cls.deb, name).strip()
                      for name in ("Version", "Depends")}
        cls.depends = {re.split(r"[ (]", d.strip())[0]
                       for d in cls.fields["Depends"].split(",")}

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def path(self, *parts):
        return os.path.join(self.root, "usr", *parts)

    def test_files_and_validators(self):
        files = sorted(os.path.relpath(os.path.join(d, f), self.root)
                       for d, _, names in os.walk(self.root) for f in names)
        icons = [f"usr/share/icons/hicolor/{s}x{s}/apps/{APP_ID}.png" for s in ICON_SIZES]
        self.assertEqual(files, sorted(["usr/bin/orvalith",
                                        f"usr/share/applications/{APP_ID}.desktop",
                                        f"usr/share/metainfo/{APP_ID}.metainfo.xml"] + icons))
        for size, icon in zip(ICON_SIZES, icons):
            with open(os.path.join(self.root, icon), "rb") as f:
                self.assertEqual(struct.unpack(">II", f.read(24)[16:24]), (size, size), icon)

        desktop = self.path("share", "applications", f"{APP_ID}.desktop")
        checked = subprocess.run(["desktop-file-validate", desktop], capture_output=True,
                                 text=True)
        # Hints are advice (a program in two menus draws one); errors and warnings fail.
        self.assertEqual((checked.returncode, re.findall(r" (error|warning): .*", checked.stdout)),
                         (0, []), checked.stdout)
        entry = dict(re.findall(r"^(\w+)=(.*)$", open(desktop, encoding="utf-8").read(), re.M))
        self.assertTrue(os.access(self.path("bin", entry["Exec"].split()[0]), os.X_OK))
        self.assertEqual(entry["Icon"], APP_ID)  # the name the icons above are installed by
        self.assertLessEqual({"image/jpeg", "image/png"}, set(entry["MimeType"].split(";")))

        metainfo = self.path("share", "metainfo", f"{APP_ID}.metainfo.xml")
        run("appstreamcli", "validate", "--no-net", "--explain", metainfo)
        component = ElementTree.parse(metainfo).getroot()
        self.assertEqual(component.find("launchable").text, os.path.basename(desktop))
        self.assertEqual(component.find("releases/release").get("version"),
                         self.fields["Version"])

    def test_depends_on_what_the_program_loads(self):
        loaded = {"the QML module " + os.path.relpath(folder, QML_DIR): folder
                  for folder in imported_modules()}
        self.assertIn("the QML module Qt/labs/folderlistmodel", loaded)
        # Dialogs shows Qt's widget dialogs through these two, by a run-time import.
        loaded["the widget dialogs"] = os.path.join(QML_DIR, "QtQuick", "PrivateWidgets")
        loaded["the Controls 1 the dialogs use"] = os.path.join(QML_DIR, "QtQuick", "Controls")
        loaded["Qt's Spanish catalogue"] = "/usr/share/qt5/translations/qtbase_es.qm"
        loaded["the overlay's font"] = run("fc-match", "-f", "%{file}", "Liberation Sans")
        for what, path in loaded.items():
            with self.subTest(what):
                self.assertIn(package_of(path), self.depends)
        for name in self.depends:  # every one a package of this Debian release
            self.assertIn("ok installed", run("dpkg-query", "-W", "-f", "${Status}", name))

    def test_unpacked_program_opens_the_picture_it_is_given(self):
        picture = os.path.join(self.work, "eye photo.png")
        colour = (200, 120, 40)
        write_png(picture, 800, 400, lambda y: bytes(colour) * 800)
        screen = xdesktop.Screen()
        app = Orvalith(screen, os.environ["ORVALITH_SANDBOX"])

        def showing_picture():
            shot = app.window_shot()
            left, top, _, _ = app.drawing_area(shot)  # clear of the overlay at its corner
            return shot.pixel(left + 4, top + 4) == colour

        try:
            app.start(picture, executable=self.path("bin", "orvalith"))
            xdesktop.wait_until("the picture to be shown", showing_picture, timeout=30)
        finally:
            app.stop()
            screen.close()


if __name__ == "__main__":
    unittest.main()
