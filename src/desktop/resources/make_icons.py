#!/usr/bin/env python3
"""Draws the desktop program's icons and writes them as .ico files beside this script: the
program icon (128) and the four tray activity icons (140 idle, 141 upload, 142 download, 143
both). Shapes are drawn at 4x4 subsamples per pixel, so edges are smooth at every size.

Run it again after changing a picture; the .ico files are committed."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 4

# Colours as (r, g, b); the graph's own defaults: download red, upload green, both yellow.
DOWN = (230, 40, 40)
UP = (20, 180, 40)
BOTH = (240, 210, 0)
IDLE = (150, 150, 150)
GRAPH_BACKGROUND = (173, 219, 222)
FRAME = (40, 60, 80)


def inside_polygon(x, y, points):
    """Even-odd rule."""
    hit = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


class Canvas:
    """RGBA pixels, shapes in a 0..1 unit square."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def fill(self, covers, colour, alpha=255):
        n = self.size
        for py in range(n):
            for px in range(n):
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        x = (px + (sx + 0.5) / SAMPLES) / n
                        y = (py + (sy + 0.5) / SAMPLES) / n
                        hits += covers(x, y)
                if hits:
                    self.blend(px, py, colour, alpha * hits // (SAMPLES * SAMPLES))

    def blend(self, px, py, colour, alpha):
        r0, g0, b0, a0 = self.pixels[py][px]
        a = alpha / 255.0
        out_a = a + a0 / 255.0 * (1 - a)
        if out_a <= 0:
            return
        mix = [
            round((c * a + c0 * (a0 / 255.0) * (1 - a)) / out_a)
            for c, c0 in zip(colour, (r0, g0, b0))
        ]
        self.pixels[py][px] = (*mix, round(out_a * 255))

    def polygon(self, points, colour, alpha=255):
        self.fill(lambda x, y: inside_polygon(x, y, points), colour, alpha)

    def rect(self, left, top, right, bottom, colour, alpha=255, radius=0.0):
        def covers(x, y):
            if not (left <= x < right and top <= y < bottom):
                return False
            cx = min(max(x, left + radius), right - radius)
            cy = min(max(y, top + radius), bottom - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2

        self.fill(covers, colour, alpha)


def arrow(canvas, centre_x, pointing_down, colour):
    """A fat arrow occupying a column of the icon."""
    w = 0.26
    head = 0.24
    if pointing_down:
        points = [(centre_x - w / 2, 0.1), (centre_x + w / 2, 0.1), (centre_x + w / 2, 0.55),
                  (centre_x + head, 0.55), (centre_x, 0.92), (centre_x - head, 0.55), (centre_x - w / 2, 0.55)]
    else:
        points = [(centre_x - w / 2, 0.9), (centre_x + w / 2, 0.9), (centre_x + w / 2, 0.45),
                  (centre_x + head, 0.45), (centre_x, 0.08), (centre_x - head, 0.45), (centre_x - w / 2, 0.45)]
    canvas.polygon(points, (30, 30, 30), 200)  # dark outline: the shape shrunk a little goes on top
    inner = [(centre_x + (x - centre_x) * 0.86, 0.5 + (y - 0.5) * 0.93) for x, y in points]
    canvas.polygon(inner, colour)


def activity_icon(size, down_active, up_active):
    canvas = Canvas(size)
    arrow(canvas, 0.27, True, DOWN if down_active else IDLE)
    arrow(canvas, 0.73, False, UP if up_active else IDLE)
    return canvas


def program_icon(size):
    canvas = Canvas(size)
    canvas.rect(0.03, 0.03, 0.97, 0.97, FRAME, radius=0.16)
    canvas.rect(0.1, 0.1, 0.9, 0.9, GRAPH_BACKGROUND, radius=0.08)
    heights = [0.18, 0.3, 0.24, 0.42, 0.36, 0.55, 0.48, 0.66]
    ups = [0.1, 0.14, 0.2, 0.16, 0.28, 0.22, 0.34, 0.3]
    width = 0.8 / len(heights)
    for i, (down, up) in enumerate(zip(heights, ups)):
        left = 0.1 + i * width + width * 0.12
        right = left + width * 0.76
        canvas.rect(left, 0.9 - down, right, 0.9, DOWN)
        canvas.rect(left, 0.9 - up, right, 0.9, BOTH)
    return canvas


def bitmap_entry(canvas):
    """One image of an .ico: a 32-bit bottom-up DIB with its AND mask."""
    n = canvas.size
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b""
    for y in reversed(range(n)):
        for r, g, b, a in canvas.pixels[y]:
            rows += bytes((b, g, r, a))
    mask_row_bytes = ((n + 31) // 32) * 4
    mask = b""
    for y in reversed(range(n)):
        row = bytearray(mask_row_bytes)
        for x in range(n):
            if canvas.pixels[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    return header + rows + mask


def write_ico(path, canvases):
    images = [bitmap_entry(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        n = canvas.size
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)
    print("wrote", path)


def main():
    icons_dir = os.path.join(HERE, "icons")
    os.makedirs(icons_dir, exist_ok=True)
    # Small and large icon sizes at 100, 125, 150 and 200 % display scale.
    write_ico(os.path.join(icons_dir, "program.ico"), [program_icon(s) for s in (16, 20, 24, 32, 40, 48, 64)])
    for name, down, up in (("tray_idle", False, False), ("tray_up", False, True),
                           ("tray_down", True, False), ("tray_both", True, True)):
        write_ico(os.path.join(icons_dir, name + ".ico"), [activity_icon(s, down, up) for s in (16, 20, 24, 32)])


if __name__ == "__main__":
    main()
