#!/usr/bin/env python3
"""Writes res/app.ico, the installer's icon: a box of papers held by a belt.

Two images, 32x32 and 16x16 pixels, in the 16 standard Windows colours
(4 bits per pixel) with their AND masks: Windows 95 and NT 4 shrink the
large one badly for the small icons. Each picture is drawn below as text,
one character a pixel; '.' is transparent. An optional argument names
another output file.
"""

import pathlib
import struct
import sys

# Character, then the red, green and blue of that colour; the order of the
# rows is the order of the standard palette.
PALETTE = (
    ("K", 0x00, 0x00, 0x00),  # black
    ("r", 0x80, 0x00, 0x00),  # dark red
    ("G", 0x00, 0x80, 0x00),  # dark green
    ("y", 0x80, 0x80, 0x00),  # dark yellow
    ("b", 0x00, 0x00, 0x80),  # dark blue
    ("m", 0x80, 0x00, 0x80),  # dark magenta
    ("c", 0x00, 0x80, 0x80),  # dark cyan
    ("g", 0xC0, 0xC0, 0xC0),  # light grey
    ("D", 0x80, 0x80, 0x80),  # dark grey
    ("R", 0xFF, 0x00, 0x00),  # red
    ("L", 0x00, 0xFF, 0x00),  # green
    ("Y", 0xFF, 0xFF, 0x00),  # yellow
    ("B", 0x00, 0x00, 0xFF),  # blue
    ("M", 0xFF, 0x00, 0xFF),  # magenta
    ("C", 0x00, 0xFF, 0xFF),  # cyan
    ("W", 0xFF, 0xFF, 0xFF),  # white
)
TRANSPARENT = "."

IMAGE_32 = (
    "................................",
    "..............KKKKKKKKKKKK......",
    "..............KWWWWWWWWWWK......",
    ".........KKKKKKKKKKKKWbbbK......",
    ".........KWWWWWWWWWWKWWWWK......",
    ".........KWBBBBWBBBBKbbWbK......",
    ".........KWWWWWWWWWWKWWWWK......",
    ".........KBBBWBBBBWBKWbbbK......",
    ".........KWWWWWWWWWWKWWWWK......",
    ".........KBWBBBBWBBBKbbWbKKKK...",
    "........KKWWWWWWWWWWKWWWWKDKK...",
    ".......KDKBBBBWBBBBWKWbbbKKyK...",
    "......KDDKWWWWWWWWWWKWWWWKyyK...",
    ".....KDDDKBBWBBBBWBBKbbWKyyyK...",
    "....KDDDDKWWWWWWWWWWKWWKyyyyK...",
    "...KKKKKKKKKKKKKKKKKKKKyyyyyK...",
    "...KYYYYYYYYYYYYYYYYYYKyyyyyK...",
    "...KYYYYYYYYYYYYYYYYYYKyyyyyK...",
    "...KYYYYYYYYYYYYYYYYYYKyyyyyK...",
    "...KYYYYYYYYYYYYYYYYYYKyyyyyK...",
    "...KYYYYYYYKKKKYYYYYYYKyyyyyK...",
    "...KrrrrrrrKggKrrrrrrrKrrrrrK...",
    "...KRRRRRRRKggKRRRRRRRKrrrrrK...",
    "...KrrrrrrrKggKrrrrrrrKrrrrrK...",
    "...KYYYYYYYKKKKYYYYYYYKyyyyyK...",
    "...KYYYYYYYYYYYYYYYYYYKyyyyK....",
    "...KYYYYYYYYYYYYYYYYYYKyyyK.....",
    "...KYYYYYYYYYYYYYYYYYYKyyK......",
    "...KYYYYYYYYYYYYYYYYYYKyK.......",
    "...KYYYYYYYYYYYYYYYYYYKK........",
    "...KKKKKKKKKKKKKKKKKKKK.........",
    "................................",
)

IMAGE_16 = (
    "........KKKK....",
    "....KKKKKWWK....",
    "....KWWWKbWK....",
    "....KBBWKWWK....",
    "....KWWWKbWK....",
    "....KBWBKWWKKKK.",
    "...KKWWWKbWKDKK.",
    "..KDKBBWKWWKKyK.",
    ".KKKKKKKKKKKyyK.",
    ".KYYYYYYYYYKyyK.",
    ".KYYYKKKYYYKyyK.",
    ".KRRRKgKRRRKrrK.",
    ".KrrrKgKrrrKrrK.",
    ".KYYYKKKYYYKyK..",
    ".KYYYYYYYYYKK...",
    ".KKKKKKKKKKK....",
)


def color_index(char):
    """A picture character's palette index; transparent pixels are black under the mask."""
    if char == TRANSPARENT:
        return 0
    for index, entry in enumerate(PALETTE):
        if entry[0] == char:
            return index
    sys.exit("make-icon: unknown colour character %r" % char)


def pad_row(row):
    """A bitmap row padded to a multiple of four bytes."""
    return row + b"\0" * (-len(row) % 4)


def color_rows(rows):
    """The XOR bitmap, two pixels a byte, bottom row first."""
    data = b""
    for row in reversed(rows):
        indices = [color_index(char) for char in row]
        packed = bytes(indices[i] << 4 | indices[i + 1] for i in range(0, len(indices), 2))
        data += pad_row(packed)
    return data


def mask_rows(rows):
    """The AND mask, a bit a pixel, set where the picture is transparent."""
    data = b""
    for row in reversed(rows):
        bits = [char == TRANSPARENT for char in row]
        groups = (bits[x : x + 8] for x in range(0, len(bits), 8))
        packed = bytes(sum(bit << (7 - i) for i, bit in enumerate(group)) for group in groups)
        data += pad_row(packed)
    return data


def image_data(rows):
    """One image as an icon file holds it: header, palette, colours, mask."""
    size = len(rows)
    if any(len(row) != size for row in rows):
        sys.exit("make-icon: the %d-pixel picture is not square" % size)
    pixels = color_rows(rows) + mask_rows(rows)
    # The height counts the colour bitmap and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", blue, green, red, 0) for _, red, green, blue in PALETTE)
    return header + palette + pixels


def icon_file(images):
    """The icon directory, then the images."""
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    body = b""
    for rows in images:
        data = image_data(rows)
        size = len(rows)
        entry = (size, size, 16, 0, 1, 4, len(data), offset + len(body))
        directory += struct.pack("<BBBBHHII", *entry)
        body += data
    return directory + body


def main():
    default = pathlib.Path(__file__).resolve().parent.parent / "res" / "app.ico"
    target = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    target.write_bytes(icon_file([IMAGE_32, IMAGE_16]))


if __name__ == "__main__":
    main()
