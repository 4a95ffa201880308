#!/usr/bin/env python3
"""Draws the application's resource images (placeholder, to be replaced)."""
import argparse, os, struct, zlib

def write_png(path, w, h, rgba):
    raw = b"".join(b"\x00" + bytes(rgba[y * w * 4:(y + 1) * w * 4]) for y in range(h))
    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xffffffff)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))

ap = argparse.ArgumentParser()
ap.add_argument("--png-dir", required=True)
ap.add_argument("--ico", required=True)
a = ap.parse_args()
os.makedirs(a.png_dir, exist_ok=True)
os.makedirs(os.path.dirname(a.ico), exist_ok=True)
px = bytearray([255, 255, 255, 255] * 192 * 192)
write_png(os.path.join(a.png_dir, "icon.png"), 192, 192, px)
write_png(os.path.join(a.png_dir, "watermark_lumo.png"), 192, 192, px)
open(a.ico, "wb").write(b"")
