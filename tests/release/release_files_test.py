#!/usr/bin/env python3
"""The build's release steps on the setup program: a throwaway certificate
signs a copy (verified when its root is trusted, refused otherwise or once a
byte changes; a wrong password leaves it unsigned); the manifests beside the
program validate against the schemas and carry its hash and exit codes; the
default-associations files beside it list the format rows.
Leaves the signed copy, the manifest's command line, uninstall entry and log in
DATA_DIR for e2e_release.

  release_files_test.py PROGRAM.exe SCHEMA_DIR DATA_DIR
"""
import hashlib
import json
import os
import shutil
import subprocess
import sys

from xml.etree import ElementTree

import jsonschema
import yaml

program, schemas, data = sys.argv[1:4]
# .ci/run names the folder it found, or "none" when this machine has none
schemas = os.environ.get('PHOTARIUM_WINGET_SCHEMAS') or schemas
SIGN = os.path.join(os.path.dirname(__file__), '..', '..', 'release', 'sign_program.sh')
TARGET = 'C:\\Program Files\\Verwaltet\\Photarium'
REPOSITORY = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')
LOG = 'C:\\ProgramData\\Verwaltet\\Protokolle\\Photarium_Install.log'
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', '..', 'resources'))
import product_facts  # noqa: E402


def run(*args):
    return subprocess.run(args, cwd=data, capture_output=True, text=True)


def read(path):
    with open(os.path.join(data, path), 'rb') as f:
        return f.read()


failures = []
shutil.rmtree(data, ignore_errors=True)
os.makedirs(data)
run('openssl', 'req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-days', '2', '-subj',
    '/CN=Calvorn Testsignatur', '-addext', 'extendedKeyUsage=codeSigning',
    '-keyout', 'key.pem', '-out', 'root.pem')
for name, text in [('password', 'wegwerf\n'), ('wrong', 'falsch\n')]:
    with open(os.path.join(data, name), 'w') as f:
        f.write(text)
run('openssl', 'pkcs12', '-export', '-inkey', 'key.pem', '-in', 'root.pem', '-out', 'cert.p12',
    '-passout', 'file:password')
for name in ('signed.exe', 'unsigned.exe'):
    shutil.copy(program, os.path.join(data, name))
if run(SIGN, 'unsigned.exe', 'cert.p12', 'wrong', '', 'root.pem').returncode == 0 or \
        read(program) != read('unsigned.exe'):
    failures.append('a wrong password did not leave the program unsigned')
signing = run(SIGN, 'signed.exe', 'cert.p12', 'password', '', 'root.pem')
print(signing.stdout + signing.stderr)
with open(os.path.join(data, 'changed.exe'), 'wb') as f:
    f.write(read('signed.exe')[:8192] + b'X' + read('signed.exe')[8193:])
for name, roots, accepted in [('signed.exe', 'root.pem', True), ('changed.exe', 'root.pem', False),
                              ('signed.exe', '/etc/ssl/certs/ca-certificates.crt', False)]:
    report = run('osslsigncode', 'verify', '-in', name, '-CAfile', roots).stdout
    if ('Signature verification: ok' in report and 'algorithm  : SHA256' in report) != accepted:
        failures.append('%s trusting %s: accepted is not %s' % (name, roots, accepted))

base = os.path.join(os.path.dirname(program), 'Calvorn.Photarium')
manifests = {}
for kind, suffix in [('version', ''), ('installer', '.installer'),
                     ('defaultLocale', '.locale.de-DE')]:
    with open(base + suffix + '.yaml', encoding='utf-8') as f:
        manifests[kind] = yaml.safe_load(f)
    schema = os.path.join(schemas, 'manifest.%s.1.9.0.json' % kind)
    # the schemas lie beside the repository, not in it: a clone elsewhere
    # checks the manifests' facts below without them, and says so; under
    # .ci/run that is a failure unless the machine has none at all
    if not os.path.exists(schema):
        print('%s manifest: NOT VALIDATED, no schema at %s' % (kind, schema))
        if os.environ.get('PHOTARIUM_REQUIRE_ALL_CHECKS') == '1' and schemas != 'none':
            failures.append('PHOTARIUM_REQUIRE_ALL_CHECKS=1 and no schema at %s '
                            '(-DPHOTARIUM_WINGET_SCHEMAS=DIR names the folder)' % schema)
        continue
    with open(schema, encoding='utf-8') as f:
        validator = jsonschema.Draft7Validator(json.load(f))
    errors = ['%s: %s' % (kind, e.message) for e in validator.iter_errors(manifests[kind])]
    print('%s manifest: %s' % (kind, 'INVALID' if errors else 'valid'))
    failures += errors
installer = manifests['installer']
facts = [len({m['PackageVersion'] for m in manifests.values()}),
         installer['Installers'][0]['InstallerSha256'].lower(), installer['InstallerType'],
         installer['Scope'], installer['Installers'][0]['Architecture'],
         {c['InstallerReturnCode']: c['ReturnResponse'] for c in installer['ExpectedReturnCodes']},
         len(set(installer['FileExtensions']) & {'jpg', 'png', 'dib', 'jxr'}),
         len(installer['FileExtensions']),
         installer['InstallerSwitches'].get('Log'), sorted(installer['InstallModes']),
         manifests['defaultLocale']['PublisherUrl'],
         [d['DocumentUrl'] for d in manifests['defaultLocale']['Documentations']]]
pages = product_facts.load()
# a mode for each mode's switch that is declared, and interactive without one
modes = sorted({'interactive'} | {m for m, switch in [('silent', 'Silent'), (
    'silentWithProgress', 'SilentWithProgress')] if switch in installer['InstallerSwitches']})
wanted = [1, hashlib.sha256(read(program)).hexdigest(), 'exe', 'machine', 'x64',
          {2: 'packageInUse', 1: 'contactSupport', 1618: 'installInProgress'}, 4, 84,
          '/log="<LOGPATH>"', modes, pages['home_page'], [pages['help_page']]]
failures += ['manifest fact %d: %r, expected %r' % (i, got, want)
             for i, (got, want) in enumerate(zip(facts, wanted)) if got != want]
switches, entry = installer['InstallerSwitches'], installer['AppsAndFeaturesEntries'][0]
with open(os.path.join(data, 'manifest.txt'), 'w', encoding='utf-8', newline='') as f:
    f.write('\n'.join([
        switches['Silent'] + ' ' + switches['InstallLocation'].replace('<INSTALLPATH>', TARGET) +
        ' ' + switches['Log'].replace('<LOGPATH>', LOG),
        TARGET, entry['DisplayName'], entry['Publisher'], entry['DisplayVersion'], LOG]))

# The default-associations files beside the program: each extension of their
# rows once with its program identifier; another facts file, other files.
def associations(folder, name):
    root = ElementTree.parse(os.path.join(folder, 'Photarium_DefaultAssociations_%s.xml' % name))
    rows = [(a.get('Identifier'), a.get('ProgId'), a.get('ApplicationName')) for a in root.getroot()]
    return root.getroot().tag, len(rows), dict(r[:2] for r in rows), {r[2] for r in rows}


for name, count, some in [('Images', 65, {'.jpeg': 'Photarium.jpg', '.dib': 'Photarium.bmp',
                                          '.cr2': 'Photarium.cr2', '.swf': None}),
                          ('All', 84, {'.jxr': 'Photarium.hdp', '.mpeg': 'Photarium.mpg',
                                       '.mpe': 'Photarium.mpe', '.wma': 'Photarium.wma'})]:
    tag, rows, progIds, names = associations(os.path.dirname(program), name)
    if (tag, rows, len(progIds), names) != ('DefaultAssociations', count, count, {'Photarium 64-bit'}) \
            or any(progIds.get(e) != p for e, p in some.items()):
        failures.append('%s associations: %r' % (name, (tag, rows, len(progIds), names)))
with open(os.path.join(REPOSITORY, 'resources', 'product_facts.toml'), encoding='utf-8') as f:
    text = f.read().replace('"dib:bmp"]', '"dib:bmp", "rle8:bmp"]')
with open(os.path.join(data, 'facts.toml'), 'w', encoding='utf-8') as f:
    f.write(text)
run(sys.executable, os.path.join(REPOSITORY, 'release', 'write_default_associations.py'), 'new',
    'facts.toml')
if associations(os.path.join(data, 'new'), 'All')[2].get('.rle8') != 'Photarium.bmp':
    failures.append('the default associations do not follow the facts')

print('\n'.join('FAIL ' + f for f in failures) or 'ok: installer SHA-256 ' + facts[1])
sys.exit(1 if failures else 0)
