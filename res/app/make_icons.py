#!/usr/bin/env python3
"""Writes the window and product icons (163, 164, 166) as 64 x 64 PNG files beside this script, and
each as a Windows icon file (.ico) of the sizes Windows shows, for the programs' resources.

The shapes are drawn in a 64 x 64 design space; render() and png() take another pixel size for the
desktop icons that packaging/make_hicolor_icons.py makes from the same drawing.

Each is a rounded square in the icon's colour with a white mark: a check mark over a small monitor for
the application, a check mark over a link of two dots for the products. Standard library only;
edges are anti-aliased by 4 x 4 supersampling.
"""
import math
import os
import struct
import zlib

SIZE = 64
SUB = 4

ICONS = {
    166: ((0x41, 0x69, 0xE1), "monitor"),  # the tool itself: royal blue
    163: ((0x3B, 0x45, 0x5B), "link"),     # the remote-support products: navy
    164: ((0x20, 0xB2, 0xAE), "link"),     # Dravi: teal
}


def inside_rounded_square(x, y, margin, radius):
    lo, hi = margin, SIZE - margin
    if x < lo or x > hi or y < lo or y > hi:
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def near_segment(x, y, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= half_width ** 2


def in_mark(x, y, kind):
    check = near_segment(x, y, 19, 30, 28, 39, 3.2) or near_segment(x, y, 28, 39, 46, 20, 3.2)
    if kind == "monitor":
        frame = (12 <= x <= 52 and 44 <= y <= 47) or near_segment(x, y, 24, 52, 40, 52, 1.6)
        return check or frame
    dots = math.hypot(x - 17, y - 50) <= 3.5 or math.hypot(x - 47, y - 50) <= 3.5
    line = near_segment(x, y, 17, 50, 47, 50, 1.2)
    return check or dots or line


def render(colour, kind, size=SIZE):
    scale = SIZE / size
    sub = SUB * math.ceil(scale)  # small sizes sample the design space as finely as 64 x 64 does
    rows = []
    for py in range(size):
        row = bytearray([0])  # filter type: none
        for px in range(size):
            cover = mark = 0
            for sy in range(sub):
                for sx in range(sub):
                    x = (px + (sx + 0.5) / sub) * scale
                    y = (py + (sy + 0.5) / sub) * scale
                    if inside_rounded_square(x, y, 2, 12):
                        cover += 1
                        if in_mark(x, y, kind):
                            mark += 1
            total = sub * sub
            if cover == 0:
                row += bytes(4)
                continue
            w = mark / cover
            rgb = [round(c * (1 - w) + 255 * w) for c in colour]
            row += bytes(rgb + [round(255 * cover / total)])
        rows.append(bytes(row))
    return b"".join(rows)


def png(pixels, size=SIZE):
    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(pixels, 9))
            + chunk(b"IEND", b""))


# The sizes of the Windows icon files: small and large icons at the common display scalings, the caption
# icon (20), and Explorer's largest view.
ICO_SIZES = (16, 20, 24, 32, 48, 64, 256)


def ico(images):
    """A Windows icon file of (size, PNG data) pairs; Windows reads PNG-compressed icon images."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        side = 0 if size >= 256 else size  # 0 stands for 256
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    return header + entries + data


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    for number, (colour, kind) in ICONS.items():
        with open(os.path.join(folder, f"icon_{number}.png"), "wb") as out:
            out.write(png(render(colour, kind)))
        with open(os.path.join(folder, f"icon_{number}.ico"), "wb") as out:
            out.write(ico([(size, png(render(colour, kind, size), size)) for size in ICO_SIZES]))


if __name__ == "__main__":
    main()
