#!/usr/bin/env python3
"""Writes a stand-in product of about 30 MB for the extraction benchmark.

  make_bench_payload.py OUT_FOLDER [COPIES]

With COPIES, the product COPIES times over (the further copies in folders
part_2 ... with content of their own), to show how the cost grows.

Pseudo-random but fixed content: program-like binaries and images that do
not compress, text and HTML that do, spread over a few folders like the
product's.
"""
import os
import random
import sys

out = sys.argv[1]
copies = int(sys.argv[2]) if len(sys.argv) > 2 else 1
WORDS = ('Bild Ansicht Datei Symbol Leiste Vorschau Farbe Format Diashow Zoom '
         'Drehen Drucken Speichern Optionen Sprache Hilfe Plugin Miniatur').split()

layout = [
    ('', 'photar64.exe', 6_000_000, False),
    ('', 'pt_uninstall.exe', 300_000, False),
    ('', 'photar32.chm', 1_500_000, False),
]
layout += [('Plugins', 'plugin_%02d.dll' % i, 700_000, False) for i in range(24)]
layout += [('Languages', 'lang_%02d.dll' % i, 150_000, True) for i in range(30)]
layout += [('Html', 'page_%03d.htm' % i, 20_000, True) for i in range(120)]
layout += [('Toolbars', 'skin_%02d.png' % i, 120_000, False) for i in range(20)]
layout += [('Help', 'help_%02d.chm' % i, 300_000, True) for i in range(8)]
layout += [('', 'p_text_%02d.txt' % i, 40_000, True) for i in range(10)]

for copy in range(1, copies + 1):
    rng = random.Random(4711 + copy - 1)
    root = out if copy == 1 else os.path.join(out, 'part_%d' % copy)
    for folder, name, size, text in layout:
        path = os.path.join(root, folder)
        os.makedirs(path, exist_ok=True)
        if text:
            parts, total = [], 0
            while total < size:
                line = ' '.join(rng.choice(WORDS) for _ in range(12)) + '\r\n'
                parts.append(line)
                total += len(line)
            data = ''.join(parts).encode()[:size]
        else:
            data = rng.randbytes(size)
        with open(os.path.join(path, name), 'wb') as f:
            f.write(data)
