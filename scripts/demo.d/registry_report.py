#!/usr/bin/env python3
"""The registry entries an installation wrote, from the .reg files that
scripts/demo.d/30-registry.sh exported into the folder given: one section per
kind of entry."""
import os, re, sys
folder = sys.argv[1]

def sections(name):
    path = os.path.join(folder, name)
    if not os.path.exists(path):
        return []
    text = open(path, 'rb').read().decode('utf-16').replace('\r', '')
    out = []
    for block in re.split(r'\n(?=\[)', text):
        lines = [l for l in block.split('\n') if l.strip()]
        if lines and lines[0].startswith('['):
            out.append((lines[0][1:-1], lines[1:]))
    return out

def show(title, blocks, keep):
    print('  -- ' + title)
    shown = 0
    for key, values in blocks:
        if keep(key, values):
            print('  [' + key + ']')
            for v in values:
                print('    ' + v)
            shown += 1
    if not shown:
        print('    (none)')

classes = sections('classes.reg')
pre = 'HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\'
show('folder and drive verbs', classes,
     lambda k, v: k.startswith(pre + 'Directory\\shell\\Durchsuchen') or
                  k.startswith(pre + 'Drive\\shell\\Durchsuchen'))
show('the application and its program identifier', classes,
     lambda k, v: k == pre + 'Photarium' or k.startswith(pre + 'Photarium\\') or
                  k.startswith(pre + 'Applications\\photar64.exe'))
show('uninstall entry', sections('uninstall.reg'), lambda k, v: True)
show('application key and capabilities', sections('software.reg'), lambda k, v: True)
if not os.path.exists(os.path.join(folder, 'registered.reg')):
    print('  -- registered applications: the key does not exist here, so it was left uncreated')
else:
    show('registered applications (the viewer\'s line)',
         [(k, [x for x in v if x.startswith('"Photarium"')]) for k, v in sections('registered.reg')],
         lambda k, v: bool(v))

progids = [(k, v) for k, v in classes if k.startswith(pre + 'Photarium.')]
print('  -- program identifiers: %d keys under %d identifiers' %
      (len(progids), len([k for k, v in progids if '\\' not in k[len(pre):]])))
for k, v in progids:
    if v:
        print('    ' + k[len(pre):] + '  ' + ' '.join(v))
exts = [(k, v) for k, v in classes
        if k.startswith(pre + '.') and '\\' not in k[len(pre):] and any('Photarium.' in x for x in v)]
print('  -- extension keys pointing to the viewer: %d' % len(exts))
for k, v in exts:
    print('    ' + k[len(pre):] + ' ' + ' '.join(v))
choices = [(k, v) for k, v in sections('fileexts.reg')
           if k.endswith('\\UserChoice') and any('Photarium.' in x for x in v)]
print('  -- current user\'s choices naming the viewer: %d' % len(choices))
for k, v in choices:
    print('    ' + k.split('\\')[-2] + ' ' + ' '.join(v))
show('store-app marks (HKCU)', sections('userclasses.reg'),
     lambda k, v: '\\AppX' in k and any(x.startswith('"NoOpenWith"') for x in v))
