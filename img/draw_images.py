#!/usr/bin/env python3
"""Draws the application's emblem: the icon, the white watermark, the Windows icon file and
the icon theme's sizes.

The emblem is an eye whose iris carries a graduated ring, crossed by the
measuring cross. Shapes are described by signed distance functions in pixel
units; a pixel whose centre lies well inside or outside a shape takes full or no
coverage, and only pixels near an edge are supersampled. Every size of the
Windows icon is drawn on its own grid with details and stroke widths chosen for
that size, since a plain downscale of the large picture turns the ticks to mush.

Only the Python standard library is used, so the build needs nothing else.
"""
import argparse
import math
import os
import struct
import zlib

ICO_SIZES = (16, 24, 32, 48, 192)
PNG_SIZE = 192
SUBSAMPLES = 8  # per axis, for pixels on an edge
EDGE = 0.75  # a pixel centre this far from an edge is fully in or out


# --- Signed distances (negative inside; never larger than the true distance) ---


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def rounded_square(x0, y0, x1, y1, r):
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    mx, my = (x0 + x1) / 2, (y0 + y1) / 2

    def sd(x, y):
        qx, qy = abs(x - mx) - hx, abs(y - my) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    return sd


def intersection(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def stroke(shape, width):
    """The band of the given width centred on the shape's edge."""
    half = width / 2
    return lambda x, y: abs(shape(x, y)) - half


def inset_stroke(shape, width):
    """The band of the given width just inside the shape's edge."""
    half = width / 2
    return lambda x, y: abs(shape(x, y) + half) - half


def capsule(ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def sd(x, y):
        px, py = x - ax, y - ay
        t = max(0.0, min(1.0, (px * dx + py * dy) / length2))
        return math.hypot(px - t * dx, py - t * dy) - half_width

    return sd


def ring_ticks(cx, cy, ticks, half_width):
    """Radial ticks around (cx, cy); ticks is a list of (angle, r_inner, r_outer)
    sorted by angle and evenly spaced, so only the nearest two need testing."""
    step = 2 * math.pi / len(ticks)
    shapes = []
    for angle, r0, r1 in ticks:
        c, s = math.cos(angle), math.sin(angle)
        shapes.append(capsule(cx + r0 * c, cy - r0 * s, cx + r1 * c, cy - r1 * s, half_width))
    start = ticks[0][0]

    def sd(x, y):
        a = math.atan2(cy - y, x - cx) - start
        k = int(math.floor(a / step)) % len(shapes)
        return min(shapes[k](x, y), shapes[(k + 1) % len(shapes)](x, y))

    return sd


# --- Paints ---


def hex_colour(text, alpha=1.0):
    return tuple(int(text[i:i + 2], 16) / 255 for i in (1, 3, 5)) + (alpha,)


def mix(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def vertical_gradient(y0, c0, y1, c1):
    return lambda x, y: mix(c0, c1, (y - y0) / (y1 - y0))


def radial_gradient(cx, cy, stops):
    """stops: (radius, colour) pairs with growing radii."""

    def paint(x, y):
        r = math.hypot(x - cx, y - cy)
        if r <= stops[0][0]:
            return stops[0][1]
        for (r0, c0), (r1, c1) in zip(stops, stops[1:]):
            if r <= r1:
                return mix(c0, c1, (r - r0) / (r1 - r0))
        return stops[-1][1]

    return paint


# --- Rasteriser ---


class Layer:
    def __init__(self, shape, paint, box, erase=False):
        self.shape = shape
        self.paint = paint if callable(paint) else (lambda x, y, c=paint: c)
        self.box = box  # x0, y0, x1, y1 in pixels; nothing is drawn outside it
        self.erase = erase

    def coverage(self, px, py):
        d = self.shape(px + 0.5, py + 0.5)
        if d >= EDGE:
            return 0.0
        if d <= -EDGE:
            return 1.0
        inside = 0
        for i in range(SUBSAMPLES):
            sy = py + (i + 0.5) / SUBSAMPLES
            for j in range(SUBSAMPLES):
                if self.shape(px + (j + 0.5) / SUBSAMPLES, sy) < 0:
                    inside += 1
        return inside / (SUBSAMPLES * SUBSAMPLES)


def render(size, layers):
    """Composites the layers in order; returns 8-bit straight RGBA rows."""
    premultiplied = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]
    for layer in layers:
        x0, y0, x1, y1 = layer.box
        for py in range(max(0, int(y0)), min(size, int(math.ceil(y1)))):
            for px in range(max(0, int(x0)), min(size, int(math.ceil(x1)))):
                cover = layer.coverage(px, py)
                if cover == 0.0:
                    continue
                dst = premultiplied[py * size + px]
                r, g, b, a = layer.paint(px + 0.5, py + 0.5)
                a *= cover
                if layer.erase:
                    for k in range(4):
                        dst[k] *= 1 - a
                else:
                    dst[0] = r * a + dst[0] * (1 - a)
                    dst[1] = g * a + dst[1] * (1 - a)
                    dst[2] = b * a + dst[2] * (1 - a)
                    dst[3] = a + dst[3] * (1 - a)
    out = bytearray()
    for r, g, b, a in premultiplied:
        if a <= 0.0:
            out += b"\xff\xff\xff\x00"  # white, so that scaling never pulls in a dark fringe
            continue
        out += bytes(round(min(1.0, v / a) * 255) for v in (r, g, b))
        out.append(round(min(1.0, a) * 255))
    return out


# --- The emblem ---

INK = hex_colour("#1f2d3a")
CROSS = hex_colour("#f0a30a")
WHITE = hex_colour("#ffffff")


class Geometry:
    """Where the parts of the emblem lie on a grid of the given size, and how
    much detail that size can carry."""

    def __init__(self, size):
        s = size
        self.size = s
        self.c = s / 2
        small = s <= 24
        self.margin = 0.0 if small else round(s * 0.03)
        self.corner = s * (0.22 if small else 0.19)
        # The eye is a lens: the overlap of two circles, one above the other.
        self.half_width = s * (0.45 if small else 0.41)
        self.half_height = s * (0.31 if small else 0.275)
        w, h = self.half_width, self.half_height
        self.lid_radius = (w * w / h + h) / 2
        self.lid_offset = self.lid_radius - h
        self.iris = s * (0.235 if small else 0.205)
        self.pupil = self.iris * (0.42 if small else 0.36)
        self.outline = max(1.15, s * 0.032)
        self.tick_width = max(1.0, s * 0.0115)
        self.cross_width = max(1.0, s * 0.012)
        self.border = max(0.8, s * 0.007)
        if s >= 96:
            self.tick_step, self.major_every = 10, 3
        elif s >= 48:
            self.tick_step, self.major_every = 30, 1
        else:
            self.tick_step, self.major_every = 0, 1
        self.cross = s >= 32

    def box(self, radius_x, radius_y=None):
        ry = radius_x if radius_y is None else radius_y
        return (self.c - radius_x - 2, self.c - ry - 2, self.c + radius_x + 2, self.c + ry + 2)

    def eye(self):
        c, o, r = self.c, self.lid_offset, self.lid_radius
        return intersection(circle(c, c + o, r), circle(c, c - o, r))

    def ticks(self):
        """The graduation: minor ticks short, major ones reaching further in;
        the four cross directions are left to the cross itself when drawn."""
        if not self.tick_step:
            return None
        ticks = []
        ri = self.iris
        for i, degrees in enumerate(range(0, 360, self.tick_step)):
            major = i % self.major_every == 0
            r0 = ri * (0.62 if major else 0.78)
            ticks.append((math.radians(degrees), r0, ri * 0.93))
        return ring_ticks(self.c, self.c, ticks, self.tick_width / 2)

    def cross_arms(self):
        c, reach, gap = self.c, self.half_width + self.size * 0.035, self.pupil * 1.25
        hw = self.cross_width / 2
        arms = [
            capsule(c - reach, c, c - gap, c, hw),
            capsule(c + gap, c, c + reach, c, hw),
            capsule(c, c - gap, c, c - self.iris * 1.12, hw),
            capsule(c, c + gap, c, c + self.iris * 1.12, hw),
        ]
        return lambda x, y: min(arm(x, y) for arm in arms)


def icon_layers(size):
    g = Geometry(size)
    s, c = size, g.c
    m = g.margin
    square = rounded_square(m, m, s - m, s - m, g.corner - m * 0.5)
    whole = (0, 0, s, s)
    layers = [
        Layer(square, vertical_gradient(m, hex_colour("#fbfdfe"), s - m, hex_colour("#d5e0ea")),
              whole),
        Layer(inset_stroke(square, g.border), hex_colour("#7f95a8", 0.55), whole),
    ]
    eye = g.eye()
    eye_box = g.box(g.half_width + g.outline, g.half_height + g.outline)
    top = c - g.half_height
    sclera = vertical_gradient(top, hex_colour("#c9d4de"), top + g.half_height * 0.7, WHITE)
    layers.append(Layer(eye, sclera, eye_box))
    iris_box = g.box(g.iris)
    iris_paint = radial_gradient(c, c, [
        (0.0, hex_colour("#7fd0ea")),
        (g.iris * 0.45, hex_colour("#3f9cc8")),
        (g.iris * 0.86, hex_colour("#1c5d8c")),
        (g.iris, hex_colour("#12395a")),
    ])
    layers.append(Layer(circle(c, c, g.iris), iris_paint, iris_box))
    ticks = g.ticks()
    if ticks:
        layers.append(Layer(ticks, hex_colour("#ffffff", 0.92), iris_box))
    layers.append(Layer(circle(c, c, g.pupil), hex_colour("#0b1117"), iris_box))
    if g.cross:
        cross_box = g.box(g.half_width + s * 0.04, g.iris * 1.2)
        layers.append(Layer(g.cross_arms(), CROSS, cross_box))
    glint = g.pupil * 0.42
    gx, gy = c - g.pupil * 0.55, c - g.pupil * 0.55
    layers.append(Layer(circle(gx, gy, glint), hex_colour("#ffffff", 0.9),
                        (gx - glint - 2, gy - glint - 2, gx + glint + 2, gy + glint + 2)))
    layers.append(Layer(stroke(eye, g.outline), INK, eye_box))
    return layers


def watermark_layers(size):
    """The same emblem as line art in one colour: outline, iris ring, graduation,
    pupil and cross, all white."""
    g = Geometry(size)
    c = g.c
    eye_box = g.box(g.half_width + g.outline, g.half_height + g.outline)
    iris_box = g.box(g.iris + g.outline)
    layers = [
        Layer(stroke(g.eye(), g.outline), WHITE, eye_box),
        Layer(inset_stroke(circle(c, c, g.iris), g.outline * 0.8), WHITE, iris_box),
        Layer(circle(c, c, g.pupil), WHITE, iris_box),
        Layer(g.cross_arms(), WHITE, g.box(g.half_width + size * 0.04, g.iris * 1.2)),
    ]
    ticks = g.ticks()
    if ticks:
        layers.insert(2, Layer(ticks, WHITE, iris_box))
    return layers


# --- File formats ---


def png_bytes(size, rgba):
    stride = size * 4
    raw = b"".join(b"\x00" + bytes(rgba[y * stride:(y + 1) * stride]) for y in range(size))

    def chunk(kind, data):
        crc = zlib.crc32(kind + data) & 0xFFFFFFFF
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def dib_bytes(size, rgba):
    """A 32-bit icon image: header, BGRA rows bottom-up, then the 1-bit mask
    (set where fully transparent) for programs that ignore the alpha channel."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row_mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = rgba[(y * size + x) * 4:(y * size + x) * 4 + 4]
            pixels += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    return header + bytes(pixels) + bytes(mask)


def ico_bytes(images):
    """images: (size, dib) pairs, smallest first."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for size, dib in images:
        side = 0 if size >= 256 else size
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(dib), offset)
        offset += len(dib)
        data += dib
    return directory + data


def write(path, data):
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--png-dir", required=True, help="folder for icon.png and watermark_lumo.png")
    parser.add_argument("--ico", required=True, help="path of the Windows icon file to write")
    parser.add_argument("--hicolor-dir", required=True,
                        help="root of an icon theme tree: SIZExSIZE/apps/NAME.png is written")
    parser.add_argument("--icon-name", required=True, help="the icon's name in the theme")
    parser.add_argument("--hicolor-sizes", required=True, type=int, nargs="+",
                        help="the theme's sizes to draw")
    args = parser.parse_args()

    sizes = set(ICO_SIZES) | set(args.hicolor_sizes)
    icons = {size: render(size, icon_layers(size)) for size in sizes}
    for size in args.hicolor_sizes:
        write(os.path.join(args.hicolor_dir, f"{size}x{size}", "apps", args.icon_name + ".png"),
              png_bytes(size, icons[size]))
    write(os.path.join(args.png_dir, "icon.png"), png_bytes(PNG_SIZE, icons[PNG_SIZE]))
    watermark = render(PNG_SIZE, watermark_layers(PNG_SIZE))
    write(os.path.join(args.png_dir, "watermark_lumo.png"), png_bytes(PNG_SIZE, watermark))
    write(args.ico, ico_bytes([(size, dib_bytes(size, icons[size])) for size in ICO_SIZES]))


if __name__ == "__main__":
    main()
