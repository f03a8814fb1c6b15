#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# A release made here is rebuilt byte for byte in a fresh root of the Debian release its BUILDINFO
# records, with the versions it records installed there: the way scripts/reproduce.sh takes on a
# host of another release, forced here. Needs root, debootstrap and the archive; the root is kept
# for later runs (scripts/debian-root.sh). Uses the release scripts/test.sh left in build/dist.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
release=${ZEFMOR_BUILD_DIR:-$root/build}/dist
log=$(mktemp /tmp/zefmor-rebuilt.XXXXXX)
trap 'rm -f "$log"' EXIT
[ -f "$release/BUILDINFO" ] || { echo "rebuilt-in-root: FAILED: no release with a BUILDINFO in $release" >&2; exit 1; }
# The release was made from the tree as it is; the root's clone gets the same sources.
git -C "$root" update-index -q --refresh || true
commit=$(git -C "$root" stash create 2>/dev/null || true)
status=0
ZEFMOR_REPRODUCE_IN_ROOT=1 "$root/scripts/reproduce.sh" "${commit:-HEAD}" "$release" >"$log" 2>&1 || status=$?
cat "$log"
# Each file compared: two programs, two zips, LICENSE.txt and two installers.
if [ $status -eq 0 ] && grep -q '^reproduce: rebuilding in a fresh Debian' "$log" &&
   [ "$(grep -c 'byte-identical' "$log")" -eq 7 ]; then
    echo "rebuilt-in-root: the release rebuilds byte for byte in a fresh root of the Debian release it records"
else
    echo "rebuilt-in-root: FAILED: the release did not rebuild byte for byte in a root of the Debian release it records" >&2
    exit 1
fi
