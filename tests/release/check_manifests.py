#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
"""Checks a release's winget and Scoop manifests against the release they were made with.

   check_manifests.py FOLDER VERSION URL

Every hash must be that of the file in FOLDER its address names, every product and upgrade code
the installer's own, every version VERSION, every licence address that of the release's own
LICENSE.txt, and each manifest must parse and hold the fields its schema requires. Prints one line for each difference and exits 1 if there is any."""
import hashlib, json, os, subprocess, sys
import yaml

folder, version, url = sys.argv[1], sys.argv[2], sys.argv[3].rstrip('/')
faults = []
def expect(ok, what):
    if not ok:
        faults.append(what)

def released(address, digest):
    """The file of the release a download address names, checked against its published hash."""
    name = address[len(url) + 1:]
    expect(address == url + '/' + name and '/' not in name, f'{address} is not in {url}')
    path = os.path.join(folder, name)
    actual = hashlib.sha256(open(path, 'rb').read()).hexdigest() if os.path.isfile(path) else None
    expect(digest.lower() == actual, f'the hash given for {name} is not its hash')
    return path

def properties(msi):
    table = subprocess.run(['msiinfo', 'export', msi, 'Property'], capture_output=True, text=True, check=True)
    return dict(line.rstrip('\r').split('\t', 1) for line in table.stdout.splitlines()[3:])

required = {  # what each manifest type's schema requires
    'version': ['PackageIdentifier', 'PackageVersion', 'DefaultLocale', 'ManifestType', 'ManifestVersion'],
    'installer': ['PackageIdentifier', 'PackageVersion', 'Installers', 'ManifestType', 'ManifestVersion'],
    'defaultLocale': ['PackageIdentifier', 'PackageVersion', 'PackageLocale', 'Publisher', 'PackageName',
                      'License', 'ShortDescription', 'ManifestType', 'ManifestVersion'],
    'locale': ['PackageIdentifier', 'PackageVersion', 'PackageLocale', 'ManifestType', 'ManifestVersion'],
}
winget = os.path.join(folder, 'manifests', 'winget', 'Ravolt.Zefmor', version)
names = ['Ravolt.Zefmor.yaml', 'Ravolt.Zefmor.installer.yaml',
         'Ravolt.Zefmor.locale.cs-CZ.yaml', 'Ravolt.Zefmor.locale.en-US.yaml']
seen = set()
for name in names:
    manifest = yaml.safe_load(open(os.path.join(winget, name), encoding='utf-8'))
    kind = manifest.get('ManifestType')
    seen.add(kind)
    missing = [field for field in required.get(kind, ['ManifestType']) if field not in manifest]
    expect(not missing, f'{name} lacks {missing}')
    expect(manifest.get('PackageVersion') == version and manifest.get('ManifestVersion') == '1.12.0',
           f'{name} is not version {version} in the 1.12.0 form')
    if kind in ('defaultLocale', 'locale'):
        expect(manifest.get('LicenseUrl') == url + '/LICENSE.txt' and os.path.isfile(os.path.join(folder, 'LICENSE.txt')),
               f'{name} does not point to the release\'s own LICENSE.txt')
    for installer in manifest.get('Installers', []):
        own = properties(released(installer['InstallerUrl'], installer['InstallerSha256']))
        entry = installer['AppsAndFeaturesEntries'][0]
        expect(installer['ProductCode'] == entry['ProductCode'] == own['ProductCode'] and
               entry['UpgradeCode'] == own['UpgradeCode'] and entry['DisplayVersion'] == version,
               f'the {installer["Architecture"]} installer registers other codes or another version')
    expect(kind != 'installer' or {i['Architecture'] for i in manifest['Installers']} == {'x86', 'x64'},
           'the installer manifest does not offer both architectures')
expect(seen == set(required), f'winget manifests of the types {sorted(seen)}')

scoop = json.load(open(os.path.join(folder, 'manifests', 'scoop', 'zefmor.json'), encoding='utf-8'))
expect(scoop.get('version') == version, 'the Scoop manifest has another version')
expect(set(scoop['architecture']) == {'32bit', '64bit'}, 'the Scoop manifest lacks an architecture')
for arch in scoop['architecture'].values():
    released(arch['url'], arch['hash'])
for fault in faults:
    print(f'manifests: {fault}')
sys.exit(1 if faults else 0)
