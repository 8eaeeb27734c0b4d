#!/usr/bin/env python3
"""Writes the package manager's manifests (schema 1.9.0) for this release
beside the setup program: the version, installer and default-locale files.

  write_manifests.py PROGRAM.exe VERSION INSTALLER_URL

The uninstall entry's name, publisher and key and the file extensions come
from the product's facts (resources/product_facts.toml), which the program
is built from too, so that the manifests say what the program writes.
"""
import hashlib
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# the build leaves nothing in the source folders
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(ROOT, 'resources'))
import product_facts  # noqa: E402

IDENTIFIER = 'Calvorn.Photarium'
SCHEMA = '1.9.0'
LOCALE = 'de-DE'


def quoted(value):
    return "'" + str(value).replace("'", "''") + "'"


def write(folder, name, lines):
    with open(os.path.join(folder, name), 'w', encoding='utf-8', newline='\n') as f:
        f.write('# Written by release/write_manifests.py for photar64_setup.exe\n')
        f.write('\n'.join(lines) + '\n')


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    program, version, url = sys.argv[1:]
    with open(program, 'rb') as f:
        sha256 = hashlib.sha256(f.read()).hexdigest().upper()
    facts = product_facts.load()
    display_name = product_facts.display_name(facts, version)
    publisher, key = facts['publisher'], facts['uninstall_key']
    web = facts['home_page']
    extensions = product_facts.extensions(facts)
    folder = os.path.dirname(os.path.abspath(program))
    head = ['PackageIdentifier: ' + IDENTIFIER, 'PackageVersion: ' + quoted(version)]
    tail = ['ManifestVersion: ' + SCHEMA]

    write(folder, IDENTIFIER + '.yaml', head + [
        'DefaultLocale: ' + LOCALE,
        'ManifestType: version'] + tail)

    write(folder, IDENTIFIER + '.installer.yaml', head + [
        'InstallerLocale: ' + LOCALE,
        'MinimumOSVersion: 6.1.0.0',
        'InstallerType: exe',
        'Scope: machine',
        # silent mode shows nothing, so it serves both silent modes
        'InstallModes: [interactive, silent, silentWithProgress]',
        'InstallerSwitches:',
        '  Silent: ' + quoted('/silent'),
        '  SilentWithProgress: ' + quoted('/silent'),
        '  InstallLocation: ' + quoted('/folder="<INSTALLPATH>"'),
        '  Log: ' + quoted('/log="<LOGPATH>"'),
        # 1 covers a refused folder and a failed unpacking: the log says which
        'ExpectedReturnCodes:',
        '- InstallerReturnCode: 2',
        '  ReturnResponse: packageInUse',
        '- InstallerReturnCode: 1',
        '  ReturnResponse: contactSupport',
        '- InstallerReturnCode: 1618',
        '  ReturnResponse: installInProgress',
        'UpgradeBehavior: install',
        'ElevationRequirement: elevatesSelf',
        'FileExtensions:'] + ['- ' + quoted(ext) for ext in extensions] + [
        'AppsAndFeaturesEntries:',
        '- DisplayName: ' + quoted(display_name),
        '  Publisher: ' + quoted(publisher),
        '  DisplayVersion: ' + quoted(version),
        '  ProductCode: ' + quoted(key),
        'Installers:',
        '- Architecture: x64',
        '  InstallerUrl: ' + quoted(url),
        '  InstallerSha256: ' + sha256,
        'ManifestType: installer'] + tail)

    write(folder, IDENTIFIER + '.locale.' + LOCALE + '.yaml', head + [
        'PackageLocale: ' + LOCALE,
        'Publisher: ' + quoted(publisher),
        'PublisherUrl: ' + quoted(web),
        'PackageName: ' + quoted('Photarium 64-bit'),
        'License: ' + quoted('Photarium EULA'),
        'LicenseUrl: ' + quoted(web + 'eula.htm'),
        'ShortDescription: ' + quoted('Bildbetrachter für Windows (64 bit)'),
        'Documentations:',
        '- DocumentLabel: FAQ',
        '  DocumentUrl: ' + quoted(facts['help_page']),
        'ManifestType: defaultLocale'] + tail)
    print('manifests: %s/%s*.yaml (%d file extensions)' % (folder, IDENTIFIER, len(extensions)))


if __name__ == '__main__':
    main()
