#!/usr/bin/env python3
"""Draws the stand-in viewer's icons and the four toolbar skins.

Run once; the outputs are committed:
  src/icons/photar_NN.ico   twelve icons (32 and 16 px), one colour each
  files/Toolbars/<skin>.png      a strip of toolbar buttons at the skin's size
"""
import struct
import sys
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / 'resources'))
import make_art  # noqa: E402  the icon file writer of the setup program's own art

# one hue per icon index; index 0 is the viewer, 7, 8, 9 are document types
COLOURS = [
    (40, 90, 200), (200, 60, 40), (60, 160, 70), (210, 160, 30),
    (140, 60, 170), (30, 150, 160), (120, 120, 120), (220, 100, 150),
    (90, 60, 30), (20, 20, 110), (170, 200, 40), (250, 120, 20),
]


def icon_pixel(x, y, size, index):
    r, g, b = COLOURS[index]
    m = size // 8
    if x < m or y < m or x >= size - m or y >= size - m:
        return (0, 0, 0, 0)
    # a framed picture with the icon's number as bars along the bottom
    if x in (m, size - m - 1) or y in (m, size - m - 1):
        return (30, 30, 30, 255)
    bars = index + 1
    bar_y = size - 2 * m - 1
    if y >= bar_y - max(1, size // 16) and y < bar_y:
        step = (size - 4 * m) / 12.0
        if (x - 2 * m) >= 0 and int((x - 2 * m) / step) < bars and (x - 2 * m) % max(1, int(step)) != 0:
            return (255, 255, 255, 255)
    shade = 0.6 + 0.4 * (1 - y / float(size))
    return (int(r * shade), int(g * shade), int(b * shade), 255)


def write_icon(path, index, sizes=(32, 16)):
    make_art.write_icon(path, list(sizes), lambda x, y, size: icon_pixel(x, y, size, index))


def png_chunk(kind, data):
    body = kind + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)


def write_png(path, width, height, pixel):
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw += bytes(pixel(x, y))
    data = b'\x89PNG\r\n\x1a\n'
    data += png_chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
    data += png_chunk(b'IDAT', zlib.compress(bytes(raw), 9))
    data += png_chunk(b'IEND', b'')
    path.write_bytes(data)


SKINS = [
    ('gnome-colors-human_48', 48, (200, 120, 50)),
    ('gnome-colors-wise_32', 32, (80, 140, 60)),
    ('Obsidian_24', 24, (40, 40, 50)),
    ('Quartz_16', 16, (180, 180, 200)),
]
BUTTONS = 8


def skin_pixel(size, colour):
    def pixel(x, y):
        cx = x % size
        button = x // size
        c = (size - 1) / 2.0
        d = max(abs(cx - c), abs(y - c)) / (size / 2.0)
        if d > 0.9:
            return (0, 0, 0, 0)
        k = 0.5 + 0.5 * ((button + 1) / BUTTONS)
        return (int(colour[0] * k), int(colour[1] * k), int(colour[2] * k), 255)
    return pixel


def main():
    for i in range(len(COLOURS)):
        write_icon(HERE / 'src' / 'icons' / ('photar_%02d.ico' % i), i)
    for name, size, colour in SKINS:
        write_png(HERE / 'files' / 'Toolbars' / (name + '.png'), size * BUTTONS, size, skin_pixel(size, colour))


if __name__ == '__main__':
    main()
