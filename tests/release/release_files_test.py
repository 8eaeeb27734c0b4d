#!/usr/bin/env python3
"""The build's release steps on the setup program: a throwaway certificate
signs a copy (verified when its root is trusted, refused otherwise or once a
byte changes; a wrong password leaves it unsigned); the manifests beside the
program validate against the schemas and carry its hash and exit codes.
Leaves the signed copy, the manifest's command line and uninstall entry in
DATA_DIR for e2e_release.   release_files_test.py PROGRAM.exe SCHEMA_DIR DATA_DIR"""
import hashlib, json, os, shutil, subprocess, sys  # noqa: E401
import jsonschema, yaml  # noqa: E401

program, schemas, data = sys.argv[1:4]
SIGN = os.path.join(os.path.dirname(__file__), '../../release/sign_program.sh')
run = lambda *a: subprocess.run(a, cwd=data, capture_output=True, text=True)  # noqa: E731
failures = []
shutil.rmtree(data, ignore_errors=True)
os.makedirs(data)
run('openssl', 'req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-days', '2', '-subj', '/CN=Calvorn Testsignatur',
    '-addext', 'extendedKeyUsage=codeSigning', '-keyout', 'key.pem', '-out', 'root.pem')
open(os.path.join(data, 'password'), 'w').write('wegwerf\n')
open(os.path.join(data, 'wrong'), 'w').write('falsch\n')
run('openssl', 'pkcs12', '-export', '-inkey', 'key.pem', '-in', 'root.pem', '-out', 'cert.p12', '-passout', 'file:password')
for name in ('signed.exe', 'unsigned.exe'):
    shutil.copy(program, os.path.join(data, name))
if run(SIGN, 'unsigned.exe', 'cert.p12', 'wrong', '', 'root.pem').returncode == 0 or \
        open(program, 'rb').read() != open(os.path.join(data, 'unsigned.exe'), 'rb').read():
    failures.append('a wrong password did not leave the program unsigned')
signing = run(SIGN, 'signed.exe', 'cert.p12', 'password', '', 'root.pem')
print(signing.stdout + signing.stderr)
shutil.copy(os.path.join(data, 'signed.exe'), os.path.join(data, 'changed.exe'))
with open(os.path.join(data, 'changed.exe'), 'r+b') as f:
    f.seek(8192)
    f.write(b'X')
for name, roots, accepted in [('signed.exe', 'root.pem', True), ('changed.exe', 'root.pem', False),
                              ('signed.exe', '/etc/ssl/certs/ca-certificates.crt', False)]:
    report = run('osslsigncode', 'verify', '-in', name, '-CAfile', roots).stdout
    if ('Signature verification: ok' in report and 'digest algorithm  : SHA256' in report) != accepted:
        failures.append('%s trusting %s: accepted is not %s' % (name, roots, accepted))

base = os.path.join(os.path.dirname(program), 'Calvorn.Photarium')
manifests = {kind: yaml.safe_load(open(base + suffix, encoding='utf-8')) for kind, suffix in
             [('version', '.yaml'), ('installer', '.installer.yaml'), ('defaultLocale', '.locale.de-DE.yaml')]}
for kind, manifest in manifests.items():
    schema = json.load(open(os.path.join(schemas, 'manifest.%s.1.9.0.json' % kind), encoding='utf-8'))
    errors = ['%s: %s' % (kind, e.message) for e in jsonschema.Draft7Validator(schema).iter_errors(manifest)]
    print('%s manifest: %s' % (kind, 'INVALID' if errors else 'valid'))
    failures += errors
installer = manifests['installer']
facts = [len({m['PackageVersion'] for m in manifests.values()}), installer['Installers'][0]['InstallerSha256'].lower(),
         installer['InstallerType'], installer['Scope'], installer['Installers'][0]['Architecture'],
         {c['InstallerReturnCode']: c['ReturnResponse'] for c in installer['ExpectedReturnCodes']},
         len(set(installer['FileExtensions']) & {'jpg', 'png', 'dib', 'jxr'}), len(installer['FileExtensions'])]
wanted = [1, hashlib.sha256(open(program, 'rb').read()).hexdigest(), 'exe', 'machine', 'x64',
          {2: 'packageInUse', 1: 'contactSupport'}, 4, 84]
failures += ['manifest fact %d: %r, expected %r' % c for c in zip(range(99), facts, wanted) if c[1] != c[2]]
switches, entry = installer['InstallerSwitches'], installer['AppsAndFeaturesEntries'][0]
target = 'C:\\Program Files\\Verwaltet\\Photarium'
open(os.path.join(data, 'manifest.txt'), 'w', encoding='utf-8', newline='').write('\n'.join([
    switches['Silent'] + ' ' + switches['InstallLocation'].replace('<INSTALLPATH>', target),
    target, entry['DisplayName'], entry['Publisher'], entry['DisplayVersion']]))
print('\n'.join('FAIL ' + f for f in failures) or 'ok: installer SHA-256 ' + facts[1])
sys.exit(1 if failures else 0)
