#!/usr/bin/env python3
"""Packs the product file set into the setup program's archive.

  pack_payload.py OUT.zip TREE [NAME=FILE ...]

TREE is a folder packed with its structure; each NAME=FILE adds (or replaces)
one file under its archive name. The archive is deterministic: the same input
gives the same bytes. Every folder has an entry of its own ahead of its files;
entries are in sorted order, folders stored, files deflated, all with one
fixed DOS date and time.
"""
import os
import sys
import zipfile

# 2024-05-17 10:30:00 local time, as the product's release stamp
STAMP = (2024, 5, 17, 10, 30, 0)
DOS_DIRECTORY = 0x10
DOS_ARCHIVE = 0x20


def collect(tree, extras):
    files, folders = {}, set()
    for base, dirs, names in os.walk(tree):
        dirs.sort()
        if base != tree:
            folders.add(os.path.relpath(base, tree).replace(os.sep, '/'))
        for name in names:
            path = os.path.join(base, name)
            rel = os.path.relpath(path, tree).replace(os.sep, '/')
            files[rel] = path
    for item in extras:
        name, _, path = item.partition('=')
        if not name or not path:
            sys.exit('bad NAME=FILE: ' + item)
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
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    out, tree, extras = sys.argv[1], sys.argv[2], sys.argv[3:]
    if not os.path.isdir(tree):
        sys.exit('no such folder: ' + tree)
    tmp = out + '.tmp'
    files = unpacked = 0
    with zipfile.ZipFile(tmp, 'w') as archive:
        for name, path in entries(*collect(tree, extras)):
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
          (files, unpacked, largest(tree, extras), os.path.getsize(out)))


def largest(tree, extras, count=3):
    files, _ = collect(tree, extras)
    sizes = sorted(((os.path.getsize(p), n) for n, p in files.items()), reverse=True)
    return ', '.join('%s %d' % (n, s) for s, n in sizes[:count])


if __name__ == '__main__':
    main()
