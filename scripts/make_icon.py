#!/usr/bin/env python3
"""Draws the program's 32 x 32 icon, a hamburger seen slightly from the side, as an XPM.

The picture is pixel art built from a few shapes (the domed top bun with sesame seeds, lettuce,
cheese, tomato, the patty and the bottom bun) on a transparent background. Run it to rewrite
window/hamburger.xpm. Every build makes the desktop's icons (16 to 256 pixels) and the Windows
icon from that file (packaging/xpm_to_png.cpp); app/frustum.ico is a copy of the latter, so after
a change of the picture copy it over (the windows_icon test fails until then):
    scripts/make_icon.py && cmake --build --preset ci && cp build/ci/packaging/frustum.ico app/
"""
import math
import pathlib

SIZE = 32
PALETTE = {
    ".": "None",      # transparent
    "k": "#4A2A10",   # outline, dark brown
    "o": "#C8782A",   # top bun, orange-brown
    "h": "#E09A48",   # top bun highlight
    "s": "#FFF4D0",   # sesame seed
    "g": "#3CA83C",   # lettuce
    "G": "#2A7A2A",   # lettuce shade
    "y": "#F8D020",   # cheese
    "r": "#D82020",   # tomato
    "p": "#4A4A4A",   # patty, dark grey
    "P": "#2E2E2E",   # patty shade
    "b": "#D08A3C",   # bottom bun
    "B": "#A8682A",   # bottom bun shade
}

grid = [["."] * SIZE for _ in range(SIZE)]


def put(x, y, c):
    if 0 <= x < SIZE and 0 <= y < SIZE:
        grid[y][x] = c


def span(y, x0, x1, c):
    for x in range(x0, x1 + 1):
        put(x, y, c)


# Top bun: a dome from row 4 to row 13, half-width growing from 8 to 14.
for y in range(4, 14):
    t = (y - 4) / 9
    half = round(7 + 7.5 * math.sqrt(min(1.0, t * 1.6)))
    span(y, 16 - half, 15 + half, "o")
    put(16 - half, y, "k")
    put(15 + half, y, "k")
span(3, 10, 21, "k")
for x, y in [(11, 6), (12, 6), (20, 7), (21, 7), (14, 8), (15, 8), (7, 10), (8, 10), (24, 11)]:
    put(x, y, "s")
for x, y in [(17, 5), (18, 5), (9, 9), (22, 10), (17, 11), (18, 11), (12, 12)]:
    put(x, y, "s")
for x, y in [(13, 5), (14, 5), (15, 5), (10, 7)]:
    put(x, y, "h")

# Lettuce: a wavy green band that hangs over the edge.
span(14, 1, 30, "g")
for x in range(1, 31):
    if x % 4 in (0, 1):
        put(x, 15, "g")
    if x % 4 == 1:
        put(x, 16, "G")

# Cheese with a drip on each side.
for x in range(2, 30):
    if grid[15][x] == ".":
        put(x, 15, "y")
span(16, 3, 28, "y")
for x, y in [(5, 17), (6, 17), (5, 18), (25, 17), (26, 17), (26, 18)]:
    put(x, y, "y")

# Tomato slice.
span(17, 3, 28, "r")
for x, y in [(5, 17), (6, 17), (25, 17), (26, 17)]:
    put(x, y, "y")

# Patty: dark grey, with a shaded lower edge.
for y in range(18, 23):
    inset = 2 if y in (18, 22) else 1
    span(y, 2 + inset, 29 - inset, "p")
span(22, 4, 27, "P")
for x, y in [(8, 19), (15, 20), (22, 19), (11, 21), (19, 21)]:
    put(x, y, "P")
put(5, 18, "y")
put(26, 18, "y")

# Bottom bun: its side, rounded at the bottom corners.
for y in range(23, 28):
    inset = {23: 2, 24: 2, 25: 2, 26: 3, 27: 5}[y]
    span(y, inset, 31 - inset, "b")
span(26, 4, 27, "B")
span(27, 5, 26, "B")
span(28, 7, 24, "k")
for y in range(23, 27):
    put(2 if y < 26 else 3, y, "k")
    put(29 if y < 26 else 28, y, "k")

lines = [
    "/* XPM */",
    "// The program's icon: a hamburger seen slightly from the side (made by scripts/make_icon.py).",
    "static const char* const hamburger_xpm[] = {",
    f'    "{SIZE} {SIZE} {len(PALETTE)} 1",',
]
for key, colour in PALETTE.items():
    lines.append(f'    "{key} c {colour}",')
for i, row in enumerate(grid):
    lines.append(f'    "{"".join(row)}"' + ("," if i < SIZE - 1 else ""))
lines.append("};")
out = pathlib.Path(__file__).resolve().parent.parent / "window" / "hamburger.xpm"
out.write_text("\n".join(lines) + "\n")
print(out)
