#!/usr/bin/env python3
"""The product check as the build runs it: a folder that keeps every rule
passes, and one folder per rule, breaking only that rule, is refused with a
message naming the file; the release notes' encoding; and the check's
entry-name rules agree with a native build of install/entry_name.cpp.

  product_rules_test.py STANDIN_DIR ICON_LIBRARY_DIR WORK_DIR
"""
import os
import random
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CHECK = os.path.join(ROOT, 'product', 'check_product.py')
sys.path.insert(0, os.path.dirname(CHECK))
import check_product  # noqa: E402

standin, icons, work = sys.argv[1:4]
failures = []


def put(folder, name, data=b'x'):
    path = os.path.join(folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def program(name):
    with open(os.path.join(standin, name), 'rb') as f:
        return f.read()


def machine_i386(data):
    pe = int.from_bytes(data[60:64], 'little')
    return data[:pe + 4] + b'\x4c\x01' + data[pe + 6:]


def icons_from(name):
    with open(os.path.join(icons, name), 'rb') as f:
        return f.read()


LONGEST = 259 - check_product.max_install_folder_chars()       # a file's name
LONGEST_FOLDER = 247 - check_product.max_install_folder_chars()  # a folder's name


def base(folder):
    put(folder, 'photar64.exe', program('photar64.exe'))
    put(folder, 'pt_uninstall.exe', program('pt_uninstall.exe'))
    put(folder, 'Plugins/Icons.dll', program('Icons.dll'))
    put(folder, 'liesmich.txt')
    put(folder, 'Hilfe/' + 'h' * (LONGEST - len('Hilfe/')))  # just fits
    os.makedirs(os.path.join(folder, 'f' * LONGEST_FOLDER))


def check(*args):
    run = subprocess.run([sys.executable, CHECK] + list(args), capture_output=True, text=True)
    return run.returncode, [line for line in run.stderr.splitlines() if line]


# one row per rule: what changes in the folder, the one message the build prints
CASES = [
    (lambda d: os.remove(os.path.join(d, 'photar64.exe')),
     'photar64.exe: missing at the top of the product folder'),
    (lambda d: put(d, 'pt_uninstall.exe', machine_i386(program('pt_uninstall.exe'))),
     'pt_uninstall.exe: not a 64-bit Windows program (PE32+, AMD64)'),
    (lambda d: put(d, 'photar64.exe', b'MZ kein Programm'),
     'photar64.exe: not a 64-bit Windows program (PE32+, AMD64)'),
    (lambda d: os.remove(os.path.join(d, 'Plugins/Icons.dll')),
     'Plugins/Icons.dll: missing'),
    (lambda d: put(d, 'Plugins/Icons.dll', icons_from('icons_no_version.dll')),
     'Plugins/Icons.dll: no version resource with a file version'),
    (lambda d: put(d, 'Plugins/Icons.dll', icons_from('icons_429_german_block.dll')),
     'Plugins/Icons.dll: no CompanyName in the version block 040904E4 that the installer reads'),
    (lambda d: put(d, 'Plugins/Icons.dll', icons_from('icons_429_other_company.dll')),
     "Plugins/Icons.dll: company name 'Bildwerk Lindner' instead of 'Calvorn': "
     "an installed copy would never be replaced"),
    (lambda d: put(d, 'Hilfe/' + 'h' * (LONGEST - len('Hilfe/') + 1)),
     'Hilfe/%s: installed path of 260 characters in the longest target folder (233), more than 259'
     % ('h' * (LONGEST - len('Hilfe/') + 1))),
    (lambda d: os.makedirs(os.path.join(d, 'g' * (LONGEST_FOLDER + 1))),
     '%s: installed path of 248 characters in the longest target folder (233), more than 247'
     % ('g' * (LONGEST_FOLDER + 1))),
    (lambda d: os.makedirs(os.path.join(d, '. .')), '. .: reaches outside the target folder'),
    (lambda d: put(d, 'Hilfe/nul.txt'), "Hilfe/nul.txt: the part 'nul.txt' is a device name on Windows"),
    (lambda d: put(d, 'COM1'), "COM1: the part 'COM1' is a device name on Windows"),
    (lambda d: put(d, 'liesmich.'), "liesmich.: the part 'liesmich.' ends in a dot or a blank, "
     "which Windows drops"),
    (lambda d: put(d, 'Html '), "Html : the part 'Html ' ends in a dot or a blank, "
     "which Windows drops"),
    (lambda d: put(d, 'a?b.txt'), "a?b.txt: character '?' that Windows does not allow or the "
     "installer cannot read"),
    (lambda d: put(d, 'Bilder/\u00e4.txt'), "Bilder/\u00e4.txt: character '\u00e4' that Windows does "
     "not allow or the installer cannot read"),
    (lambda d: put(d, 'Hilfe/alticons.dll'), 'Hilfe/alticons.dll: would be skipped whenever an '
     'installed icon plug-in is kept (it names icons.dll)'),
    (lambda d: put(d, 'LIESMICH.TXT'), 'liesmich.txt: names the same file on Windows as LIESMICH.TXT'),
]

good = os.path.join(work, 'good')
shutil.rmtree(work, ignore_errors=True)
base(good)
result = check(good)
if result != (0, []):
    failures.append('the folder that keeps every rule: %r' % (result,))
for number, (change, expected) in enumerate(CASES):
    folder = os.path.join(work, 'case%02d' % number)
    base(folder)
    change(folder)
    result = check(folder)
    if result != (1, ['product check: ' + expected]):
        failures.append('%s\n  expected: %s\n  got: %r' % (folder, expected, result))

# release notes: UTF-16LE with a byte-order mark, nothing else
notes = {'good': ('\ufeffNeu:\r\n'.encode('utf-16-le'), 0),
         'utf8': ('\ufeffNeu:\r\n'.encode('utf-8'), 1),
         'no_mark': ('Neu:\r\n'.encode('utf-16-le'), 1),
         'big_endian': ('\ufeffNeu:\r\n'.encode('utf-16-be'), 1),
         'odd': ('\ufeffNeu:\r\n'.encode('utf-16-le') + b'\n', 1),
         'lone_surrogate': (b'\xff\xfe' + b'\x00\xd8' + 'a'.encode('utf-16-le'), 1)}
for name, (data, expected) in notes.items():
    path = os.path.join(work, 'notes_' + name)
    put(work, 'notes_' + name, data)
    code, lines = check('--notes', path)
    wanted = [] if expected == 0 else [
        'product check: %s: release notes must be UTF-16LE text with a byte-order mark' % path]
    if (code, lines) != (expected, wanted):
        failures.append('notes %s: %r' % (name, (code, lines)))

# the mirrored entry-name rules against the extraction's own, built natively
names = ['a.txt', 'Help/', 'Plugins/Icons.dll', 'a\\b.txt', '..a', 'a..', 'a/..b/c', './a.txt',
         '...a/b', '../a', '..', 'a/../../b', 'a\\..\\..\\b', 'a/..', '/a', '\\a', 'C:a', 'a/b:c',
         '.. /a', '... /a', 'a/. ./b', '../', '. .', ' ..', '.', '', 'ICONS.DLL', 'x/myicons.dll.old',
         'icons.dl', 'icons .dll', 'iCoNs.DlL/']
generator = random.Random(16)
names += [''.join(generator.choice('./\\ :aIiCcOoNnSsDdLl') for _ in range(generator.randint(1, 12)))
          for _ in range(2000)]
tool = os.path.join(work, 'entry_name_verdicts')
compiler = shutil.which(os.environ.get('CXX', '')) or shutil.which('clang++') or shutil.which('c++')
subprocess.run([compiler, '-std=c++17', '-I', ROOT, os.path.join(ROOT, 'install', 'entry_name.cpp'),
                os.path.join(os.path.dirname(os.path.abspath(__file__)), 'entry_name_verdicts.cpp'),
                '-o', tool], check=True)
native = subprocess.run([tool], input='\n'.join(names) + '\n', capture_output=True, text=True,
                        check=True).stdout.split('\n')
for name, verdict in zip(names, native):
    mirrored = '%d %d' % (check_product.is_safe_entry_name(name), check_product.names_icon_library(name))
    if verdict != mirrored:
        failures.append('entry name %r: extraction says %s, the check %s' % (name, verdict, mirrored))
if len(native) != len(names) + 1:
    failures.append('the native rules answered %d names of %d' % (len(native) - 1, len(names)))

for failure in failures:
    print('FAIL ' + failure)
print('%d folder cases, %d notes, %d entry names: %d failures' %
      (len(CASES) + 1, len(notes), len(names), len(failures)))
sys.exit(1 if failures else 0)
