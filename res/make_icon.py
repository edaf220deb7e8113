#!/usr/bin/env python3
"""Draw the Tessaril icon (a lightning bolt over a memory chip) and write tessaril.ico.

Standard library only, and the output is byte-for-byte reproducible, so the
.ico can be regenerated and diffed.  Usage:

    python3 make_icon.py [--out PATH] [--preview PNG]

Every image is a 32-bit BMP entry (BGRA plus a 1-bit AND mask), which every
Windows version since XP reads; PNG entries need Vista or later.
"""

import argparse
import os
import struct
import zlib

SIZES = (16, 20, 24, 32, 48)

# Samples per pixel edge for anti-aliasing the bolt and the chip corners.
SS = 8

PIN = (0x9C, 0xA8, 0xB4)
PIN_SHADE = (0x6A, 0x76, 0x82)
BODY_TOP = (0x3E, 0x4E, 0x64)
BODY_BOTTOM = (0x22, 0x2C, 0x3A)
BODY_EDGE = (0x12, 0x18, 0x20)
BOLT = (0xFF, 0xD4, 0x2A)
BOLT_EDGE = (0xE8, 0x8A, 0x00)

# The bolt in a 16-unit design square.  It stays on the dark chip body, which
# gives it contrast on both light and dark taskbars without an outline.
BOLT_POLY = (
    (8.2, 3.3),
    (11.5, 3.3),
    (9.3, 7.2),
    (11.3, 7.2),
    (6.1, 13.0),
    (7.3, 8.7),
    (4.6, 8.7),
)

# At 16 and 20 px no polygon rasterises into a clean bolt, so those sizes are
# drawn by hand; rows and columns are absolute pixels.
BOLT_16 = (
    "................",
    "................",
    "................",
    "................",
    "........XXX.....",
    ".......XXX......",
    "......XXX.......",
    ".....XXXXXX.....",
    "........XX......",
    ".......XX.......",
    "......XX........",
    "......X.........",
    "................",
    "................",
    "................",
    "................",
)

BOLT_20 = (
    "....................",
    "....................",
    "....................",
    "....................",
    "..........XXXX......",
    ".........XXXX.......",
    "........XXXX........",
    ".......XXXX.........",
    "......XXXXXXXX......",
    ".........XXXX.......",
    ".........XXX........",
    "........XXX.........",
    "........XX..........",
    ".......XX...........",
    ".......X............",
    "....................",
    "....................",
    "....................",
    "....................",
    "....................",
)
HAND_DRAWN = {16: BOLT_16, 20: BOLT_20}


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def inside_polygon(px, py, poly):
    hit = False
    n = len(poly)
    for i in range(n):
        x0, y0 = poly[i]
        x1, y1 = poly[(i + 1) % n]
        if (y0 > py) != (y1 > py):
            if px < x0 + (py - y0) * (x1 - x0) / (y1 - y0):
                hit = not hit
    return hit


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    ex, ey = ax + t * dx - px, ay + t * dy - py
    return (ex * ex + ey * ey) ** 0.5


def edge_distance(px, py, poly):
    n = len(poly)
    return min(
        segment_distance(px, py, *poly[i], *poly[(i + 1) % n]) for i in range(n)
    )


class Layout:
    """Pixel geometry for one size, snapped so the 16 px image stays crisp."""

    def __init__(self, size):
        u = size / 16.0
        self.size = size
        # Body edges and pins sit on whole pixels; only the bolt and the
        # 48 px corners are smoothed.
        self.left = round(3 * u)
        self.right = size - self.left
        self.top = round(2 * u)
        self.bottom = size - self.top
        self.pin_len = self.left - max(1, round(0.75 * u))
        self.edge = max(1, round(size / 24))
        # Small sizes round the body by dropping its corner pixels; a
        # smoothed radius of one or two pixels only smudges them.
        self.radius = 1.2 * u if size >= 48 else 0.0
        pins = 3 if size < 32 else 4
        thick = max(1, round(1.4 * u))
        span = self.bottom - self.top
        self.pins = []
        for i in range(pins):
            centre = self.top + (i + 0.5) * span / pins
            start = int(centre - thick / 2 + 0.5)
            self.pins.append((start, start + thick))
        self.bolt = [(x * u, y * u) for x, y in BOLT_POLY]
        # A darker rim inside the bolt only where there are pixels to spare.
        self.bolt_rim = 0.4 * u if size >= 32 else 0.0
        self.bolt_box = (
            min(x for x, _ in self.bolt) - 1,
            min(y for _, y in self.bolt) - 1,
            max(x for x, _ in self.bolt) + 1,
            max(y for _, y in self.bolt) + 1,
        )

    def in_body(self, x, y):
        if not (self.left <= x < self.right and self.top <= y < self.bottom):
            return False
        r = self.radius
        if r <= 0:
            corner_x = int(x) in (self.left, self.right - 1)
            corner_y = int(y) in (self.top, self.bottom - 1)
            return not (corner_x and corner_y)
        cx = min(max(x, self.left + r), self.right - r)
        cy = min(max(y, self.top + r), self.bottom - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    def sample(self, x, y):
        """Colour of the scene at one sub-pixel point, or None if empty."""
        bx0, by0, bx1, by1 = self.bolt_box
        if bx0 <= x <= bx1 and by0 <= y <= by1:
            art = HAND_DRAWN.get(self.size)
            if art:
                hit = art[int(y)][int(x)] == "X"
            else:
                hit = inside_polygon(x, y, self.bolt)
            if hit:
                if self.bolt_rim and edge_distance(x, y, self.bolt) < self.bolt_rim:
                    return BOLT_EDGE
                return BOLT
        if self.in_body(x, y):
            inner_l, inner_r = self.left + self.edge, self.right - self.edge
            inner_t, inner_b = self.top + self.edge, self.bottom - self.edge
            if not (inner_l <= x < inner_r and inner_t <= y < inner_b):
                return BODY_EDGE
            return lerp(BODY_TOP, BODY_BOTTOM, (y - self.top) / (self.bottom - self.top))
        for p0, p1 in self.pins:
            if p0 <= y < p1 and (
                self.left - self.pin_len <= x < self.left
                or self.right <= x < self.right + self.pin_len
            ):
                return PIN if y < p1 - 1 or p1 - p0 == 1 else PIN_SHADE
        return None


def render(size):
    """Return rows (top first) of (r, g, b, a) with straight alpha."""
    lay = Layout(size)
    step = 1.0 / SS
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = covered = 0
            for sy in range(SS):
                y = py + (sy + 0.5) * step
                for sx in range(SS):
                    c = lay.sample(px + (sx + 0.5) * step, y)
                    if c is not None:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        covered += 1
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = round(255 * covered / (SS * SS))
                row.append((round(r / covered), round(g / covered), round(b / covered), alpha))
        rows.append(row)
    return rows


def bmp_entry(rows):
    size = len(rows)
    header = struct.pack(
        "<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0
    )
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    # AND mask: 1 = screen shows through.  Only fully clear pixels are masked,
    # and their colour is black, so the pre-alpha (XP classic) path draws the
    # same silhouette without inverting the background.
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    data = bytearray(header)
    data += xor
    data += mask
    struct.pack_into("<I", data, 20, len(xor) + len(mask))
    return bytes(data)


def write_ico(path, images):
    count = len(images)
    offset = 6 + 16 * count
    directory = bytearray(struct.pack("<HHH", 0, 1, count))
    blobs = bytearray()
    for size, blob in images:
        directory += struct.pack(
            "<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset
        )
        offset += len(blob)
        blobs += blob
    with open(path, "wb") as f:
        f.write(directory)
        f.write(blobs)


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def write_png(path, pixels):
    height, width = len(pixels), len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for c in row:
            raw += bytes(c)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(png_chunk(b"IEND", b""))


def write_preview(path, rendered, zoom=8):
    """Each size at 1:1 and magnified, over a light and a dark background."""
    backgrounds = ((0xF0, 0xF0, 0xF0), (0x20, 0x24, 0x2A))
    gap = 8
    width = gap + sum(s * (zoom + 1) + 2 * gap for s, _ in rendered)
    band = max(s for s, _ in rendered) * zoom + 2 * gap
    canvas = []
    for bg in backgrounds:
        canvas += [[bg] * width for _ in range(band)]

    def put(x0, y0, rows, scale, bg):
        for y, row in enumerate(rows):
            for x, (r, g, b, a) in enumerate(row):
                t = a / 255.0
                c = tuple(round(v * t + w * (1 - t)) for v, w in zip((r, g, b), bg))
                for dy in range(scale):
                    line = canvas[y0 + y * scale + dy]
                    for dx in range(scale):
                        line[x0 + x * scale + dx] = c

    for band_no, bg in enumerate(backgrounds):
        x = gap
        for size, rows in rendered:
            top = band_no * band + gap
            put(x, top, rows, 1, bg)
            put(x + size + gap, top, rows, zoom, bg)
            x += size * (zoom + 1) + 2 * gap
    write_png(path, canvas)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "tessaril.ico"))
    parser.add_argument("--preview", help="also write a magnified PNG preview")
    args = parser.parse_args()
    rendered = [(size, render(size)) for size in SIZES]
    write_ico(args.out, [(size, bmp_entry(rows)) for size, rows in rendered])
    if args.preview:
        write_preview(args.preview, rendered)


if __name__ == "__main__":
    main()
