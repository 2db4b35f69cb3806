#!/usr/bin/env python3
"""Draws the program's icon and writes it out: one .ico with three images (32x32 in two
colours, 32x32 and 16x16 in sixteen colours), PNGs from 16x16 to 256x256 for the desktop's icon
theme, and the same picture as a scalable SVG.

The picture: three bars on the label's dark green, the tallest in the label's yellow: the
largest of three. Change draw() below and run this script again; it needs only Python.
"""
import struct
import sys
import zlib
from pathlib import Path

# The classic sixteen-colour palette; the label's green and yellow are entries 2 and 11.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def draw(size):
    """The picture at a multiple of 16 pixels: a black-edged dark green tile with rounded
    corners, a white baseline, and three bars standing on it, the middle and tallest one yellow
    with an arrowhead above it."""
    s = size // 16  # 2 at 32 pixels, 1 at 16
    pixels = [[2] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            edge = min(x, y, size - 1 - x, size - 1 - y)
            corner = min(x, size - 1 - x) + min(y, size - 1 - y)
            if corner < s:
                pixels[y][x] = None  # the rounded corners are transparent
            elif edge == 0 or corner == s:
                pixels[y][x] = 0
    base = size - 3 * s  # the row of the baseline
    for x in range(s + 1, size - s - 1):
        pixels[base][x] = 15
    # (first column, width, height, colour) of each bar, in sixteenths of the tile
    for left, width, height, colour in ((3, 2, 5, 7), (7, 2, 8, 11), (11, 2, 6, 7)):
        for y in range(base - height * s, base):
            for x in range(left * s, (left + width) * s):
                pixels[y][x] = colour
    # An arrowhead over the tallest bar, pointing up.
    tip = base - 8 * s - 2 * s - 1
    centre = 8 * s - 1
    for row in range(s + 1):
        for x in range(centre - row, centre + row + 2):
            pixels[tip + row][x] = 11
    return pixels


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def pack_bits(values, bits):
    out, acc, used = bytearray(), 0, 0
    for v in values:
        acc = (acc << bits) | v
        used += bits
        if used == 8:
            out.append(acc)
            acc, used = 0, 0
    if used:
        out.append(acc << (8 - used))
    return bytes(out)


def dib(pixels, bits):
    """A BITMAPINFOHEADER image as an .ico holds it: palette, colour rows, then the mask."""
    size = len(pixels)
    if bits == 1:
        palette = [(0, 0, 0), (255, 255, 255)]
        # Two colours: the bars and the frame in white, the rest black.
        index = lambda c: 0 if c in (None, 0, 2) else 1
    else:
        palette = PALETTE
        index = lambda c: 0 if c is None else c
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0,
                         len(palette), 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    rows = b"".join(padded(pack_bits([index(c) for c in row], bits)) for row in reversed(pixels))
    mask = b"".join(padded(pack_bits([1 if c is None else 0 for c in row], 1))
                    for row in reversed(pixels))
    return header + colours + rows + mask, len(palette)


def ico(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for pixels, bits in images:
        data, colours = dib(pixels, bits)
        size = len(pixels)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colours % 256, 0, 1, bits,
                               len(data), offset)
        blobs += data
        offset += len(data)
    return directory + entries + blobs


def png(pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    size = len(pixels)
    raw = b"".join(b"\0" + b"".join(bytes(PALETTE[c]) + b"\xff" if c is not None else b"\0" * 4
                                    for c in row) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def svg(pixels):
    """The picture as squares of one unit on a grid of its size, a run of equal squares in a row
    as one rectangle: it scales to any size with the edges it has at 32 pixels."""
    size = len(pixels)
    rects = []
    for y, row in enumerate(pixels):
        x = 0
        while x < size:
            colour = row[x]
            end = x
            while end < size and row[end] == colour:
                end += 1
            if colour is not None:
                r, g, b = PALETTE[colour]
                rects.append(f'<rect x="{x}" y="{y}" width="{end - x}" height="1" '
                             f'fill="#{r:02x}{g:02x}{b:02x}"/>')
            x = end
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
            f'viewBox="0 0 {size} {size}" shape-rendering="crispEdges">\n' +
            "\n".join(rects) + "\n</svg>\n")


THEME_SIZES = (16, 32, 48, 64, 128, 256)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent
    big, small = draw(32), draw(16)
    (out / "qiuzuidashu.ico").write_bytes(ico([(big, 1), (big, 4), (small, 4)]))
    for size in THEME_SIZES:
        (out / f"qiuzuidashu-{size}.png").write_bytes(png(draw(size)))
    (out / "qiuzuidashu.svg").write_text(svg(big))


if __name__ == "__main__":
    main()
