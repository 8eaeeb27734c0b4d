#!/usr/bin/env python3
"""Draws the setup program's icon (111) and logo bitmap (113).

Run once; the outputs are committed. A stylised camera lens: a blue disc
with a lighter ring on a transparent ground.
"""
import struct
import sys
from pathlib import Path


def lens_pixel(x, y, size):
    c = (size - 1) / 2.0
    d = ((x - c) ** 2 + (y - c) ** 2) ** 0.5 / (size / 2.0)
    if d > 0.98:
        return (0, 0, 0, 0)
    if d > 0.80:
        return (40, 60, 120, 255)      # dark rim
    if d > 0.55:
        return (90, 150, 230, 255)     # ring
    if d > 0.25:
        return (20, 40, 90, 255)       # glass
    return (230, 240, 255, 255)        # highlight


def icon_image(size, pixel):
    """One 32-bit icon image; pixel(x, y, size) gives (r, g, b, a)."""
    # BITMAPINFOHEADER with doubled height (XOR + AND masks), bottom-up BGRA
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            xor += bytes((b, g, r, a))
    row_bytes = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(row_bytes)
        for x in range(size):
            if pixel(x, y, size)[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def write_icon(path, sizes, pixel=lens_pixel):
    images = [icon_image(s, pixel) for s in sizes]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    Path(path).write_bytes(bytes(out))


# 16-colour VGA palette
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# 3x5 letters for "PHOTARIUM"
FONT = {
    'P': ['111', '101', '111', '100', '100'], 'H': ['101', '101', '111', '101', '101'],
    'O': ['111', '101', '101', '101', '111'], 'T': ['111', '010', '010', '010', '010'],
    'A': ['010', '101', '111', '101', '101'], 'R': ['110', '101', '110', '101', '101'],
    'I': ['111', '010', '010', '010', '111'], 'U': ['101', '101', '101', '101', '111'],
    'M': ['101', '111', '111', '101', '101'],
}


def logo_index(x, y):
    # lens at the left, the name at the right, on white; 88 pixels wide in all
    d = ((x - 12) ** 2 + (y - 15) ** 2) ** 0.5
    if d <= 11:
        return 4 if d > 8 else 12 if d > 5 else 0 if d > 2 else 15
    text = 'PHOTARIUM'
    left, top, scale, gap = 25, 10, 2, 1   # 9 letters of 3 columns: 9 * 6 + 8 = 62
    if top <= y < top + 5 * scale and x >= left:
        pitch = 3 * scale + gap
        letter, offset = divmod(x - left, pitch)
        if letter < len(text) and offset < 3 * scale:
            glyph = FONT[text[letter]]
            if glyph[(y - top) // scale][offset // scale] == '1':
                return 4
    if y == 26 and 25 <= x < 87:
        return 9
    return 15


def write_logo(path, width=88, height=31):
    row_bytes = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(width):
            i = logo_index(x, y)
            row[x // 2] |= (i << 4) if x % 2 == 0 else i
        pixels += row
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(palette)
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    Path(path).write_bytes(file_header + info + palette + bytes(pixels))


if __name__ == '__main__':
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    write_icon(out / 'setup.ico', [32, 16])
    write_logo(out / 'logo.bmp')
