#!/usr/bin/env python3
"""Draws Radixel's emblem, a kestrel's wing over the binary digits 1011, as a 128 by 128 GIF,
and the same picture as the PNG that desktops show as the program's icon (icon themes take no GIF).

The output is the same byte for byte on every run, so the committed pictures can always be
checked against this script. Only the standard library is used; the GIF writer below is our own.

    python3 draw_emblem.py ["Kettlewing 128.gif" ["radixel.png"]]
"""

import math
import struct
import sys
import zlib

SIZE = 128

# Eight colours keep the picture to three bits a pixel.
WHITE, BLUE, NAVY, MID_BLUE, SKY, ORANGE, AMBER, MIST = range(8)
PALETTE = [
    (0xFF, 0xFF, 0xFF),
    (0x12, 0x29, 0xFF),  # the About window's border blue, so the two belong together
    (0x0B, 0x1A, 0x66),
    (0x4F, 0x6B, 0xFF),
    (0x9D, 0xB4, 0xFF),
    (0xFF, 0x8A, 0x1F),
    (0xFF, 0xC1, 0x4D),
    (0xE8, 0xEC, 0xFA),
]

CENTRE = (63.5, 63.5)
BADGE_RADIUS = 61.0
RING_WIDTH = 3.0


def _distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


class Canvas:
    def __init__(self):
        self.pixels = [[WHITE] * SIZE for _ in range(SIZE)]

    def fill(self, inside, colour):
        # Pixels are sampled at their centres; without antialiasing the palette stays small.
        for y in range(SIZE):
            row = self.pixels[y]
            for x in range(SIZE):
                if inside(x + 0.5, y + 0.5):
                    row[x] = colour

    def capsule(self, a, b, radius, colour):
        self.fill(lambda x, y: _distance_to_segment(x, y, a[0], a[1], b[0], b[1]) <= radius, colour)


def _badge(canvas):
    cx, cy = CENTRE
    canvas.fill(lambda x, y: math.hypot(x - cx, y - cy) <= BADGE_RADIUS, BLUE)
    canvas.fill(lambda x, y: math.hypot(x - cx, y - cy) <= BADGE_RADIUS - RING_WIDTH, MIST)


def _feather(canvas, root, angle_degrees, length, root_radius, tip_radius, colour):
    # A feather widens from its quill to a rounded tip: a capsule whose radius grows along it.
    angle = math.radians(angle_degrees)
    ax, ay = root
    bx, by = ax + length * math.cos(angle), ay - length * math.sin(angle)
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        radius = root_radius + (tip_radius - root_radius) * t
        return math.hypot(x - (ax + t * dx), y - (ay + t * dy)) <= radius

    canvas.fill(inside, colour)


# The wing is raised to the upper right: a fan of flight feathers from the wrist, the shortest
# lowest, each drawn over the one below it with a navy rim first so that neighbours stay apart.
WRIST = (16.0, 80.0)
FLIGHT_FEATHERS = [
    # angle above the horizontal, length, colour
    (-6, 52, MID_BLUE),
    (4, 62, BLUE),
    (14, 70, MID_BLUE),
    (24, 76, BLUE),
    (34, 79, MID_BLUE),
    (44, 79, BLUE),
    (54, 76, MID_BLUE),
]


def _wing(canvas):
    for angle, length, colour in FLIGHT_FEATHERS:
        _feather(canvas, WRIST, angle, length, 3.0, 7.8, NAVY)
        _feather(canvas, WRIST, angle, length - 1.4, 1.8, 6.4, colour)
    # The coverts: a light fan over the quills, with a scalloped edge of its own.
    for angle, length, _ in FLIGHT_FEATHERS:
        _feather(canvas, WRIST, angle, length * 0.45 + 1.4, 3.0, 7.0, NAVY)
    for angle, length, _ in FLIGHT_FEATHERS:
        _feather(canvas, WRIST, angle, length * 0.45, 2.0, 5.8, SKY)


# Digits in the manner of a seven-segment display, the strokes given as lines on a 2 by 2 grid
# (x across, y down); a one stands in the middle with a flag, as it is usually written.
STROKES = {
    "0": [((0, 0), (2, 0)), ((2, 0), (2, 2)), ((2, 2), (0, 2)), ((0, 2), (0, 0))],
    "1": [((1, 0), (1, 2)), ((1, 0), (0.35, 0.35)), ((0.45, 2), (1.55, 2))],
}
DIGIT_WIDTH, DIGIT_HEIGHT, STROKE, GAP = 12, 22, 2.0, 8
DIGITS_TOP = 92


def _digit(canvas, char, left, top, colour, stroke=STROKE):
    def at(point):
        return left + point[0] * DIGIT_WIDTH / 2, top + point[1] * DIGIT_HEIGHT / 2

    for a, b in STROKES[char]:
        canvas.capsule(at(a), at(b), stroke, colour)


def _digits(canvas, text):
    # A navy shadow below and an amber glint along the upper left give the digits some depth.
    total = len(text) * DIGIT_WIDTH + (len(text) - 1) * GAP
    left = CENTRE[0] - total / 2
    for i, char in enumerate(text):
        x = left + i * (DIGIT_WIDTH + GAP)
        _digit(canvas, char, x + 1, DIGITS_TOP + 1, NAVY)
        _digit(canvas, char, x, DIGITS_TOP, ORANGE)
        _digit(canvas, char, x - 0.8, DIGITS_TOP - 0.8, AMBER, stroke=0.5)


def draw():
    canvas = Canvas()
    _badge(canvas)
    _digits(canvas, "1011")
    _wing(canvas)
    return canvas.pixels


def _lzw(indices, min_code_size):
    """The GIF variant of LZW: variable-width codes, least significant bit first."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out = bytearray()
    bit_buffer, bit_count = 0, 0

    def emit(code, width):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {}, end + 1, min_code_size + 1

    table, next_code, width = fresh_table()
    emit(clear, width)
    prefix = indices[0]
    for k in indices[1:]:
        code = table.get((prefix, k))
        if code is not None:
            prefix = code
            continue
        emit(prefix, width)
        if next_code < 4096:
            table[(prefix, k)] = next_code
            next_code += 1
            # The decoder learns each entry one code later than we make it, so it widens its
            # codes one code later too.
            if next_code - 1 == (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table, next_code, width = fresh_table()
        prefix = k
    emit(prefix, width)
    emit(end, width)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def gif_bytes(pixels, palette):
    height, width = len(pixels), len(pixels[0])
    depth = max(1, (len(palette) - 1).bit_length())
    table_size = 1 << depth
    colours = list(palette) + [(0, 0, 0)] * (table_size - len(palette))
    min_code_size = max(2, depth)

    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0x80 | ((depth - 1) << 4) | (depth - 1), 0, 0)
    for r, g, b in colours:
        data += bytes((r, g, b))
    data += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
    data.append(min_code_size)
    stream = _lzw([index for row in pixels for index in row], min_code_size)
    for start in range(0, len(stream), 255):
        chunk = stream[start:start + 255]
        data.append(len(chunk))
        data += chunk
    data.append(0)
    data.append(0x3B)
    return bytes(data)


def png_bytes(pixels, palette):
    height, width = len(pixels), len(pixels[0])

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    # Eight bits a pixel, each row after filter type 0: the simplest form every reader takes.
    rows = b"".join(b"\0" + bytes(row) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0))
            + chunk(b"PLTE", b"".join(bytes(colour) for colour in palette))
            + chunk(b"IDAT", zlib.compress(rows, 9))
            + chunk(b"IEND", b""))


def main(argv):
    gif_target = argv[1] if len(argv) > 1 else "Kettlewing 128.gif"
    png_target = argv[2] if len(argv) > 2 else "radixel.png"
    pixels = draw()
    with open(gif_target, "wb") as f:
        f.write(gif_bytes(pixels, PALETTE))
    with open(png_target, "wb") as f:
        f.write(png_bytes(pixels, PALETTE))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
