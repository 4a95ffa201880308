#!/usr/bin/env python3
"""Compiles the Windows resource script with the MinGW resource compiler against
the icon file the build generated (in the Windows build: takes the resources out
of orvalith.exe), reads the compiled resources back and checks the icon group and
the manifest; also checks the two pictures of the resource tree."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib
from xml.etree import ElementTree

RT_ICON, RT_GROUP_ICON, RT_MANIFEST = 3, 14, 24
ICON_SIZES = [16, 24, 32, 48, 192]

EXE = os.environ["ORVALITH_EXE"]
SOURCE = os.environ["ORVALITH_SOURCE_DIR"]
BUILD = os.path.dirname(os.path.dirname(os.path.abspath(EXE)))
RC_DIR = os.path.join(SOURCE, "platform", "windows")
ICO_DIR = os.path.join(BUILD, "platform", "windows")


# --- Readers -----------------------------------------------------------------------


def read_res(data):
    """The records of a 32-bit .res file as {(type, name): (language, bytes)}.
    Types and names are numbers or upper-case strings."""
    records = {}
    pos = 0
    while pos + 8 <= len(data):
        size, header_size = struct.unpack_from("<II", data, pos)
        field = pos + 8
        kind, field = read_name(data, field)
        name, field = read_name(data, field)
        field = (field + 3) & ~3
        _, _, language = struct.unpack_from("<IHH", data, field)
        body = data[pos + header_size:pos + header_size + size]
        if size or kind:  # the leading empty record only marks the format
            assert (kind, name) not in records, f"resource {kind}/{name} twice"
            records[(kind, name)] = (language, body)
        pos = (pos + header_size + size + 3) & ~3
    return records


def read_name(data, pos):
    (first,) = struct.unpack_from("<H", data, pos)
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def read_png(path):
    """(width, height, bit depth, colour type, straight RGBA rows) of an 8-bit
    RGBA PNG; any of the five row filters."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG file"
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 6, 0):
        return width, height, depth, colour, None
    raw = zlib.decompress(idat)
    stride, bpp = width * 4, 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up, up_left = previous[i], previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - up_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else up_left
                line[i] = (line[i] + pred) & 0xFF
        rows.append(bytes(line))
        previous = line
    return width, height, depth, colour, rows


def read_icon_image(dib):
    """Size, bit count and top-down RGBA rows of a 32-bit icon image."""
    if dib[:8] == b"\x89PNG\r\n\x1a\n":
        raise AssertionError("PNG-compressed icon images are not expected here")
    _, width, height, _, bits = struct.unpack_from("<IiiHH", dib, 0)
    rows = []
    for y in range(width):
        start = 40 + (width - 1 - y) * width * 4
        bgra = dib[start:start + width * 4]
        rows.append(b"".join(bytes((bgra[i + 2], bgra[i + 1], bgra[i], bgra[i + 3]))
                             for i in range(0, len(bgra), 4)))
    return width, height, bits, rows


def windres():
    tool = shutil.which("x86_64-w64-mingw32-windres")
    if not tool:
        raise RuntimeError("x86_64-w64-mingw32-windres is missing (binutils-mingw-w64-x86-64)")
    command = [tool]
    # windres preprocesses with the MinGW compiler; when only binutils are
    # present the host's C preprocessor does the same job for our script.
    if not shutil.which("x86_64-w64-mingw32-gcc"):
        command.append("--preprocessor=cpp")
    return command + ["-I", ICO_DIR, "-I", RC_DIR]


# --- Tests ---------------------------------------------------------------------------


class WindowsResources(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        rc = os.path.join(RC_DIR, "orvalith.rc")
        cls.res_path = os.path.join(cls.tmp, "orvalith.res")
        # In the Windows build, read back from orvalith.exe itself; elsewhere from
        # the script compiled here, from an unrelated working folder as a build would.
        source = EXE if EXE.endswith(".exe") else rc
        subprocess.run(windres() + ["-i", source, "-O", "res", "-o", cls.res_path], check=True,
                       cwd=cls.tmp, timeout=60)
        with open(cls.res_path, "rb") as f:
            cls.records = read_res(f.read())

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def test_only_icon_and_manifest(self):
        kinds = sorted({kind for kind, _ in self.records})
        self.assertEqual(kinds, [RT_ICON, RT_GROUP_ICON, RT_MANIFEST])  # no version resource

    def group_entries(self):
        self.assertIn((RT_GROUP_ICON, "IDI_ICON1"), self.records)
        _, group = self.records[(RT_GROUP_ICON, "IDI_ICON1")]
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        self.assertEqual((reserved, kind), (0, 1))
        self.assertEqual(len(group), 6 + 14 * count)
        return [struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i) for i in range(count)]

    def test_icon_group_lists_five_32_bit_sizes(self):
        entries = self.group_entries()
        sizes = sorted(width or 256 for width, *_ in entries)
        self.assertEqual(sizes, ICON_SIZES)
        for width, height, colours, _, planes, bits, size, icon_id in entries:
            with self.subTest(size=width):
                self.assertEqual((height, colours, planes, bits), (width, 0, 1, 32))
                # Each entry points at an icon image of that size and length.
                _, dib = self.records[(RT_ICON, icon_id)]
                self.assertEqual(len(dib), size)
                w, h, dib_bits, rows = read_icon_image(dib)
                self.assertEqual((w, h, dib_bits), (width, 2 * width, 32))
                alphas = [row[i] for row in rows for i in range(3, len(row), 4)]
                self.assertEqual(alphas[0], 0, "corner should be transparent")
                self.assertEqual(alphas[width * (width // 2) + width // 2], 255)

    def test_large_icon_image_is_the_resource_tree_icon(self):
        entries = {e[0] or 256: e for e in self.group_entries()}
        _, dib = self.records[(RT_ICON, entries[192][7])]
        _, _, _, ico_rows = read_icon_image(dib)
        _, _, _, _, png_rows = read_png(os.path.join(BUILD, "img", "icon.png"))
        self.assertEqual(ico_rows, png_rows)

    def test_small_icon_images_are_drawn_for_their_size(self):
        # Each size has its own picture: the 16 px image is not the 32 px one
        # halved, and every image keeps the emblem's dark outline and light ground.
        entries = {e[0]: e for e in self.group_entries()}
        for size in (16, 24, 32, 48):
            _, _, _, rows = read_icon_image(self.records[(RT_ICON, entries[size][7])][1])
            opaque = [row[i:i + 3] for row in rows for i in range(0, len(row), 4)
                      if row[i + 3] == 255]
            with self.subTest(size=size):
                self.assertTrue(any(max(p) < 90 for p in opaque), "no dark outline")
                self.assertTrue(any(min(p) > 200 for p in opaque), "no light ground")

    def test_manifest(self):
        self.assertIn((RT_MANIFEST, 1), self.records)
        language, body = self.records[(RT_MANIFEST, 1)]
        self.assertEqual(language, 0)
        root = ElementTree.fromstring(body)
        v1, v3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
        level = root.find(f"{v3}trustInfo/{v3}security/{v3}requestedPrivileges/"
                          f"{v3}requestedExecutionLevel")
        self.assertIsNotNone(level)
        self.assertEqual(level.get("level"), "asInvoker")
        self.assertEqual(level.get("uiAccess"), "false")
        identity = root.find(f"{v1}dependency/{v1}dependentAssembly/{v1}assemblyIdentity")
        self.assertIsNotNone(identity)
        self.assertEqual(dict(identity.attrib), {
            "type": "win32",
            "name": "Microsoft.Windows.Common-Controls",
            "version": "6.0.0.0",
            "processorArchitecture": "*",
            "publicKeyToken": "6595b64144ccf1df",
            "language": "*",
        })

    def test_compiles_to_an_x86_64_object(self):
        obj = os.path.join(self.tmp, "orvalith.res.obj")
        rc = os.path.join(RC_DIR, "orvalith.rc")
        subprocess.run(windres() + ["-O", "coff", rc, obj], check=True, cwd=self.tmp, timeout=60)
        with open(obj, "rb") as f:
            machine, sections = struct.unpack("<HH", f.read(4))
        self.assertEqual(machine, 0x8664)
        self.assertGreaterEqual(sections, 1)


class ResourceTreePictures(unittest.TestCase):
    def load(self, name):
        width, height, depth, colour, rows = read_png(os.path.join(BUILD, "img", name))
        self.assertEqual((width, height, depth, colour), (192, 192, 8, 6), "192 x 192, 8-bit RGBA")
        return [[row[i:i + 4] for i in range(0, len(row), 4)] for row in rows]

    def test_icon_has_transparent_corners_and_an_opaque_body(self):
        pixels = self.load("icon.png")
        for x, y in [(0, 0), (191, 0), (0, 191), (191, 191), (3, 3), (188, 188)]:
            self.assertEqual(pixels[y][x][3], 0, f"corner pixel {x},{y}")
        self.assertEqual(pixels[96][96][3], 255)
        self.assertEqual(pixels[96][8][3], 255, "the square reaches the edge's middle")
        # Anti-aliased: partly covered pixels along the rounded corners.
        self.assertTrue(any(0 < p[3] < 255 for row in pixels[:40] for p in row[:40]))

    def test_watermark_is_white_on_transparent(self):
        pixels = self.load("watermark_lumo.png")
        visible = [p for row in pixels for p in row if p[3] > 0]
        self.assertTrue(all(p[:3] == b"\xff\xff\xff" for p in visible), "only white pixels")
        # An emblem, not a filled square: a fair share of both kinds of pixels.
        share = len(visible) / (192 * 192)
        self.assertGreater(share, 0.05)
        self.assertLess(share, 0.6)
        self.assertEqual(pixels[0][0][3], 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
