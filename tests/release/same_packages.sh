#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# The comparisons in scripts/reproduce.sh, on small stand-in packages. Two builds' packages: the
# same folders pass, and a zip that differs, a list that differs alone, or a zip its list no longer
# describes fails, naming the file. A release's file without a signature: the rebuilt bytes pass,
# and other bytes are refused, naming the file. Needs no build; a second.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d /tmp/zefmor-same-packages.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
. "$root/scripts/lib/same-as-release.sh"
failed=0
# expect WHAT COMMAND...: the command succeeds.
expect() {
    what=$1
    shift
    if "$@"; then echo "same-packages: $what"; else echo "same-packages: FAILED: $what" >&2; failed=1; fi
}
# listed FOLDER: SHA256SUMS lists every other file of FOLDER, as scripts/package.sh writes it.
listed() {
    (cd "$1" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort | xargs sha256sum) >"$tmp/sums"
    mv "$tmp/sums" "$1/SHA256SUMS"
}
mkdir "$tmp/first"
echo 'Commit: 0123456789abcdef' >"$tmp/first/BUILDINFO"
for name in Zefmor-2.0-win32.zip Zefmor-2.0-win64.zip LICENSE.txt; do echo "$name" >"$tmp/first/$name"; done
listed "$tmp/first"
# like NAME: a copy of the first folder, to be changed.
like() { cp -r "$tmp/first" "$tmp/$1"; echo "$tmp/$1"; }
# compared FOLDER: the first folder and FOLDER are the same packages; what was said is in $tmp/said.
compared() {
    status=0
    same_packages "$tmp/first" "$1" 2>"$tmp/said"
    return "$status"
}
passes() { compared "$1" && [ ! -s "$tmp/said" ]; }
# fails FOLDER LINE: they are not, and the comparison says LINE (a pattern), or shows what it said.
fails() {
    if compared "$1" || ! grep -qx "reproduce: $2" "$tmp/said"; then cat "$tmp/said" >&2; return 1; fi
}

expect "the same packages pass, saying nothing" passes "$(like same)"
zip=$(like zip)
echo changed >>"$zip/Zefmor-2.0-win64.zip"
listed "$zip"
expect "a zip that differs fails, named from SHA256SUMS" \
    fails "$zip" "SHA256SUMS differs .*, in: Zefmor-2.0-win64.zip"
list=$(like list)
grep -v ' LICENSE.txt$' "$tmp/first/SHA256SUMS" >"$list/SHA256SUMS"
expect "a SHA256SUMS that differs alone fails, named with the line" \
    fails "$list" "SHA256SUMS differs .*, in: LICENSE.txt"
stale=$(like stale)
echo changed >>"$stale/Zefmor-2.0-win32.zip"
expect "a zip that differs while both lists agree fails, named" \
    fails "$stale" "Zefmor-2.0-win32.zip differs .*"

# An unsigned release's file (package.sh signs none without a certificate) is the rebuilt one or
# is refused, naming it.
mkdir "$tmp/unsigned" "$tmp/work"
# shellcheck disable=SC2034  # same_as_release reads both
release=$tmp/unsigned work=$tmp/work
echo rebuilt >"$tmp/rebuilt"
echo other >"$tmp/other"
# unsigned RELEASED: same_as_release of the release's x64/Zefmor.exe, no signature beside it;
# what it said on its error output is in $tmp/said.
unsigned() {
    status=0
    same_as_release x64/Zefmor.exe "$tmp/rebuilt" "$1" >/dev/null 2>"$tmp/said"
    return "$status"
}
refused() {
    if unsigned "$1" || ! grep -qx 'reproduce: FAILED: x64/Zefmor.exe .*differs.*' "$tmp/said"; then
        cat "$tmp/said" >&2
        return 1
    fi
}
expect "an unsigned file with the rebuilt bytes passes" unsigned "$tmp/rebuilt"
expect "an unsigned file that differs from the rebuild is refused, naming it" refused "$tmp/other"
exit $failed
