#!/bin/sh
# Sets up the machine, builds both architectures and runs every test under Wine, then the checks
# of the packages, of a second build and of the real window's pictures.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

passed=0
failed=0
check() {
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

log=$root/build/ctest.log
ctest --test-dir "$root/build" --output-on-failure --parallel 2 >"$log" 2>&1 || true
cat "$log"
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" || true)
if [ -n "$summary" ]; then
    total=$(echo "$summary" | sed 's/.* out of \([0-9]*\).*/\1/')
    bad=$(echo "$summary" | sed 's/.*passed, \([0-9]*\) tests failed.*/\1/')
    passed=$((total - bad))
    failed=$bad
else
    failed=1
fi
# Leave no Wine servers behind.
for prefix in "$root"/build/x86/wineprefix "$root"/build/x64/wineprefix; do
    [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
done

# Both release packages, each started from a clean prefix.
check "$root/scripts/package.sh" --check
# The same sources built again elsewhere must give byte-identical programs and packages.
check "$root/scripts/reproduce.sh"
# Pictures of the real window under a virtual display, checked.
check "$root/scripts/screenshots.sh"

echo "zefmor: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
