#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
"""Draws Zefmor's icons and link cursor as pixel art and writes them into res/.

The files are kept in the repository; run this only to change the pictures."""
import os
import struct

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, OLIVE, SILVER, GRAY, YELLOW, WHITE = 0, 3, 7, 8, 11, 15
CLEAR = None


def padlock(size):
    """A padlock: a silver shackle over a yellow body with a keyhole. Drawn at 32, scaled down."""
    px = [[CLEAR] * 32 for _ in range(32)]
    for y in range(3, 16):
        for x in range(9, 23):
            inner = 12 <= x <= 19 and y >= 6
            if not inner:
                edge = x in (9, 22) or y == 3 or (y >= 6 and x in (12, 19)) or (y == 6 and 12 <= x <= 19)
                px[y][x] = BLACK if edge else SILVER
    for y in range(14, 30):
        for x in range(5, 27):
            edge = x in (5, 26) or y in (14, 29)
            px[y][x] = BLACK if edge else (OLIVE if y >= 26 or x >= 24 else YELLOW)
    for y in range(18, 21):
        for x in range(14, 18):
            px[y][x] = BLACK
    for y in range(21, 26):
        for x in range(15, 17):
            px[y][x] = BLACK
    step = 32 // size
    return [[px[y * step + step // 2][x * step + step // 2] for x in range(size)] for y in range(size)]


def hand():
    """A white pointing hand with a black outline; the fingertip is at (12, 1)."""
    mask = set()
    def rect(x0, y0, x1, y1):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                mask.add((x, y))
    rect(10, 2, 14, 17); rect(11, 1, 13, 1)        # index finger
    rect(14, 8, 18, 17); rect(18, 9, 22, 17); rect(22, 11, 25, 18)
    rect(10, 14, 25, 26)                            # palm
    rect(6, 15, 10, 19); rect(8, 19, 10, 22)        # thumb
    rect(12, 26, 23, 30)                            # wrist
    px = [[CLEAR] * 32 for _ in range(32)]
    for (x, y) in mask:
        inside = all(n in mask for n in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))
        px[y][x] = WHITE if inside else BLACK
    for x, top in ((14, 9), (18, 10), (22, 12)):   # gaps between the fingers
        for y in range(top, 15):
            px[y][x] = BLACK
    px[1][12] = BLACK
    return px


def dib(px, bits, palette):
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0, 0, 0, 0, len(palette), 0)
    pal = b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in palette)
    xor = bytearray()
    and_mask = bytearray()
    for row in reversed(px):
        line = bytearray()
        if bits == 4:
            for x in range(0, size, 2):
                a, b = row[x] or 0, row[x + 1] or 0
                line.append((a << 4) | b)
        else:
            line.extend(c or 0 for c in row)
        while len(line) % 4:
            line.append(0)
        xor += line
        mline = bytearray()
        for x in range(0, size, 8):
            byte = 0
            for i in range(8):
                if x + i < size and row[x + i] is None:
                    byte |= 0x80 >> i
            mline.append(byte)
        while len(mline) % 4:
            mline.append(0)
        and_mask += mline
    return header + pal + bytes(xor) + bytes(and_mask)


def write(path, kind, images):
    """images: list of (pixels, bits, palette, hotspot)."""
    blobs = [dib(p, b, pal) for (p, b, pal, _) in images]
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for (p, bits, pal, hot), blob in zip(images, blobs):
        size = len(p)
        colours = len(pal) if len(pal) < 256 else 0
        a, b = hot if kind == 2 else (1, bits)
        out += struct.pack('<BBBBHHII', size, size, colours, 0, a, b, len(blob), offset)
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(out + b''.join(blobs))


def shaded(px):
    """The 256-colour padlock: gold and silver shaded from top left to bottom right."""
    pal = list(VGA) + [(0, 0, 0)] * 240
    for i in range(32):
        pal[16 + i] = (255 - i * 3, 215 - i * 4, 40 - i)       # gold
        pal[48 + i] = (235 - i * 3, 235 - i * 3, 240 - i * 3)   # silver
    out = [row[:] for row in px]
    for y in range(32):
        for x in range(32):
            c = px[y][x]
            if c in (YELLOW, OLIVE):
                out[y][x] = 16 + min(31, (x + y) // 2 + (8 if c == OLIVE else 0))
            elif c == SILVER:
                out[y][x] = 48 + min(31, (x + y) // 2)
    return out, pal


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'res')
    write(os.path.join(res, 'zefmor.ico'), 1,
          [(padlock(32), 4, VGA, None), (padlock(16), 4, VGA, None)])
    px256, pal256 = shaded(padlock(32))
    write(os.path.join(res, 'zefmor256.ico'), 1, [(px256, 8, pal256, None)])
    write(os.path.join(res, 'link.cur'), 2, [(hand(), 4, VGA, (12, 1))])


if __name__ == '__main__':
    main()
