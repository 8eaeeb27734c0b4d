#!/usr/bin/env python3
"""Writes the setup program's linker script: the linker's own default script
with the small sections folded into larger ones of the same kind.

Every section starts on a page boundary in the file (see CMakeLists.txt), so
each one costs at least 4 KB of the download. The C runtime's .CRT tables and
the .tls template (under 200 bytes together) go into .data, and the unwind
data .xdata into .rdata, as Microsoft's linker lays them out. .pdata stays a
section of its own: the exception directory is taken from it by name.

    make_linker_script.py LINKER OUTPUT
"""
import re
import subprocess
import sys

BLOCK = r" BLOCK\(__section_alignment__\) :\s*\{\n"


def default_script(linker):
    text = subprocess.run([linker, "--verbose"], check=True, capture_output=True,
                          text=True).stdout
    parts = text.split("=" * 50 + "\n")
    if len(parts) != 3:
        sys.exit(f"{linker} --verbose printed no default script")
    return parts[1]


def take(script, name):
    """Removes the output section statement `name`; returns the script and its body."""
    match = re.search(r"\n  " + re.escape(name) + BLOCK + r"(.*?)\n  \}\n", script, re.S)
    if not match:
        sys.exit(f"no {name} statement in the default linker script")
    return script[:match.start()] + "\n" + script[match.end():], match.group(1) + "\n"


def put(script, name, before, body):
    """Inserts body into statement `name`, ahead of the line `before` (None: first)."""
    match = re.search(r"\n  " + re.escape(name) + BLOCK, script)
    if not match:
        sys.exit(f"no {name} statement in the default linker script")
    at = match.end()
    if before is not None:
        at = script.find(before, match.end())
        if at < 0:
            sys.exit(f"no '{before.strip()}' in {name}")
    return script[:at] + body + script[at:]


def main():
    linker, output = sys.argv[1:]
    script = default_script(linker)
    script, crt = take(script, ".CRT")
    script, tls = take(script, ".tls")
    script, xdata = take(script, ".xdata")
    # the TLS template keeps the start of its section: its offsets are taken from there
    script = put(script, ".data", None, tls)
    # the runtime's TLS initialiser bounds (.CRT$XDA, $XDZ) are not named in the
    # default script; there they follow the other tables
    script = put(script, ".data", "    __data_end__ = . ;",
                 crt + "    KEEP (*(SORT(.CRT$XD*)))\n")
    script = put(script, ".rdata", "    . = ALIGN(4);\n    __rt_psrelocs_start", xdata)
    with open(output, "w") as f:
        f.write(script)


if __name__ == "__main__":
    main()
