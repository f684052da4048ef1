#!/usr/bin/env python3
"""Draws Corvale's icons and the test images, and writes them as .ico/.bmp files.

Run from anywhere: python3 tools/make_icons.py. Output is deterministic, so the
committed files only change when the drawings here do.
"""

import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The 16 colours of the standard 4-bit palette, as (r, g, b).
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def row_stride(width, bpp):
    return (width * bpp + 31) // 32 * 4


def info_header(width, height, bpp, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, 0, 0, 0, colours, 0)


def pack_rows(width, height, bpp, pixel, bottom_up=True):
    """Packs pixel(x, y) (an int index for bpp <= 8, an (r, g, b[, a]) tuple otherwise)."""
    out = bytearray()
    rows = range(height - 1, -1, -1) if bottom_up else range(height)
    stride = row_stride(width, bpp)
    for y in rows:
        row = bytearray()
        if bpp <= 8:
            bits, acc = 0, 0
            for x in range(width):
                acc = (acc << bpp) | pixel(x, y)
                bits += bpp
                if bits == 8:
                    row.append(acc)
                    bits, acc = 0, 0
            if bits:
                row.append(acc << (8 - bits))
        else:
            for x in range(width):
                p = pixel(x, y)
                row += bytes((p[2], p[1], p[0]))
                if bpp == 32:
                    row.append(p[3])
        row += bytes(stride - len(row))
        out += row
    return bytes(out)


def palette_bytes(colours):
    return b"".join(bytes((b, g, r, 0)) for r, g, b in colours)


def icon_image(width, height, bpp, pixel, masked, colours=None):
    """One icon image: header with doubled height, palette, colour bits, AND mask."""
    data = info_header(width, height * 2, bpp, len(colours) if colours else 0)
    if colours:
        data += palette_bytes(colours)
    data += pack_rows(width, height, bpp, pixel)
    data += pack_rows(width, height, 1, lambda x, y: 1 if masked(x, y) else 0)
    return data


def write_ico(path, images):
    """images: list of (width, height, colour_count, bpp, bytes)."""
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for width, height, colours, bpp, data in images:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, 1, bpp, len(data), offset)
        offset += len(data)
    for image in images:
        out += image[4]
    write(path, out)


def write_bmp(path, width, height, bpp, pixel, colours=None, bottom_up=True):
    info = info_header(width, height if bottom_up else -height, bpp, len(colours) if colours else 0)
    if colours:
        info += palette_bytes(colours)
    bits = pack_rows(width, height, bpp, pixel, bottom_up)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(bits), 0, 0, 14 + len(info))
    write(path, header + info + bits)


def write(path, data):
    full = os.path.join(ROOT, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(data)


# --- Corvale's icons -----------------------------------------------------------------


def coverage(inside, x, y, samples=4):
    """The share of pixel (x, y) that inside(fx, fy) covers, by supersampling."""
    hits = 0
    for sy in range(samples):
        for sx in range(samples):
            if inside(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples):
                hits += 1
    return hits / (samples * samples)


def mainframe_pixel(x, y):
    """A blue rounded square carrying a white, open ring (a "C")."""

    def square(fx, fy):
        r, lo, hi = 6.0, 1.0, 31.0
        cx = min(max(fx, lo + r), hi - r)
        cy = min(max(fy, lo + r), hi - r)
        return lo <= fx <= hi and lo <= fy <= hi and (fx - cx) ** 2 + (fy - cy) ** 2 <= r * r

    def ring(fx, fy):
        dx, dy = fx - 16.0, fy - 16.0
        d2 = dx * dx + dy * dy
        opening = dx > 2.0 and abs(dy) < 5.0
        return 6.5 ** 2 <= d2 <= 10.5 ** 2 and not opening

    a = coverage(square, x, y)
    if a == 0:
        return (0, 0, 0, 0)
    w = coverage(ring, x, y)
    shade = 1.0 - 0.35 * y / 31.0  # darker towards the bottom
    blue = (int(40 * shade), int(110 * shade), int(220 * shade))
    colour = tuple(int(b + (255 - b) * w) for b in blue)
    return colour + (int(round(a * 255)),)


def default_entry_index(x, y):
    """A grey sheet with its top-right corner folded over, and a few text lines."""
    left, right, top, bottom, fold = 2, 13, 1, 14, 4
    if not (left <= x <= right and top <= y <= bottom):
        return None
    fx = x - (right - fold)
    fy = y - top
    if fx > 0 and fy < fold:
        if fx > fy + 1:
            return None  # cut away by the fold
        if fx == fy + 1 or fy == fold - 1:
            return 8  # crease edge
        return 7  # the folded flap
    if x in (left, right) or y in (top, bottom) or (fx == 0 and fy < fold):
        return 8  # outline
    if y in (5, 8, 11) and left + 2 <= x <= right - 2 - (2 if y == 11 else 0):
        return 4  # lines of text
    return 15


def make_corvale_icons():
    size = 32
    pixels = [[mainframe_pixel(x, y) for x in range(size)] for y in range(size)]
    image = icon_image(size, size, 32, lambda x, y: pixels[y][x], lambda x, y: pixels[y][x][3] == 0)
    write_ico("res/mainframe.ico", [(size, size, 0, 32, image)])

    size = 16
    image = icon_image(size, size, 4, lambda x, y: default_entry_index(x, y) or 0,
                       lambda x, y: default_entry_index(x, y) is None, VGA16)
    write_ico("res/default_entry.ico", [(size, size, 16, 4, image)])


# --- Test images -------------------------------------------------------------------------
# The tests compute the same pixels, so keep these formulas in step with them.


def png(width, height, rgba):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    raw = b"".join(b"\0" + bytes(v for x in range(width) for v in rgba(x, y)) for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def make_test_images():
    # 8 x 6, 4 bits: index (x + 2y) % 16, bottom-up.
    write_bmp("tests/res/index4.bmp", 8, 6, 4, lambda x, y: (x + 2 * y) % 16, VGA16)
    # 5 x 3, 24 bits (rows need padding): (r, g, b) = (40x, 100y, 7), bottom-up.
    write_bmp("tests/res/rgb24.bmp", 5, 3, 24, lambda x, y: (40 * x, 100 * y, 7))
    # 3 x 2, 8 bits, top-down: index x + 3y from a six-colour palette.
    grey6 = [(10 * i, 20 * i, 30 * i) for i in range(6)]
    write_bmp("tests/res/top_down8.bmp", 3, 2, 8, lambda x, y: x + 3 * y, grey6, bottom_up=False)

    # Three sizes in three depths, each a solid colour with its top-left pixel masked:
    # 16 px 8 bits red, 32 px 1 bit white, 48 px 24 bits green.
    corner = lambda x, y: x == 0 and y == 0
    red8 = [(0, 0, 0), (255, 0, 0)]
    mono = [(0, 0, 0), (255, 255, 255)]
    write_ico("tests/res/sizes.ico", [
        (16, 16, 0, 8, icon_image(16, 16, 8, lambda x, y: 1, corner, red8)),
        (32, 32, 2, 1, icon_image(32, 32, 1, lambda x, y: 1, corner, mono)),
        (48, 48, 0, 24, icon_image(48, 48, 24, lambda x, y: (0, 200, 0), corner)),
    ])
    # No 32 px image: 16 px 24 bits blue, 48 px 32 bits half-transparent yellow.
    write_ico("tests/res/no32.ico", [
        (16, 16, 0, 24, icon_image(16, 16, 24, lambda x, y: (0, 0, 255), lambda x, y: False)),
        (48, 48, 0, 32, icon_image(48, 48, 32, lambda x, y: (255, 255, 0, 128), lambda x, y: False)),
    ])
    # One PNG-compressed image, which the platform does not decode.
    write_ico("tests/res/png.ico", [(16, 16, 0, 32, png(16, 16, lambda x, y: (1, 2, 3, 255)))])


if __name__ == "__main__":
    make_corvale_icons()
    make_test_images()
