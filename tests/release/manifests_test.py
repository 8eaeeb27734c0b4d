#!/usr/bin/env python3
"""The package manager's manifests beside the setup program: each validates
against its schema, they agree on package and version, the installer's hash
is the program's, the return codes and the 84 extensions are there. Leaves
for e2e_release the command line the manifest's switches make (with
<INSTALLPATH> replaced) and the uninstall entry it promises.

  manifests_test.py PROGRAM.exe SCHEMA_DIR DATA_DIR
"""
import hashlib
import json
import os
import sys

import jsonschema
import yaml

program, schemas, data = sys.argv[1:4]
folder = os.path.dirname(program)
FILES = {'version': 'Calvorn.Photarium.yaml', 'installer': 'Calvorn.Photarium.installer.yaml',
         'defaultLocale': 'Calvorn.Photarium.locale.de-DE.yaml'}
TARGET = 'C:\\Program Files\\Verwaltet\\Photarium'
failures = []
manifests = {}
for kind, name in FILES.items():
    with open(os.path.join(folder, name), encoding='utf-8') as f:
        manifest = yaml.safe_load(f)
    with open(os.path.join(schemas, 'manifest.%s.1.9.0.json' % kind), encoding='utf-8') as f:
        schema = json.load(f)
    validator = jsonschema.Draft7Validator(schema, format_checker=jsonschema.FormatChecker())
    for error in validator.iter_errors(manifest):
        failures.append('%s: %s at %s' % (name, error.message, list(error.path)))
    if manifest.get('ManifestType') != kind:
        failures.append('%s: ManifestType %r' % (name, manifest.get('ManifestType')))
    manifests[kind] = manifest
    print('%s: valid against manifest.%s.1.9.0.json' % (name, kind) if not failures else name)

for key in ('PackageIdentifier', 'PackageVersion'):
    if len({m[key] for m in manifests.values()}) != 1:
        failures.append('the manifests differ in ' + key)
installer = manifests['installer']
with open(program, 'rb') as f:
    sha256 = hashlib.sha256(f.read()).hexdigest()
got = installer['Installers'][0]['InstallerSha256']
if got.lower() != sha256:
    failures.append('InstallerSha256 %s, the program has %s' % (got, sha256))
expected = {'InstallerType': 'exe', 'Scope': 'machine'}
for key, value in expected.items():
    if installer.get(key) != value:
        failures.append('%s is %r' % (key, installer.get(key)))
if installer['Installers'][0]['Architecture'] != 'x64':
    failures.append('architecture %r' % installer['Installers'][0]['Architecture'])
codes = {c['InstallerReturnCode']: c['ReturnResponse'] for c in installer['ExpectedReturnCodes']}
if codes != {2: 'packageInUse', 1: 'contactSupport'}:
    failures.append('return codes %r' % codes)
extensions = installer['FileExtensions']
if len(extensions) != 84 or not {'jpg', 'png', 'tif', 'dib'} <= set(extensions):
    failures.append('%d file extensions: %r' % (len(extensions), extensions))

switches = installer['InstallerSwitches']
os.makedirs(data, exist_ok=True)
with open(os.path.join(data, 'manifest_command.txt'), 'w', encoding='utf-8', newline='') as f:
    f.write(switches['Silent'] + ' ' + switches['InstallLocation'].replace('<INSTALLPATH>', TARGET))
entry = installer['AppsAndFeaturesEntries'][0]
with open(os.path.join(data, 'manifest_entry.txt'), 'w', encoding='utf-8', newline='') as f:
    f.write('\n'.join([TARGET, entry['DisplayName'], entry['Publisher'], entry['DisplayVersion']]))

for failure in failures:
    print('FAIL ' + failure)
print('installer SHA-256 %s; switches: %s' % (got, open(os.path.join(data, 'manifest_command.txt')).read()))
sys.exit(1 if failures else 0)
