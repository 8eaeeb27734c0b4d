#!/usr/bin/env python3
"""Pads a file with zero bytes to an exact size: pad_file.py FILE SIZE.

Data after the last section of a program file is not loaded, so the version
block stays readable while the file gets the size a check looks for.
"""
import os
import sys

path, size = sys.argv[1], int(sys.argv[2])
have = os.path.getsize(path)
if have > size:
    sys.exit('%s: %d bytes, more than %d' % (path, have, size))
with open(path, 'ab') as f:
    f.write(b'\0' * (size - have))
