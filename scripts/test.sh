#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Sets up the machine, builds both architectures and runs every test under Wine, then the checks
# of the packages, of a second build and of the real window's pictures. A test or check that this
# host cannot run (x86 programs where 32-bit programs do not run) counts as skipped, with its reason.
# Only the setup runs as root: through sudo, the rest runs as the user who owns the clone.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/wine-loader.sh"
. "$root/scripts/lib/as-owner.sh"
"$root/scripts/lib/setup.sh"
zefmor_as_owner "$root" "$0" "$@"
"$root/scripts/lib/build.sh"

passed=0
failed=0
skipped=0
# A check ending with 77 could not run here and has said why.
check() {
    status=0
    "$@" || status=$?
    case $status in
        0) passed=$((passed + 1)) ;;
        77) skipped=$((skipped + 1)) ;;
        *) failed=$((failed + 1))
           echo "zefmor: FAILED: ${1#"$root"/} (exit code $status)" >&2 ;;
    esac
}

log=$root/build/ctest.log
ctest --test-dir "$root/build" --output-on-failure --parallel 2 >"$log" 2>&1 || true
cat "$log"
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" || true)
if [ -n "$summary" ]; then
    total=$(echo "$summary" | sed 's/.* out of \([0-9]*\).*/\1/')
    bad=$(echo "$summary" | sed 's/.*passed, \([0-9]*\) tests failed.*/\1/')
    # CTest counts a skipped test as passed and lists it under "The following tests did not run".
    skipped=$(grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log" || true)
    passed=$((total - bad - skipped))
    failed=$bad
else
    failed=1
fi
# Each skipped suite's own word on why.
awk '/^[0-9]+\/[0-9]+ Test: / { name = $3 } /^skipped: / { print name " " $0 }' \
    "$root/build/Testing/Temporary/LastTest.log" 2>/dev/null || true
# Leave no Wine servers behind.
for prefix in "$root"/build/x86/wineprefix "$root"/build/x64/wineprefix; do
    [ -d "$prefix" ] && zefmor_wine_stop "$prefix" || true
done

# Every file of the sources names its copyright holder and licence, in the REUSE form.
licences() {
    if reuse --root "$root" lint >"$root/build/reuse.log" 2>&1; then
        echo "licences: every file names its copyright holder and licence"
    else
        cat "$root/build/reuse.log" >&2
        return 1
    fi
}
check licences
# README.md and docs/ name only paths and ZEFMOR_* variables that exist, and explain every one read.
check "$root/tests/docs.py"
# The release packages, each started, installed, upgraded and removed in a clean prefix.
check "$root/tests/release/packages.sh"
# A release signed with a throwaway certificate verifies, and is still what the sources build.
check "$root/tests/release/signed_release.sh"
# The comparison of a second build's packages with the first's fails on a file that differs.
check "$root/tests/release/same_packages.sh"
# Roots reach Debian as this host's apt does, and a rebuild in one pins the recorded versions and
# never trusts a cached root that no longer runs (stand-ins, no network).
check "$root/tests/release/apt_sources.sh"
check "$root/tests/release/roots.sh"
# The README's two commands, through sudo and without root, leave the clone to its owner and build/
# building its tests (stand-ins, no build).
check "$root/tests/release/commands.sh"
# The same sources built again elsewhere must give byte-identical programs and packages.
check "$root/scripts/reproduce.sh"
# Pictures of the real window under a virtual display, checked.
check "$root/scripts/screenshots.sh"

echo "zefmor: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
