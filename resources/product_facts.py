#!/usr/bin/env python3
"""The product's facts (resources/product_facts.toml), read once for the
program and for the release tools.

  product_facts.py OUT.h [FACTS.toml]

writes the header the program compiles (macros only: windres reads it too),
touching OUT.h only when its text changes. The product check and the
manifests import this module and call load().
"""
import os
import re
import sys
import tomllib

FACTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'product_facts.toml')
ICONS = {'F', 'P0', 'P8', 'P9'}
NAME_KEYS = ('settings_file', 'settings_temp_file', 'install_log')
# what a C string and a format text may hold without escaping
PLAIN_TEXT = re.compile(r'[^"\\%\x00-\x1f\x7f]+')
EXTENSION = re.compile(r'[a-z0-9]{1,8}')


class FactsError(Exception):
    pass


def _text(facts, key, pattern=PLAIN_TEXT):
    value = facts.get(key)
    if not isinstance(value, str) or not pattern.fullmatch(value):
        raise FactsError('%s: %r is not a plain text' % (key, value))
    return value


def load(path=FACTS):
    """The facts as a dict; formats become rows of (icon, [(extension, suffix)])."""
    with open(path, 'rb') as f:
        facts = tomllib.load(f)
    if facts.get('display_name', '').count('{version}') != 1:
        raise FactsError('display_name: needs "{version}" once')
    _text(facts, 'display_name')
    for key in ('publisher', 'uninstall_key', 'icon_library_company', 'fresh_name_mark',
                'home_page', 'help_page') + NAME_KEYS:
        _text(facts, key)
    if 'uninstaller_silent_switch' in facts:
        _text(facts, 'uninstaller_silent_switch')
    if not isinstance(facts.get('min_install_folder_chars'), int):
        raise FactsError('min_install_folder_chars: not a number')
    rows = []
    for number, row in enumerate(facts.get('formats', [])):
        if len(row) < 2 or row[0] not in ICONS:
            raise FactsError('formats row %d: icon and extensions expected' % number)
        pairs = [tuple(item.split(':')) if ':' in item else (item, item) for item in row[1:]]
        if not all(len(p) == 2 and all(EXTENSION.fullmatch(s) for s in p) for p in pairs):
            raise FactsError('formats row %d: %r' % (number, row))
        rows.append((row[0], pairs))
    facts['formats'] = rows
    return facts


def display_name(facts, version):
    return facts['display_name'].replace('{version}', version)


def extensions(facts):
    """Every extension of the format table, in its order."""
    return [extension for _, pairs in facts['formats'] for extension, _ in pairs]


def header(facts):
    def wide(text):
        return 'L"%s"' % text

    rows = ['    /* %2d */ {{%s}, %d, %s}' % (
        number, ', '.join('{%s, %s}' % (wide(e), wide(s)) for e, s in pairs), len(pairs), icon)
        for number, (icon, pairs) in enumerate(facts['formats'])]
    lines = [
        '// Written by resources/product_facts.py from resources/product_facts.toml:',
        '// change the facts there. Macros only, as windres reads this too.',
        '#pragma once',
        '#define PHOTARIUM_DISPLAY_NAME_FORMAT %s' %
        wide(facts['display_name'].replace('{version}', '%d.%d')),
        '#define PHOTARIUM_PUBLISHER %s' % wide(facts['publisher']),
        '#define PHOTARIUM_PUBLISHER_TEXT "%s"' % facts['publisher'],
        '#define PHOTARIUM_UNINSTALL_KEY_NAME %s' % wide(facts['uninstall_key']),
        '#define PHOTARIUM_ICON_LIBRARY_COMPANY %s' % wide(facts['icon_library_company']),
        '#define PHOTARIUM_HOME_PAGE %s' % wide(facts['home_page']),
        '#define PHOTARIUM_HELP_PAGE %s' % wide(facts['help_page']),
        # empty: the uninstaller has no silent switch, no QuietUninstallString
        '#define PHOTARIUM_UNINSTALLER_SILENT_SWITCH %s' %
        wide(facts.get('uninstaller_silent_switch', '')),
        '#define PHOTARIUM_MIN_INSTALL_FOLDER_CHARS %d' % facts['min_install_folder_chars'],
        '#define PHOTARIUM_SETTINGS_FILE %s' % wide(facts['settings_file']),
        '#define PHOTARIUM_SETTINGS_TEMP_FILE %s' % wide(facts['settings_temp_file']),
        '#define PHOTARIUM_INSTALL_LOG %s' % wide(facts['install_log']),
        '#define PHOTARIUM_FRESH_NAME_MARK %s' % wide(facts['fresh_name_mark']),
        '#define PHOTARIUM_FORMAT_ROW_COUNT %d' % len(rows),
        '// the rows of the format table; F, P0, P8 and P9 name the icons',
        '#define PHOTARIUM_FORMAT_ROWS \\',
        ', \\\n'.join(rows),
    ]
    return '\n'.join(lines) + '\n'


def main(args):
    if len(args) not in (1, 2):
        sys.exit(__doc__)
    try:
        text = header(load(*args[1:]))
    except (OSError, tomllib.TOMLDecodeError, FactsError) as error:
        sys.exit('product facts: %s' % error)
    try:
        with open(args[0], encoding='utf-8') as f:
            if f.read() == text:
                return 0
    except OSError:
        pass
    os.makedirs(os.path.dirname(os.path.abspath(args[0])), exist_ok=True)
    with open(args[0], 'w', encoding='utf-8', newline='\n') as f:
        f.write(text)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
