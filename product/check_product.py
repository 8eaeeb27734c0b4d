#!/usr/bin/env python3
"""Checks a product folder against the rules the installation applies to it,
before the folder is packed.

  check_product.py [--notes FILE] [DIR]
  check_product.py --measure DIR [NAME...]

Prints one line per broken rule, naming the file, and exits with 1 when
there is one. Only plain files and folders are packed: links, pipes, sockets
and devices are refused. The entry-name rules mirror install/entry_name.cpp;
every path must fit below a target folder of the length that the product's
facts guarantee (resources/product_facts.toml), and no name may be one that
the setup writes into the target folder itself.

--measure prints the longest path of a file and of a folder in DIR (and of the
further file NAMEs), which the build hands to the program: its longest
accepted target folder follows from them.
"""
import os
import re
import stat
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# the build leaves nothing in the source folders
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(ROOT, 'resources'))
import product_facts  # noqa: E402

MAX_PATH = 260
# CreateDirectoryW leaves room for an 8.3 name below the folder
MAX_FOLDER_PATH = MAX_PATH - 12
REQUIRED_PROGRAMS = ('photar64.exe', 'pt_uninstall.exe')
ICON_LIBRARY = 'Plugins/Icons.dll'
# the block and company that the keep-or-replace rule reads
VERSION_BLOCK = '040904E4'
FORBIDDEN = set('<>:"/\\|?*')
DEVICES = {'CON', 'PRN', 'AUX', 'NUL'} | {p + str(i) for p in ('COM', 'LPT') for i in range(1, 10)}


# a Windows short name ("PHOTAR~1.INI") opens whichever file of the folder holds it
SHORT_NAME = re.compile(r'[^.~]{1,6}~[0-9]{1,6}(\.[^.]{0,3})?')


def min_install_folder_chars():
    return product_facts.load()['min_install_folder_chars']


def longest_paths(tree, extra_files=()):
    """(longest file path, longest folder path) below the target folder."""
    entries = product_entries(tree) + [(name, name) for name in extra_files]
    files = [len(name) for name, path in entries if path is not None] or [0]
    folders = [len(name) for name, path in entries if path is None] or [0]
    folders += [len(name.rsplit('/', 1)[0]) for name in extra_files if '/' in name]
    return max(files), max(folders)


# --- entry names, as install/entry_name.cpp reads them ---

def is_safe_entry_name(name):
    """IsSafeEntryName: nothing absolute, no colon, no ".." component (also
    written with trailing dots or blanks)."""
    if name[:1] in ('/', '\\') or ':' in name:
        return False
    for part in re.split(r'[/\\]', name):
        if part.strip(' .') == '' and part.count('.') >= 2:
            return False
    return True


def names_icon_library(name):
    """NamesIconLibrary: "icons.dll" anywhere, A to Z lower-cased."""
    lowered = ''.join(chr(ord(c) + 32) if 'A' <= c <= 'Z' else c for c in name)
    return 'icons.dll' in lowered


def name_problem(name, is_folder, facts):
    """Why the installation would skip or refuse the entry name (with "/"
    separators, no final one), or None."""
    folder_chars = facts['min_install_folder_chars']
    bad = sorted(set(c for c in name if ord(c) < 32 or ord(c) > 126 or (c in FORBIDDEN and c != '/')))
    if bad:
        return 'character %s that Windows does not allow or the installer cannot read' % \
            ', '.join(repr(c) for c in bad)
    if not is_safe_entry_name(name):
        return 'reaches outside the target folder'
    for part in name.split('/'):
        if part.split('.')[0].rstrip(' ').upper() in DEVICES:
            return 'the part %r is a device name on Windows' % part
        if part.endswith(('.', ' ')):
            return 'the part %r ends in a dot or a blank, which Windows drops' % part
        if facts['fresh_name_mark'].lower() in part.lower():
            return 'the part %r holds %r, which the unpacking keeps for its own files' % \
                (part, facts['fresh_name_mark'])
        if SHORT_NAME.fullmatch(part):
            return 'the part %r has the form of a Windows short name and could open ' \
                'another file of its folder' % part
    written = [facts[key].lower() for key in product_facts.NAME_KEYS]
    if name.lower() in written:
        return 'the setup writes this name into the target folder itself (settings, log): ' \
            'unpacking it would overwrite what a user already has'
    if names_icon_library(name) and name != ICON_LIBRARY:
        return 'would be skipped whenever an installed icon plug-in is kept (it names icons.dll)'
    limit = (MAX_FOLDER_PATH if is_folder else MAX_PATH) - 1
    if folder_chars + len(name) > limit:
        return 'installed path of %d characters in a target folder of %d, more than %d ' \
            '(every product must leave room for target folders of %d characters)' % \
            (folder_chars + len(name), folder_chars, limit, folder_chars)
    return None


# --- programs and their version resource ---

def pe_headers(data):
    """(machine, optional-header magic, sections, data directories) or None."""
    if data[:2] != b'MZ' or len(data) < 64:
        return None
    pe = struct.unpack_from('<I', data, 60)[0]
    if data[pe:pe + 4] != b'PE\0\0':
        return None
    machine, count, _, _, _, optional_size, _ = struct.unpack_from('<HHIIIHH', data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from('<H', data, optional)[0]
    directories = []
    if magic == 0x20b:
        directory_count = struct.unpack_from('<I', data, optional + 108)[0]
        directories = [struct.unpack_from('<II', data, optional + 112 + 8 * i)
                       for i in range(min(directory_count, 16))]
    sections = [struct.unpack_from('<8sIIII', data, optional + optional_size + 40 * i)
                for i in range(count)]
    return machine, magic, sections, directories


def is_pe32_plus_amd64(data):
    try:
        headers = pe_headers(data)
    except struct.error:
        return False
    return headers is not None and headers[0] == 0x8664 and headers[1] == 0x20b


def version_resource(data):
    """The bytes of the first RT_VERSION resource, or None."""
    _, _, sections, directories = pe_headers(data)
    if len(directories) < 3 or directories[2][0] == 0:
        return None

    def offset(rva):
        for _, size, address, raw_size, raw in sections:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise struct.error('address outside the sections')

    base = offset(directories[2][0])

    def first_entry(directory, wanted=None):
        named, numbered = struct.unpack_from('<HH', data, directory + 12)
        for i in range(named + numbered):
            ident, target = struct.unpack_from('<II', data, directory + 16 + 8 * i)
            if wanted is None or ident == wanted:
                return target
        return None

    level = first_entry(base, 16)
    for _ in range(2):
        if level is None or not level & 0x80000000:
            return None
        level = first_entry(base + (level & 0x7fffffff))
    if level is None or level & 0x80000000:
        return None
    rva, size = struct.unpack_from('<II', data, base + level)
    start = offset(rva)
    return data[start:start + size]


def version_blocks(block, path=''):
    """Yields (path, value bytes, type) of a VS_VERSIONINFO tree."""
    length, value_length, kind = struct.unpack_from('<HHH', block, 0)
    end = 6
    while block[end:end + 2] != b'\0\0':
        end += 2
    key = block[6:end].decode('utf-16-le')
    pos = (end + 2 + 3) & ~3
    value_bytes = value_length * 2 if kind == 1 else value_length
    yield path + '\\' + key, block[pos:pos + value_bytes], kind
    pos = (pos + value_bytes + 3) & ~3
    while pos + 6 <= length:
        child_length = struct.unpack_from('<H', block, pos)[0]
        if child_length == 0:
            break
        yield from version_blocks(block[pos:pos + child_length], path + '\\' + key)
        pos = (pos + child_length + 3) & ~3


def icon_library_problem(data, maker):
    if not is_pe32_plus_amd64(data):
        return 'not a 64-bit Windows library (PE32+, AMD64)'
    try:
        block = version_resource(data)
        values = {} if block is None else {p: (v, k) for p, v, k in version_blocks(block)}
    except (struct.error, UnicodeDecodeError):
        return 'its version resource cannot be read'
    fixed = values.get('\\VS_VERSION_INFO', (b'', 0))[0]
    if len(fixed) < 52 or struct.unpack_from('<I', fixed)[0] != 0xFEEF04BD:
        return 'no version resource with a file version'
    company = values.get('\\VS_VERSION_INFO\\StringFileInfo\\%s\\CompanyName' % VERSION_BLOCK)
    if company is None:
        return 'no CompanyName in the version block %s that the installer reads' % VERSION_BLOCK
    name = company[0].decode('utf-16-le', 'replace').rstrip('\0')
    if name.lower() != maker.lower():
        return 'company name %r instead of %r: an installed copy would never be replaced' % \
            (name, maker)
    return None


# --- the folder and the release notes ---

def entry_kind(path):
    """None for a plain file or a folder, else why the entry cannot be packed.
    Nothing is followed: a link would ship what it points to, from anywhere."""
    try:
        info = os.lstat(path)
    except OSError as error:
        return 'cannot be read (%s)' % error.strerror
    if stat.S_ISLNK(info.st_mode):
        return 'a symbolic link to %s' % os.readlink(path)
    if stat.S_ISDIR(info.st_mode):
        return None if os.access(path, os.R_OK | os.X_OK) else 'a folder that cannot be read'
    if not stat.S_ISREG(info.st_mode):
        kind = {stat.S_IFIFO: 'a named pipe (FIFO)', stat.S_IFSOCK: 'a socket'}
        return kind.get(stat.S_IFMT(info.st_mode), 'a device')
    if info.st_nlink > 1:
        return 'a hard link (%d names share its bytes, some perhaps outside the product)' % \
            info.st_nlink
    return None if os.access(path, os.R_OK) else 'a file that cannot be read'


def walk_product(tree):
    """Sorted (name, path or None for a folder, kind problem or None) with "/"
    separators; folders that are not plain are not entered."""
    items = []
    for base, dirs, names in os.walk(tree):
        rel = os.path.relpath(base, tree).replace(os.sep, '/')
        prefix = rel + '/' if rel != '.' else ''
        for name in dirs + names:
            path = os.path.join(base, name)
            problem = entry_kind(path)
            is_folder = problem is None and os.path.isdir(path)
            items.append((prefix + name, None if is_folder else path, problem))
        dirs[:] = sorted(d for d in dirs if entry_kind(os.path.join(base, d)) is None)
    return sorted(items)


def product_entries(tree):
    """Sorted (name, path or None for a folder) with "/" separators."""
    return [(name, path) for name, path, _ in walk_product(tree)]


def product_problems(tree):
    if not os.path.isdir(tree):
        return ['%s: no such folder' % tree]
    facts = product_facts.load()
    entries = walk_product(tree)
    problems = ['%s: %s: only plain files and folders are packed' % (name, kind)
                for name, _, kind in entries if kind]
    files = {name: path for name, path, kind in entries if path is not None and not kind}
    seen = {}
    for name, path, _ in entries:
        problem = name_problem(name, path is None, facts)
        if problem:
            problems.append('%s: %s' % (name, problem))
        other = seen.setdefault(name.lower(), name)
        if other != name:
            problems.append('%s: names the same file on Windows as %s' % (name, other))
    # a refused entry has its line already
    refused = {name for name, _, kind in entries if kind}
    for name in REQUIRED_PROGRAMS:
        if name in files and not is_pe32_plus_amd64(open(files[name], 'rb').read()):
            problems.append('%s: not a 64-bit Windows program (PE32+, AMD64)' % name)
        elif name not in files and name not in refused:
            problems.append('%s: missing at the top of the product folder' % name)
    if ICON_LIBRARY in files:
        problem = icon_library_problem(open(files[ICON_LIBRARY], 'rb').read(),
                                       facts['icon_library_company'])
        if problem:
            problems.append('%s: %s' % (ICON_LIBRARY, problem))
    elif ICON_LIBRARY not in refused:
        problems.append('%s: missing' % ICON_LIBRARY)
    return problems


def notes_problem(path):
    try:
        data = open(path, 'rb').read()
    except OSError as error:
        return '%s: %s' % (path, error.strerror)
    try:
        if data[:2] != b'\xff\xfe' or len(data) % 2:
            raise UnicodeError
        data.decode('utf-16-le')
    except UnicodeError:
        return '%s: release notes must be UTF-16LE text with a byte-order mark' % path
    return None


def main(args):
    if args[:1] == ['--measure'] and len(args) >= 2:
        print('%d;%d' % longest_paths(args[1], args[2:]))
        return 0
    problems = []
    if args[:1] == ['--notes'] and len(args) >= 2:
        problems += filter(None, [notes_problem(args[1])])
        args = args[2:]
    if len(args) > 1 or (args and args[0].startswith('-')):
        sys.exit(__doc__)
    if args:
        problems += product_problems(args[0])
    for problem in problems:
        print('product check: ' + problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
