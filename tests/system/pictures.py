"""Pictures for the system tests: writing PNG files with the standard library,
and reading saved PNG/JPEG files (through the small Qt reader built beside the
program, tests/system/picture_pixels.cpp) and PPM pages from pdftoppm."""
import os
import struct
import subprocess
import tempfile
import zlib


def write_png(path, width, height, row, alpha=False):
    """Writes an 8-bit RGB (or RGBA) PNG; row(y) gives the bytes of row y."""
    channels = 4 if alpha else 3
    compressor = zlib.compressobj(1)
    body = []
    for y in range(height):
        data = row(y)
        if len(data) != channels * width:
            raise ValueError(f"row {y} has {len(data)} bytes, not {channels * width}")
        body.append(compressor.compress(b"\0" + data))
    body.append(compressor.flush())

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", b"".join(body))
                + chunk(b"IEND", b""))


class Picture:
    """Decoded pixels: pixel(x, y) is (r, g, b, a), alpha not premultiplied."""

    def __init__(self, width, height, data, channels):
        self.width, self.height, self.data, self.channels = width, height, data, channels

    @property
    def size(self):
        return self.width, self.height

    def pixel(self, x, y):
        x, y = int(x), int(y)
        i = self.channels * (y * self.width + x)
        p = self.data[i:i + self.channels]
        return (p[0], p[1], p[2], p[3] if self.channels == 4 else 255)

    def pixels(self, x0, y0, x1, y1, step=1):
        """(x, y, pixel) over the box, clipped to the picture."""
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(x1)), min(self.height, int(y1))
        for y in range(y0, y1, step):
            for x in range(x0, x1, step):
                yield x, y, self.pixel(x, y)


def _parse_netpbm(blob):
    """Header fields and pixel offset of a binary PAM (P7) or PPM (P6) file."""
    if blob.startswith(b"P7\n"):
        end = blob.index(b"ENDHDR\n") + len(b"ENDHDR\n")
        fields = dict(line.split(b" ", 1) for line in blob[3:end].splitlines()
                      if b" " in line)
        return int(fields[b"WIDTH"]), int(fields[b"HEIGHT"]), int(fields[b"DEPTH"]), end
    if blob.startswith(b"P6"):
        tokens, pos = [], 2
        while len(tokens) < 3:
            while blob[pos:pos + 1].isspace():
                pos += 1
            if blob[pos:pos + 1] == b"#":
                pos = blob.index(b"\n", pos)
                continue
            start = pos
            while not blob[pos:pos + 1].isspace():
                pos += 1
            tokens.append(int(blob[start:pos]))
        if tokens[2] != 255:
            raise ValueError("only 8-bit PPM files are read")
        return tokens[0], tokens[1], 3, pos + 1
    raise ValueError("not a PAM or PPM file")


def read_netpbm(path):
    with open(path, "rb") as f:
        blob = f.read()
    width, height, channels, offset = _parse_netpbm(blob)
    return Picture(width, height, blob[offset:offset + width * height * channels], channels)


def pixel_reader():
    """The Qt-based reader, built into the same folder as the program."""
    return os.path.join(os.path.dirname(os.environ["ORVALITH_EXE"]), "picture_pixels")


def read_picture(path):
    """A PNG or JPEG file's pixels, as Qt decodes them."""
    with tempfile.TemporaryDirectory() as folder:
        pam = os.path.join(folder, "pixels.pam")
        subprocess.run([pixel_reader(), path, pam], check=True, timeout=60,
                       capture_output=True)
        return read_netpbm(pam)


def read_pdf_page(path, dpi):
    """The first page of a PDF, rendered by pdftoppm."""
    with tempfile.TemporaryDirectory() as folder:
        stem = os.path.join(folder, "page")
        subprocess.run(["pdftoppm", "-r", str(dpi), "-f", "1", "-l", "1", "-singlefile",
                        path, stem], check=True, timeout=60, capture_output=True)
        return read_netpbm(stem + ".ppm")


def pdf_info(path, field):
    out = subprocess.run(["pdfinfo", path], capture_output=True, text=True, timeout=30).stdout
    for line in out.splitlines():
        if line.startswith(field + ":"):
            return line.split(":", 1)[1].strip()
    raise ValueError(f"pdfinfo gave no {field} for {path}")


def pdf_page_count(path):
    return int(pdf_info(path, "Pages"))
