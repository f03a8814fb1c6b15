#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Installs what building and testing Zefmor needs on Debian 12 or 13, as root. Quick when all is there.
set -eu

# Build and package: the toolchain a release records (scripts/lib/buildinfo.sh), GoogleTest's sources.
# Run: Wine's 64-bit and 32-bit parts and its own fonts. Checks: a virtual display and picture
# tools, unzip, the signing tools, Python's YAML reader for the release's manifests, the REUSE
# linter for every file's licence, and debootstrap for rebuilding a release on the Debian release
# that made it.
. "$(dirname "$0")/buildinfo.sh"
packages="$zefmor_toolchain $zefmor_signing_tool googletest
          wine64 wine32:i386 fonts-wine wine
          xvfb imagemagick unzip openssl python3-yaml reuse debootstrap"
missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "setup: these packages are missing:$missing; run as root to install them" >&2
    exit 1
fi
echo "setup: installing$missing"
# 32-bit Wine runs the x86 build.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends $missing >/dev/null
