#!/usr/bin/env python3
"""Writes the default-associations files an administrator imports on Windows
8 and later (DISM /Import-DefaultAppAssociations, or the Group Policy "Set a
default associations configuration file"), one per choice of the silent
mode: the image formats (as /assoc=1) and all formats (as /assoc=2).

  write_default_associations.py OUT_FOLDER [FACTS.toml]

Each extension of the rows once, with the program identifier the setup
program registers for it; the rows come from the product's facts.
"""
import os
import sys
from xml.sax.saxutils import quoteattr

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(ROOT, 'resources'))
import product_facts  # noqa: E402

# the application's name as Windows shows it (FriendlyAppName)
APPLICATION_NAME = 'Photarium 64-bit'
IMAGE_ROWS = 48
FILES = [('Photarium_DefaultAssociations_Images.xml', IMAGE_ROWS),
         ('Photarium_DefaultAssociations_All.xml', None)]


def document(rows):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', '<DefaultAssociations>']
    seen = set()
    for _, pairs in rows:
        for extension, suffix in pairs:
            if extension in seen:
                raise product_facts.FactsError('extension %s in two rows' % extension)
            seen.add(extension)
            lines.append('  <Association Identifier=%s ProgId=%s ApplicationName=%s />' % (
                quoteattr('.' + extension), quoteattr('Photarium.' + suffix),
                quoteattr(APPLICATION_NAME)))
    lines.append('</DefaultAssociations>')
    # Windows' own exports end their lines so
    return '\r\n'.join(lines) + '\r\n'


def main(args):
    if len(args) not in (1, 2):
        sys.exit(__doc__)
    try:
        rows = product_facts.load(*args[1:])['formats']
        texts = [(name, document(rows[:count])) for name, count in FILES]
    except (OSError, ValueError, product_facts.FactsError) as error:
        sys.exit('default associations: %s' % error)
    os.makedirs(args[0], exist_ok=True)
    for name, text in texts:
        with open(os.path.join(args[0], name), 'w', encoding='utf-8', newline='') as f:
            f.write(text)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
