#!/usr/bin/env python3
"""Writes res/check_animation.gif, the main window's looping animated picture (resource 167).

A scene (a PC talking to a server rack) where data packets travel along the link, made in the
proportions of the window's picture label (192 x 113 pixels) so that it is shown unstretched: its
disc stays round. The scene is drawn four times larger and averaged down, so edges are smooth; each
averaged pixel becomes the nearest mix of its two main colours in a palette of such mixes.
The first frame holds the whole scene; every further frame repaints only the band around the link,
so the file stays small. Frame delays alternate 3 and 6 hundredths of a second.
Standard library only: the GIF and its LZW coding are written here.
"""
import math
import os
import struct
import sys

WIDTH, HEIGHT = 192, 113   # the picture label's size in the main window
SCALE = 4                  # the scene is drawn at this multiple and averaged down
FRAMES = 180
DELAYS = (3, 6)
MIX_STEPS = 8              # shades between two colours that meet at an edge

BASE_COLOURS = [
    (0xFF, 0xFF, 0xFF),  # 0 white
    (0xF2, 0xF4, 0xF8),  # 1 pale grey
    (0xD5, 0xDA, 0xE2),  # 2 light grey
    (0x8A, 0x93, 0xA3),  # 3 grey
    (0x4A, 0x52, 0x60),  # 4 dark grey
    (0x41, 0x69, 0xE1),  # 5 royal blue
    (0xA9, 0xBD, 0xF5),  # 6 light blue
    (0xE6, 0xEC, 0xFB),  # 7 very light blue
    (0x40, 0xD4, 0x20),  # 8 green
    (0x20, 0xB2, 0xAE),  # 9 teal
    (0x3B, 0x45, 0x5B),  # 10 navy
    (0xD6, 0x81, 0x08),  # 11 amber
    (0xB2, 0x22, 0x22),  # 12 red
    (0xC9, 0xF2, 0xC0),  # 13 pale green
    (0x2E, 0x3A, 0x4F),  # 14 deep navy
    (0x00, 0x00, 0x00),  # 15 black
]

# Scene coordinates are in the large drawing (WIDTH * SCALE x HEIGHT * SCALE = 768 x 452).
LINK_Y = 190
LINK_X0, LINK_X1 = 300, 516
BAND = (288, 164, 240, 52)  # x, y, w, h; every later frame repaints this; multiples of SCALE


class Canvas:
    def __init__(self, w, h, colour=0):
        self.w, self.h = w, h
        self.px = bytearray([colour]) * (w * h)

    def rect(self, x, y, w, h, c):
        x, y, w, h = int(round(x)), int(round(y)), int(round(w)), int(round(h))
        for yy in range(max(y, 0), min(y + h, self.h)):
            row = yy * self.w
            x0, x1 = max(x, 0), min(x + w, self.w)
            if x1 > x0:
                self.px[row + x0:row + x1] = bytes([c]) * (x1 - x0)

    def round_rect(self, x, y, w, h, r, c):
        for yy in range(y, y + h):
            dy = max(y + r - yy - 0.5, yy + 0.5 - (y + h - r), 0)
            inset = r - math.sqrt(max(r * r - dy * dy, 0)) if dy > 0 else 0
            self.rect(x + int(round(inset)), yy, w - 2 * int(round(inset)), 1, c)

    def disc(self, cx, cy, r, c):
        for yy in range(int(cy - r), int(cy + r) + 1):
            dy = yy + 0.5 - cy
            if abs(dy) > r:
                continue
            half = math.sqrt(r * r - dy * dy)
            self.rect(int(round(cx - half)), yy, int(round(2 * half)), 1, c)


def draw_scene(canvas):
    canvas.rect(0, 0, canvas.w, canvas.h, 0)
    canvas.round_rect(16, 16, 736, 420, 28, 1)
    # The PC: monitor, screen with a check mark on a disc, stand.
    canvas.round_rect(96, 118, 188, 144, 12, 4)
    canvas.rect(108, 130, 164, 116, 7)
    canvas.disc(190, 188, 36, 5)
    for i in range(26):  # a thick check mark
        canvas.disc(172 + (i * 12) / 25.0 - 8, 188 + (i * 12) / 25.0, 4.5, 0)
    for i in range(40):
        canvas.disc(176 + i * 0.75, 200 - i * 0.75, 4.5, 0)
    canvas.rect(172, 262, 36, 28, 3)
    canvas.round_rect(134, 290, 112, 14, 7, 4)
    # The rack: three servers with status lights.
    for n in range(3):
        top = 124 + n * 56
        canvas.round_rect(532, top, 160, 44, 9, 10)
        canvas.rect(550, top + 18, 76, 8, 3)
        canvas.disc(648, top + 22, 6, (8, 9, 11)[n])
        canvas.disc(668, top + 22, 6, 3)
    canvas.rect(588, 280, 48, 10, 3)
    canvas.round_rect(556, 290, 112, 14, 7, 4)
    # Caption bars under both, and one in the middle.
    canvas.round_rect(126, 336, 128, 12, 6, 2)
    canvas.round_rect(548, 336, 128, 12, 6, 2)
    canvas.round_rect(300, 378, 168, 10, 5, 6)


def draw_link(canvas, frame):
    x, y, w, h = BAND
    canvas.rect(x, y, w, h, 1)
    canvas.rect(LINK_X0, LINK_Y - 2, LINK_X1 - LINK_X0, 4, 2)
    span = LINK_X1 - LINK_X0
    for k in range(3):
        # Three packets, evenly spaced, travelling right; one cycle every 60 frames.
        t = ((frame % 60) / 60.0 + k / 3.0) % 1.0
        cx = LINK_X0 + t * span
        size = 8 + 4 * math.sin(t * math.pi)
        canvas.disc(cx, LINK_Y, size, 5 if k != 1 else 8)


class Palette:
    """Mixes of two base colours in MIX_STEPS steps, indexed as they are first needed."""

    def __init__(self):
        self.colours = list(BASE_COLOURS)
        self.index = {(a, a, 0): a for a in range(len(BASE_COLOURS))}

    def entry(self, a, b, step):
        if step == 0 or a == b:
            return a
        if step == MIX_STEPS:
            return b
        if a > b:
            a, b, step = b, a, MIX_STEPS - step
        key = (a, b, step)
        if key not in self.index:
            if len(self.colours) >= 256:
                raise SystemExit("more than 256 colours: lower MIX_STEPS")
            ca, cb = BASE_COLOURS[a], BASE_COLOURS[b]
            t = step / MIX_STEPS
            self.index[key] = len(self.colours)
            self.colours.append(tuple(int(round(ca[i] * (1 - t) + cb[i] * t)) for i in range(3)))
        return self.index[key]


def shrink(canvas, x, y, w, h, palette):
    """The large drawing's area (x, y, w, h), in multiples of SCALE, averaged down to palette indexes."""
    out = bytearray()
    samples = SCALE * SCALE
    for oy in range(y // SCALE, (y + h) // SCALE):
        for ox in range(x // SCALE, (x + w) // SCALE):
            counts = {}
            for sy in range(oy * SCALE, oy * SCALE + SCALE):
                row = sy * canvas.w
                for c in canvas.px[row + ox * SCALE:row + ox * SCALE + SCALE]:
                    counts[c] = counts.get(c, 0) + 1
            ranked = sorted(counts.items(), key=lambda item: (-item[1], item[0]))
            first = ranked[0][0]
            second = ranked[1][0] if len(ranked) > 1 else first
            share = counts.get(second, 0) / samples if second != first else 0
            out.append(palette.entry(first, second, int(round(share * MIX_STEPS))))
    return out


def lzw_encode(pixels, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bits = 0
    nbits = 0

    def emit(code, size):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    def reset():
        return {bytes([i]): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, size = reset()
    emit(clear, size)
    current = b""
    for p in pixels:
        candidate = current + bytes([p])
        if candidate in table:
            current = candidate
            continue
        emit(table[current], size)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table, next_code, size = reset()
        current = bytes([p])
    if current:
        emit(table[current], size)
    emit(end, size)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def image_block(pixels, x, y, w, h, delay):
    gce = b"\x21\xF9\x04" + struct.pack("<BHB", 0x04, delay, 0) + b"\x00"  # keep the previous frame
    descriptor = b"\x2C" + struct.pack("<HHHHB", x, y, w, h, 0)
    return gce + descriptor + b"\x08" + sub_blocks(lzw_encode(pixels, 8))


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "res", "check_animation.gif")
    scene = Canvas(WIDTH * SCALE, HEIGHT * SCALE)
    draw_scene(scene)
    palette = Palette()
    blocks = bytearray()
    bx, by, bw, bh = BAND
    for frame in range(FRAMES):
        draw_link(scene, frame)
        delay = DELAYS[frame % 2]
        if frame == 0:
            blocks += image_block(shrink(scene, 0, 0, scene.w, scene.h, palette), 0, 0, WIDTH, HEIGHT, delay)
        else:
            blocks += image_block(shrink(scene, bx, by, bw, bh, palette), bx // SCALE, by // SCALE,
                                  bw // SCALE, bh // SCALE, delay)
    colours = palette.colours + [(0, 0, 0)] * (256 - len(palette.colours))
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", WIDTH, HEIGHT, 0xF7, 0, 0)  # global table of 256 colours
    for r, g, b in colours:
        out += bytes([r, g, b])
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop forever
    out += blocks
    out += b"\x3B"
    with open(target, "wb") as f:
        f.write(out)
    print(f"{target}: {len(out)} bytes, {FRAMES} frames, {len(palette.colours)} colours")


if __name__ == "__main__":
    main()
