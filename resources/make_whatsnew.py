#!/usr/bin/env python3
"""Turns the UTF-8 release notes into the resource's form: UTF-16LE with a
byte-order mark, CR LF after every line, no terminating NUL.

usage: make_whatsnew.py whatsnew.txt whatsnew.utf16
"""
import sys

def main(source, target):
    with open(source, encoding="utf-8") as f:
        lines = f.read().splitlines()
    text = "\ufeff" + "".join(line + "\r\n" for line in lines)
    with open(target, "wb") as f:
        f.write(text.encode("utf-16-le"))

if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
