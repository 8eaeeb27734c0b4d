#!/usr/bin/env python3
"""The maker's build from clones below blanks, quotes and non-ASCII letters
give the same SHA-256, PROGRAM's too when the checkout holds no uncommitted
change; a renewed certificate at the same path signs the next build; a
publisher changed in the facts reaches the installed uninstall entry and the
manifests. WORK_DIR is removed again when everything held.

  maker_build_test.py PROGRAM.exe WORK_DIR
"""
import hashlib
import os
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
program, work = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
FOLDERS = ['Mein "Bildarchiv" von Jörg\'s', 'Jörg Büro']
keys = os.path.join(work, 'Schlüssel mit Blank')
PUBLISHER = 'Calvorn Bildwerk GmbH'
failures = []


def run(*args, cwd=None, env=None):
    done = subprocess.run(args, cwd=cwd, capture_output=True, text=True, env=env)
    return done.returncode, done.stdout + done.stderr


def build(clone, *options):
    code, output = run(os.path.join(clone, 'scripts', 'build'), '-DPHOTARIUM_BUILD_TESTS=OFF',
                       *options)
    if code != 0:
        sys.exit('FAIL scripts/build %s in %s:\n%s' % (' '.join(options), clone, output[-3000:]))
    return output


def sha256(path):
    return hashlib.sha256(open(path, 'rb').read()).hexdigest()


shutil.rmtree(work, ignore_errors=True)
os.makedirs(keys)
# what is not committed is not in the clones
clean = run('git', 'status', '--porcelain', '--untracked-files=no', cwd=ROOT)[1].strip() == ''
print('here: %s%s' % (sha256(program), '' if clean else ' (uncommitted changes: not compared)'))
hashes = set()
for folder in FOLDERS:
    clone = os.path.join(work, folder, 'photarium')
    run('git', 'clone', '-q', ROOT, clone)
    run('git', 'checkout', '-q', run('git', 'rev-parse', 'HEAD', cwd=ROOT)[1].strip(), cwd=clone)
    built = os.path.join(clone, 'build', 'bin', 'photar64_setup.exe')
    output = build(clone)
    print('%s: %s' % (clone, sha256(built)))
    hashes.add(sha256(built))
    if (clean and sha256(built) != sha256(program)) or 'SHA-256: ' + sha256(built) not in output:
        failures.append('the clone in %s built other bytes' % folder)
if len(hashes) != 1:
    failures.append('the clones built different bytes')

# two certificates, one after the other at the same path, as a yearly renewal
run('sh', '-c', 'echo wegwerf > pass', cwd=keys)
for year in ('2026', '2027'):
    run('openssl', 'req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-days', '2', '-subj',
        '/CN=Calvorn Signatur ' + year, '-addext', 'extendedKeyUsage=codeSigning',
        '-keyout', year + '.key', '-out', year + '.pem', cwd=keys)
    run('openssl', 'pkcs12', '-export', '-inkey', year + '.key', '-in', year + '.pem',
        '-out', 'cert.p12', '-passout', 'file:pass', cwd=keys)
    output = build(clone, '--sign', os.path.join(keys, 'cert.p12'), '--sign-pass',
                   os.path.join(keys, 'pass'), '--sign-ca', os.path.join(keys, year + '.pem'))
    printed = re.findall(r'signed by: (.*) \(serial', output)
    report = run('osslsigncode', 'verify', '-in', built, '-CAfile', year + '.pem', cwd=keys)[1]
    verified = re.findall(r'Subject: (.*)', report)[:1] if 'verification: ok' in report else []
    print('%s: build printed %s; verified %s' % (year, printed, verified))
    if printed != ['/CN=Calvorn Signatur ' + year] or verified != printed:
        failures.append('signing with the certificate of %s' % year)

facts = os.path.join(clone, 'resources', 'product_facts.toml')
text = open(facts, encoding='utf-8').read()
text = text.replace('publisher = "Calvorn"', 'publisher = "%s"' % PUBLISHER)
open(facts, 'w', encoding='utf-8').write(text)
build(clone)
manifests = ''.join(open(os.path.join(clone, 'build', 'bin', name), encoding='utf-8').read()
                    for name in ('Calvorn.Photarium.installer.yaml',
                                 'Calvorn.Photarium.locale.de-DE.yaml'))
prefix = os.path.join(work, 'prefix')
env = dict(os.environ, WINEPREFIX=prefix)
run(os.path.join(ROOT, 'tests', 'support', 'make_prefix.sh'), prefix)
os.makedirs(os.path.join(prefix, 'drive_c', 'demo'))
shutil.copy(built, os.path.join(prefix, 'drive_c', 'demo'))
code = run('xvfb-run', '-a', 'wine', 'photar64_setup.exe', '/silent', '/folder=C:\\Ph',
           cwd=os.path.join(prefix, 'drive_c', 'demo'), env=env)[0]
run('wineserver', '-w', env=env)
registry = open(os.path.join(prefix, 'system.reg'), encoding='utf-8', errors='replace').read()
entry = re.findall(r'Uninstall\\\\Photarium64\][^[]*"Publisher"="([^"]*)"', registry)
print('install: exit %d; uninstall entry %s; manifests %s' % (
    code, entry, re.findall(r"Publisher: '([^']*)'", manifests)))
if code != 0 or entry != [PUBLISHER] or manifests.count("Publisher: '%s'" % PUBLISHER) != 2:
    failures.append('the changed publisher did not reach the uninstall entry and the manifests')
print('\n'.join('FAIL ' + f for f in failures) or 'ok: the maker\'s build from ' + clone)
if not failures:
    shutil.rmtree(work, ignore_errors=True)
sys.exit(1 if failures else 0)
