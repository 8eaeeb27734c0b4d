#!/usr/bin/env python3
"""The product check as the build runs it: a folder keeping every rule passes;
one folder per rule, breaking only it, is refused naming the file, and what
is not a plain file or folder stops the packing too; the notes' encoding; the
check's entry-name rules agree with install/entry_name.cpp built natively.

  product_rules_test.py STANDIN_DIR ICON_LIBRARY_DIR WORK_DIR
"""
import os
import random
import shutil
import socket
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CHECK = os.path.join(ROOT, 'product', 'check_product.py')
PACK = os.path.join(ROOT, 'product', 'pack_payload.py')
sys.path.insert(0, os.path.dirname(CHECK))
import check_product as rules  # noqa: E402

standin, icons, work = sys.argv[1:4]
FILE = 259 - rules.min_install_folder_chars()  # longest name below the folder every product allows
FOLDER = 247 - rules.min_install_folder_chars()


def read(folder, name):
    with open(os.path.join(folder, name), 'rb') as f:
        return f.read()


def i386(program):
    machine = int.from_bytes(program[60:64], 'little') + 4
    return program[:machine] + b'\x4c\x01' + program[machine + 2:]


def put(folder, name, data=b''):
    os.makedirs(os.path.dirname(os.path.join(folder, name)), exist_ok=True)
    if callable(data):
        if os.path.lexists(os.path.join(folder, name)):
            os.remove(os.path.join(folder, name))
        data(os.path.join(folder, name))
    elif data is not None:
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(data)


def check(*args, tool=CHECK):
    run = subprocess.run([sys.executable, tool] + list(args), capture_output=True, text=True)
    return run.returncode, [line.replace('product check: ', '') for line in run.stderr.splitlines()]


GOOD = {'photar64.exe': read(standin, 'photar64.exe'),
        'pt_uninstall.exe': read(standin, 'pt_uninstall.exe'),
        'Plugins/Icons.dll': read(standin, 'Icons.dll'),
        'Hilfe/' + 'h' * (FILE - 6): b'', 'f' * FOLDER + '/': None}
LONG_FILE, LONG_FOLDER = 'Hilfe/' + 'h' * (FILE - 5), 'g' * (FOLDER + 1)
CASES = [  # name, bytes (None: a folder, False: removed), start of the one message
    ('photar64.exe', False, 'photar64.exe: missing at the top'),
    ('pt_uninstall.exe', i386(GOOD['pt_uninstall.exe']), 'pt_uninstall.exe: not a 64-bit'),
    ('photar64.exe', b'MZ', 'photar64.exe: not a 64-bit Windows program'),
    ('Plugins/Icons.dll', False, 'Plugins/Icons.dll: missing'),
    ('Plugins/Icons.dll', read(icons, 'icons_no_version.dll'),
     'Plugins/Icons.dll: no version resource'),
    ('Plugins/Icons.dll', read(icons, 'icons_429_german_block.dll'),
     'Plugins/Icons.dll: no CompanyName in the version block 040904E4'),
    ('Plugins/Icons.dll', read(icons, 'icons_429_other_company.dll'),
     "Plugins/Icons.dll: company name 'Bildwerk Lindner'"),
    (LONG_FILE, b'', LONG_FILE + ': installed path of 260 characters'),
    (LONG_FOLDER + '/', None, LONG_FOLDER + ': installed path of 248 characters'),
    ('. ./', None, '. .: reaches outside the target folder'),
    ('Hilfe/nul.txt', b'', "Hilfe/nul.txt: the part 'nul.txt' is a device name"),
    ('COM1', b'', "COM1: the part 'COM1' is a device name"),
    ('liesmich.', b'', "liesmich.: the part 'liesmich.' ends in a dot or a blank"),
    ('Html ', b'', "Html : the part 'Html ' ends in a dot or a blank"),
    ('a?b.txt', b'', "a?b.txt: character '?' that Windows does not allow"),
    ('Bilder/\u00e4.txt', b'', "Bilder/\u00e4.txt: character '\u00e4'"),
    ('Hilfe/alticons.dll', b'', 'Hilfe/alticons.dll: would be skipped whenever an installed'),
    ('PHOTAR64.EXE', b'', 'photar64.exe: names the same file on Windows as PHOTAR64.EXE'),
    ('photar64.ini', b'[Photarium]', 'photar64.ini: the setup writes this name'),
    ('PHOTAR64.INI_TEMP', b'', 'PHOTAR64.INI_TEMP: the setup writes this name'),
    ('Photarium_Install.log', b'', 'Photarium_Install.log: the setup writes this name'),
    ('Toolbars/a.png.~PH3a9f', b'', "Toolbars/a.png.~PH3a9f: the part 'a.png.~PH3a9f' holds '.~ph'"),
    ('PHOTAR~1.INI', b'', "PHOTAR~1.INI: the part 'PHOTAR~1.INI' has the form of a Windows short"),
]
SECRET = os.path.join(work, 'id_ed25519')
ENTRIES = [  # not plain: refused by the check, and the packing stops too
    ('readme.txt', lambda path: os.symlink(SECRET, path), 'readme.txt: a symbolic link to'),
    ('photar64.exe', lambda path: os.symlink(os.path.join(standin, 'photar64.exe'), path),
     'photar64.exe: a symbolic link to'),
    ('Hilfe/extern', lambda path: os.symlink(work, path), 'Hilfe/extern: a symbolic link to'),
    ('alt.txt', lambda path: os.symlink('fehlt.txt', path), 'alt.txt: a symbolic link to fehlt'),
    ('Html/pipe', os.mkfifo, 'Html/pipe: a named pipe (FIFO)'),
    ('s', lambda path: socket.socket(socket.AF_UNIX).bind(path), 's: a socket'),
    ('Hilfe/key.chm', lambda path: os.link(SECRET, path), 'Hilfe/key.chm: a hard link'),
]
NOTES = [('\ufeffNeu\r\n'.encode('utf-16-le'), 0), ('\ufeffNeu'.encode('utf-8'), 1),
         ('Neu'.encode('utf-16-le'), 1), ('\ufeffNeu'.encode('utf-16-be'), 1),
         (b'\xff\xfe\x00\xd8', 1), (b'\xff\xfeN\x00\n', 1)]

failures = []
shutil.rmtree(work, ignore_errors=True)
put(work, os.path.basename(SECRET), b'privat')
for number, case in enumerate([None] + CASES + ENTRIES):
    folder = os.path.join(work, 'case%02d' % number)
    for name, data in GOOD.items():
        put(folder, name, data)
    if case and case[1] is False:
        os.remove(os.path.join(folder, case[0]))
    elif case:
        put(folder, case[0], case[1])
    code, lines = check(folder)
    expected = (1, 1) if case else (0, 0)
    if (code, len(lines)) != expected or case and not lines[0].startswith(case[2]):
        failures.append('%s: %r' % (folder, lines))
    packed = check(folder + '.zip', folder, tool=PACK)[0] == 0
    if packed != (case not in ENTRIES) or packed != os.path.exists(folder + '.zip'):
        failures.append('%s: packed is %s' % (folder, packed))
for data, expected in NOTES:
    put(work, 'notes', data)
    if check('--notes', os.path.join(work, 'notes'))[0] != expected:
        failures.append('notes %r' % data)

generator = random.Random(16)
names = ['..', '. .', ' ..', '... /a', 'a/. ./b', 'C:a', '/a', '\\a', 'a\\..\\b', 'ICONS.DLL']
names += [''.join(generator.choice('./\\ :aIiCcOoNnSsDdLl')
                  for _ in range(generator.randint(1, 12))) for _ in range(2000)]
tool = os.path.join(work, 'entry_name_verdicts')
subprocess.run([shutil.which('clang++') or 'c++', '-std=c++17', '-I', ROOT, '-o', tool,
                os.path.join(ROOT, 'install', 'entry_name.cpp'),
                os.path.join(os.path.dirname(__file__), 'entry_name_verdicts.cpp')], check=True)
native = subprocess.run([tool], input='\n'.join(names) + '\n', capture_output=True,
                        text=True).stdout.splitlines()
mirrored = ['%d %d' % (rules.is_safe_entry_name(n), rules.names_icon_library(n)) for n in names]
if native != mirrored:
    failures += ['entry name %r: extraction %s, check %s' % case
                 for case in zip(names, native, mirrored) if case[1] != case[2]] or ['too few']
print('\n'.join('FAIL ' + f for f in failures) or
      'ok: %d folders, %d notes, %d names' % (len(CASES + ENTRIES) + 1, len(NOTES), len(names)))
sys.exit(1 if failures else 0)
