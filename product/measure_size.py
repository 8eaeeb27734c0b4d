#!/usr/bin/env python3
"""The installed size of a product archive for the uninstall entry.

  measure_size.py ARCHIVE.zip OUT.rc

writes a resource script holding RCDATA 213: the sum of the sizes of the
archive's files in KB (1024 bytes), rounded up, as one 32-bit number.
"""
import sys
import zipfile


def installed_kb(archive):
    with zipfile.ZipFile(archive) as z:
        total = sum(info.file_size for info in z.infolist() if not info.is_dir())
    return (total + 1023) // 1024


def main(args):
    if len(args) != 2:
        sys.exit(__doc__)
    text = '// Written by product/measure_size.py: KB the product takes installed.\n' \
           '213 RCDATA\nBEGIN\n    %dL\nEND\n' % installed_kb(args[0])
    with open(args[1], 'w', encoding='utf-8', newline='\n') as f:
        f.write(text)


if __name__ == '__main__':
    main(sys.argv[1:])
