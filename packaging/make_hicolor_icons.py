#!/usr/bin/env python3
"""Writes the desktop icons of the Check Tool into packaging/icons/hicolor/: the window's icon (166,
drawn by res/app/make_icons.py) as PNG at the sizes desktops ask for, and as scalable SVG.

The PNG files are committed, so that a build needs no Python; run this again when the drawing changes.
"""
import os
import sys

sys.dont_write_bytecode = True  # leave no cache beside the drawing script

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "res", "app"))
import make_icons  # noqa: E402

ICON_NAME = "com.tarvo.CheckTool"
APP_ICON = 166
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def svg(colour, size=make_icons.SIZE):
    """The same drawing as make_icons' "monitor" mark, as vector shapes in its 64 x 64 design space."""
    fill = "#%02X%02X%02X" % colour
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 64 64">
  <rect x="2" y="2" width="60" height="60" rx="12" ry="12" fill="{fill}"/>
  <g fill="none" stroke="#FFFFFF" stroke-linecap="round" stroke-linejoin="round">
    <polyline points="19,30 28,39 46,20" stroke-width="6.4"/>
    <line x1="24" y1="52" x2="40" y2="52" stroke-width="3.2"/>
  </g>
  <rect x="12" y="44" width="40" height="3" fill="#FFFFFF"/>
</svg>
"""


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def main():
    colour, kind = make_icons.ICONS[APP_ICON]
    root = os.path.join(HERE, "icons", "hicolor")
    for size in SIZES:
        pixels = make_icons.render(colour, kind, size)
        write(os.path.join(root, f"{size}x{size}", "apps", ICON_NAME + ".png"), make_icons.png(pixels, size))
    write(os.path.join(root, "scalable", "apps", ICON_NAME + ".svg"), svg(colour).encode())


if __name__ == "__main__":
    main()
