#!/usr/bin/env python3
"""Draws the six pictures of the PAL schematic as 24-bit BMP files.

    python3 assets/tools/make_pictures.py [output-folder]   (default: assets/)

Only the standard library is used and the output is byte-for-byte the same on
every run. All artwork is black on white. Wires that continue lines of the
schematic are drawn as crisp one-pixel lines on exact pixel rows/columns;
gate outlines are anti-aliased strokes (supersampled coverage).

The viewer places the pictures by these contracts (pixel coordinates inside
each picture, x to the right, y down):
  input.bmp   35 x 40  its two output wires leave the bottom edge at x = 9
                       (true input) and x = 26 (complemented input); the
                       top-left corner (about 10 x 18) stays white for the
                       input's value label drawn at (1, 1).
  and.bmp     30 x 20  the AND row enters at the left edge and leaves at the
                       right edge on row 10 (height / 2).
  or.bmp      25 x 18  centred in the OR box; at most as tall as the box of a
                       single AND row minus its frame, so it never covers it.
  output.bmp  40 x 40  the OR box's output enters at the left edge on row 20
                       (height / 2); the area from x = 18, y = 1 above that
                       wire stays white for the output's value label.
  point.bmp    7 x 7   a set fuse, centred on a crossing (odd size); its
                       centre row and column are black so crossing lines
                       stay unbroken.
  nopoint.bmp  7 x 7   a cleared fuse (hollow).
"""

import math
import os
import struct
import sys

SUBSAMPLES = 6  # per axis, for anti-aliased strokes


class Picture:
    """A grey-level canvas: ink[y][x] in 0.0 (white) .. 1.0 (black)."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.ink = [[0.0] * width for _ in range(height)]

    # -- crisp one-pixel wires -------------------------------------------
    def hline(self, x0, x1, y):
        for x in range(x0, x1 + 1):
            self.ink[y][x] = 1.0

    def vline(self, x, y0, y1):
        for y in range(y0, y1 + 1):
            self.ink[y][x] = 1.0

    # -- anti-aliased shapes -----------------------------------------------
    # Coordinates are pixel centres: (3, 4) is the middle of pixel column 3,
    # row 4. A shape is a function (px, py) -> bool in those coordinates.
    def paint(self, inside, bounds=None):
        x0, y0, x1, y1 = bounds or (0, 0, self.width - 1, self.height - 1)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width - 1, int(x1) + 1), min(self.height - 1, int(y1) + 1)
        step = 1.0 / SUBSAMPLES
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                hits = 0
                for sy in range(SUBSAMPLES):
                    py = y - 0.5 + (sy + 0.5) * step
                    for sx in range(SUBSAMPLES):
                        px = x - 0.5 + (sx + 0.5) * step
                        if inside(px, py):
                            hits += 1
                coverage = hits / (SUBSAMPLES * SUBSAMPLES)
                self.ink[y][x] = max(self.ink[y][x], coverage)

    def stroke(self, points, width, closed=False):
        """A polyline of the given pen width with round joins."""
        segments = list(zip(points, points[1:]))
        if closed:
            segments.append((points[-1], points[0]))
        half = width / 2.0
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        bounds = (min(xs) - half - 1, min(ys) - half - 1, max(xs) + half + 1, max(ys) + half + 1)

        def inside(px, py):
            return any(distance_to_segment(px, py, a, b) <= half for a, b in segments)

        self.paint(inside, bounds)

    def disc(self, cx, cy, radius):
        self.paint(lambda px, py: math.hypot(px - cx, py - cy) <= radius,
                   (cx - radius - 1, cy - radius - 1, cx + radius + 1, cy + radius + 1))

    def ring(self, cx, cy, radius, width):
        half = width / 2.0
        self.paint(lambda px, py: abs(math.hypot(px - cx, py - cy) - radius) <= half,
                   (cx - radius - 2, cy - radius - 2, cx + radius + 2, cy + radius + 2))

    # -- output --------------------------------------------------------------
    def bmp_bytes(self):
        """A bottom-up 24-bit BMP (BITMAPINFOHEADER, no compression)."""
        row_size = (self.width * 3 + 3) & ~3
        pixels = bytearray()
        for y in reversed(range(self.height)):
            row = bytearray()
            for x in range(self.width):
                grey = int(round(255 * (1.0 - min(1.0, self.ink[y][x]))))
                row += bytes((grey, grey, grey))
            row += bytes(row_size - len(row))
            pixels += row
        header_size = 14 + 40
        file_header = struct.pack('<2sIHHI', b'BM', header_size + len(pixels), 0, 0, header_size)
        info_header = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 24, 0,
                                  len(pixels), 3780, 3780, 0, 0)
        return file_header + info_header + bytes(pixels)


def distance_to_segment(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def arc(cx, cy, radius, start_degrees, end_degrees, steps=24):
    return [(cx + radius * math.cos(math.radians(start_degrees + (end_degrees - start_degrees) * k / steps)),
             cy + radius * math.sin(math.radians(start_degrees + (end_degrees - start_degrees) * k / steps)))
            for k in range(steps + 1)]


def bezier(p0, p1, p2, p3, steps=24):
    points = []
    for k in range(steps + 1):
        t = k / steps
        u = 1 - t
        points.append((u * u * u * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t * t * t * p3[0],
                       u * u * u * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t * t * t * p3[1]))
    return points


PEN = 1.5  # outline width of the gate symbols, in pixels


def input_buffer():
    """A buffer pointing down that feeds the true line (x = 9) and, through
    an inverting bubble, the complemented line (x = 26)."""
    p = Picture(35, 40)
    p.vline(17, 0, 13)                                   # the input comes in from the top
    p.stroke([(10, 14), (24, 14), (17, 26)], PEN, closed=True)
    p.vline(17, 27, 30)
    p.hline(9, 26, 30)                                   # splits into the two lines
    p.vline(9, 30, 39)                                   # true input
    p.vline(26, 30, 31)
    p.ring(26, 34, 2.5, 1.2)                             # inversion bubble
    p.vline(26, 37, 39)                                  # complemented input
    return p


def and_gate():
    p = Picture(30, 20)
    p.hline(0, 6, 10)
    outline = [(6, 2), (15, 2)] + arc(15, 10, 8, -90, 90) + [(15, 18), (6, 18)]
    p.stroke(outline, PEN, closed=True)
    p.hline(23, 29, 10)
    return p


def or_gate():
    """Symmetric about row 8.5, the middle of the box of a single AND row,
    with a clear pixel or two to the frame above and below."""
    p = Picture(25, 18)
    top = bezier((3, 2.5), (11, 2.5), (18, 3.5), (22, 8.5))
    bottom = bezier((22, 8.5), (18, 13.5), (11, 14.5), (3, 14.5))
    back = bezier((3, 14.5), (7, 11.5), (7, 5.5), (3, 2.5))
    p.stroke(top + bottom[1:] + back[1:], PEN, closed=True)
    return p


def output_buffer():
    p = Picture(40, 40)
    p.hline(0, 5, 20)
    p.stroke([(5, 11), (17, 20), (5, 29)], PEN, closed=True)
    p.hline(17, 39, 20)
    return p


def fuse_point():
    p = Picture(7, 7)
    p.disc(3, 3, 3.45)
    p.hline(0, 6, 3)
    p.vline(3, 0, 6)
    return p


def fuse_no_point():
    p = Picture(7, 7)
    p.ring(3, 3, 2.6, 1.2)
    return p


PICTURES = {
    'input.bmp': input_buffer,
    'and.bmp': and_gate,
    'or.bmp': or_gate,
    'output.bmp': output_buffer,
    'point.bmp': fuse_point,
    'nopoint.bmp': fuse_no_point,
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(here)
    for name, draw in PICTURES.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(draw().bmp_bytes())
        print(os.path.join(folder, name))


if __name__ == '__main__':
    main()
