#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Installs what building and testing Zefmor needs on Debian 12 or 13, as root. Quick when all is there.
#   scripts/lib/setup.sh        everything the tests need
#   scripts/lib/setup.sh run    only what building and running the program needs
# Without root it installs nothing: it names what is missing and stops, but 32-bit Wine alone
# missing stops nothing, since the x64 programs run without it.
set -eu

# Build and run: the toolchain a release records (scripts/lib/buildinfo.sh), GoogleTest's sources
# (the build folders are configured with their tests), Wine's 64-bit part and its own fonts.
# Checks: a virtual display and picture tools, unzip, the signing tools, Python's YAML reader for
# the release's manifests and its Markdown reader for the documents' check, the REUSE linter for
# every file's licence, and debootstrap for rebuilding a release on the Debian release that made
# it. 32-bit Wine runs the x86 build.
. "$(dirname "$0")/buildinfo.sh"
packages="$zefmor_toolchain googletest wine64 fonts-wine wine"
[ "${1:-}" = run ] || packages="$packages $zefmor_signing_tool
          xvfb imagemagick unzip openssl python3-yaml python3-markdown-it reuse debootstrap"
missing=""
for p in $packages wine32:i386; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    if [ "$missing" = " wine32:i386" ]; then
        echo "setup: wine32:i386 is not installed, so only the x64 programs run; as root, scripts/lib/setup.sh installs it" >&2
        exit 0
    fi
    echo "setup: these packages are missing:$missing; run as root to install them" >&2
    exit 1
fi
echo "setup: installing$missing"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror in the middle of a sync serves an index that does not match its Release file; apt then
# keeps the lists it has, and 32-bit Wine may not install beside the 64-bit libraries of newer
# lists. Everything else is installed all the same, and the x86 programs count as skipped.
apt-get update -qq || echo "setup: apt-get update failed; installing from the package lists apt has" >&2
if ! apt-get install -y -qq --no-install-recommends $missing >/dev/null; then
    case " $missing " in *" wine32:i386 "*) ;; *) exit 1 ;; esac
    apt-get install -y -qq --no-install-recommends $(echo "$missing" | sed 's/ wine32:i386//') >/dev/null
    echo "setup: wine32:i386 cannot be installed now, so the x86 programs will be skipped" >&2
fi
