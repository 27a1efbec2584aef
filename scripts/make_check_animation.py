#!/usr/bin/env python3
"""Writes res/check_animation.gif, the main window's looping animated picture (resource 167).

An 800 x 600 scene (a PC talking to a server rack) where data packets travel along the link.
The first frame holds the whole scene; every further frame repaints only the band around the
link, so the file stays small. Frame delays alternate 3 and 6 hundredths of a second.
Standard library only: the GIF and its LZW coding are written here.
"""
import math
import os
import struct
import sys

WIDTH, HEIGHT = 800, 600
FRAMES = 180
DELAYS = (3, 6)

PALETTE = [
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

# The link between the PC and the rack, and the band every later frame repaints.
LINK_Y = 300
LINK_X0, LINK_X1 = 352, 528
BAND = (344, 276, 192, 48)  # x, y, w, h


class Canvas:
    def __init__(self, w, h, colour=0):
        self.w, self.h = w, h
        self.px = bytearray([colour]) * (w * h)

    def rect(self, x, y, w, h, c):
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

    def crop(self, x, y, w, h):
        out = Canvas(w, h)
        for yy in range(h):
            src = (y + yy) * self.w + x
            out.px[yy * w:(yy + 1) * w] = self.px[src:src + w]
        return out


def draw_scene(canvas):
    canvas.rect(0, 0, WIDTH, HEIGHT, 0)
    canvas.round_rect(40, 60, 720, 480, 28, 1)
    # The PC: monitor, screen with a check mark, stand.
    canvas.round_rect(96, 176, 248, 176, 14, 4)
    canvas.rect(110, 190, 220, 140, 7)
    canvas.disc(220, 258, 42, 5)
    for i in range(26):  # a thick check mark
        canvas.disc(200 + (i * 14) / 25.0 - 14 + 4, 258 + (i * 14) / 25.0, 4.5, 0)
    for i in range(40):
        canvas.disc(200 + i * 0.8, 272 - i * 0.8, 4.5, 0)
    canvas.rect(200, 352, 40, 36, 3)
    canvas.round_rect(160, 388, 120, 16, 8, 4)
    # The rack: three servers with status lights.
    for n in range(3):
        top = 168 + n * 64
        canvas.round_rect(536, top, 184, 52, 10, 10)
        canvas.rect(556, top + 22, 88, 8, 3)
        canvas.disc(676, top + 26, 7, (8, 9, 11)[n])
        canvas.disc(698, top + 26, 7, 3)
    canvas.rect(600, 360, 56, 30, 3)
    canvas.round_rect(568, 388, 120, 16, 8, 4)
    # Caption bars under both.
    canvas.round_rect(140, 440, 160, 14, 7, 2)
    canvas.round_rect(548, 440, 160, 14, 7, 2)
    canvas.round_rect(300, 480, 200, 10, 5, 6)


def draw_link(canvas, frame):
    x, y, w, h = BAND
    canvas.rect(x, y, w, h, 1)
    canvas.rect(LINK_X0, LINK_Y - 2, LINK_X1 - LINK_X0, 4, 2)
    span = LINK_X1 - LINK_X0
    for k in range(3):
        # Three packets, evenly spaced, travelling right; one cycle every 60 frames.
        t = ((frame % 60) / 60.0 + k / 3.0) % 1.0
        cx = LINK_X0 + t * span
        size = 7 + 3 * math.sin(t * math.pi)
        canvas.disc(cx, LINK_Y, size, 5 if k != 1 else 8)


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


def image_block(canvas, x, y, delay):
    gce = b"\x21\xF9\x04" + struct.pack("<BHB", 0x04, delay, 0) + b"\x00"  # keep the previous frame
    descriptor = b"\x2C" + struct.pack("<HHHHB", x, y, canvas.w, canvas.h, 0)
    return gce + descriptor + b"\x04" + sub_blocks(lzw_encode(canvas.px, 4))


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "res", "check_animation.gif")
    scene = Canvas(WIDTH, HEIGHT)
    draw_scene(scene)
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", WIDTH, HEIGHT, 0xF3, 0, 0)  # global table of 16 colours
    for r, g, b in PALETTE:
        out += bytes([r, g, b])
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop forever
    for frame in range(FRAMES):
        draw_link(scene, frame)
        delay = DELAYS[frame % 2]
        if frame == 0:
            out += image_block(scene, 0, 0, delay)
        else:
            x, y, w, h = BAND
            out += image_block(scene.crop(x, y, w, h), x, y, delay)
    out += b"\x3B"
    with open(target, "wb") as f:
        f.write(out)
    print(f"{target}: {len(out)} bytes, {FRAMES} frames")


if __name__ == "__main__":
    main()
