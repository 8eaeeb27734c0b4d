#!/usr/bin/env python3
"""Packs the product file set into the setup program's archive.

  pack_payload.py OUT.zip TREE

TREE is a folder packed with its structure: plain files and folders only, as
product/check_product.py reads them (anything else stops the packing before
the archive is written). The archive is deterministic: the same input
gives the same bytes. Every folder has an entry of its own ahead of its files;
entries are in sorted order, folders stored, files deflated, all with one
fixed DOS date and time.
"""
import os
import sys
import zipfile

sys.dont_write_bytecode = True
from check_product import walk_product  # noqa: E402

# 2024-05-17 10:30:00 local time, as the product's release stamp
STAMP = (2024, 5, 17, 10, 30, 0)
DOS_DIRECTORY = 0x10
DOS_ARCHIVE = 0x20


def collect(tree):
    files, folders = {}, set()
    for name, path, problem in walk_product(tree):
        if problem:
            sys.exit('not packed: %s: %s' % (name, problem))
        if path is None:
            folders.add(name)
        else:
            files[name] = path
    return files, folders


def entries(files, folders):
    folders = set(folders)
    for name in files:
        parts = name.split('/')[:-1]
        for i in range(1, len(parts) + 1):
            folders.add('/'.join(parts[:i]))
    items = [(f.split('/'), f + '/', None) for f in folders]
    items += [(n.split('/'), n, p) for n, p in files.items()]
    # component-wise order puts a folder right ahead of what it holds
    items.sort(key=lambda item: [c.encode('utf-8') for c in item[0]])
    return [(name, path) for _, name, path in items]


def info(name, is_folder):
    zi = zipfile.ZipInfo(name, STAMP)
    zi.create_system = 0
    zi.external_attr = DOS_DIRECTORY if is_folder else DOS_ARCHIVE
    zi.compress_type = zipfile.ZIP_STORED if is_folder else zipfile.ZIP_DEFLATED
    return zi


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    out, tree = sys.argv[1:]
    if not os.path.isdir(tree):
        sys.exit('no such folder: ' + tree)
    tmp = out + '.tmp'
    files = unpacked = 0
    collected = collect(tree)
    with zipfile.ZipFile(tmp, 'w') as archive:
        for name, path in entries(*collected):
            if path is None:
                archive.writestr(info(name, True), b'')
            else:
                with open(path, 'rb') as f:
                    data = f.read()
                archive.writestr(info(name, False), data, compresslevel=9)
                files += 1
                unpacked += len(data)
    os.replace(tmp, out)
    print('packed %d files, %d bytes (largest first: %s); archive %d bytes' %
          (files, unpacked, largest(collected[0]), os.path.getsize(out)))


def largest(files, count=3):
    sizes = sorted(((os.path.getsize(p), n) for n, p in files.items()), reverse=True)
    return ', '.join('%s %d' % (n, s) for s, n in sizes[:count])


if __name__ == '__main__':
    main()
