#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Writes the winget and Scoop manifests of a release from the release itself: its files' hashes,
# the installers' own product and upgrade codes, the build's version. Packaging calls it when told
# where the release will be downloaded from.
#   scripts/lib/manifests.sh FOLDER VERSION URL
#       FOLDER holds the release's packages, and the manifests go to FOLDER/manifests; URL is the
#       https:// address of the folder that will hold the packages
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
release=$1
version=$2
url=${3%/}
# The licence, as an SPDX identifier; its text is the release's own LICENSE.txt.
licence=MIT
english_description="Password generator"

# The texts the program carries itself: its web address, description and copyright.
web=$(sed -n 's/^#define AUTHOR_WEB *"\(.*\)"$/\1/p' "$root/about/author.h")
rc_value() {
    sed -n "s/^ *VALUE \"$1\", *\"\(.*\)\"\$/\1/p" "$root/res/zefmor.rc"
}
description=$(rc_value FileDescription)
copyright=$(rc_value LegalCopyright)
# How to remove the settings, as the zips' read-me says.
remove_settings=$(sed -n 's/^ *\(reg delete .*\)$/\1/p' "$root/scripts/lib/package-readme.txt" | tr -d '\r' | head -n 1)

sha256() {
    sha256sum "$release/$1" | cut -d' ' -f1 | tr a-f A-F
}
# msi_property MSI NAME: a value of the installer's Property table, as Windows Installer reads it.
msi_property() {
    msiinfo export "$release/$1" Property | tr -d '\r' | sed -n "s/^$2\t//p"
}

id=Ravolt.Zefmor
winget=$release/manifests/winget/Ravolt.Zefmor/$version
mkdir -p "$winget" "$release/manifests/scoop"
schema=https://aka.ms/winget-manifest
header() {
    printf '# Zefmor %s, written with its release.\n# yaml-language-server: $schema=%s.%s.1.12.0.schema.json\n\n' \
        "$version" "$schema" "$1"
    printf 'PackageIdentifier: %s\nPackageVersion: %s\n' "$id" "$version"
}

{
    header version
    printf 'DefaultLocale: cs-CZ\nManifestType: version\nManifestVersion: 1.12.0\n'
} >"$winget/$id.yaml"

publisher=$(msi_property "Zefmor-$version-x64.msi" Manufacturer)
{
    header installer
    printf 'InstallerLocale: cs-CZ\nInstallerType: msi\nScope: user\nUpgradeBehavior: install\nInstallers:\n'
    for arch in x86 x64; do
        msi=Zefmor-$version-$arch.msi
        product=$(msi_property "$msi" ProductCode)
        printf -- '- Architecture: %s\n  InstallerUrl: %s\n  InstallerSha256: %s\n' "$arch" "$url/$msi" "$(sha256 "$msi")"
        printf "  ProductCode: '%s'\n  AppsAndFeaturesEntries:\n" "$product"
        printf '  - DisplayName: %s\n    Publisher: %s\n    DisplayVersion: %s\n' \
            "$(msi_property "$msi" ProductName)" "$(msi_property "$msi" Manufacturer)" \
            "$(msi_property "$msi" ProductVersion)"
        printf "    ProductCode: '%s'\n    UpgradeCode: '%s'\n" "$product" "$(msi_property "$msi" UpgradeCode)"
    done
    printf 'ManifestType: installer\nManifestVersion: 1.12.0\n'
} >"$winget/$id.installer.yaml"

# locale TAG TYPE SHORT-DESCRIPTION
locale() {
    header "$(echo "$2" | tr A-Z a-z)"
    printf 'PackageLocale: %s\nPublisher: %s\nPublisherUrl: %s\nPackageName: Zefmor\nPackageUrl: %s\n' \
        "$1" "$publisher" "$web" "$web"
    printf 'License: %s\nLicenseUrl: %s\nCopyright: %s\nShortDescription: %s\nManifestType: %s\nManifestVersion: 1.12.0\n' \
        "$licence" "$url/LICENSE.txt" "$copyright" "$3" "$2"
}
locale cs-CZ defaultLocale "$description" >"$winget/$id.locale.cs-CZ.yaml"
locale en-US locale "$english_description" >"$winget/$id.locale.en-US.yaml"

json() {
    printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g'
}
cat >"$release/manifests/scoop/zefmor.json" <<JSON
{
    "version": "$version",
    "description": "$(json "$english_description ($description)")",
    "homepage": "$(json "$web")",
    "license": "$licence",
    "architecture": {
        "64bit": {
            "url": "$url/Zefmor-$version-win64.zip",
            "hash": "$(sha256 "Zefmor-$version-win64.zip" | tr A-F a-f)"
        },
        "32bit": {
            "url": "$url/Zefmor-$version-win32.zip",
            "hash": "$(sha256 "Zefmor-$version-win32.zip" | tr A-F a-f)"
        }
    },
    "bin": "Zefmor.exe",
    "shortcuts": [
        ["Zefmor.exe", "Zefmor"]
    ],
    "notes": "$(json "Zefmor keeps its settings in HKEY_CURRENT_USER\\Software\\Ravolt\\Zefmor after it is uninstalled; remove them with: $remove_settings")"
}
JSON
