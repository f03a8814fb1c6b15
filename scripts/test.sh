#!/bin/sh
# Sets up the machine, builds both architectures and runs every test under Wine.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
status=0
ctest --test-dir "$root/build" --output-on-failure --parallel 2 || status=$?
# Both release packages, each started from a clean prefix.
"$root/scripts/package.sh" --check || status=1
# The same sources built again elsewhere must give byte-identical programs and packages.
"$root/scripts/reproduce.sh" || status=1
# Pictures of the real window under a virtual display, checked.
"$root/scripts/screenshots.sh" || status=1
# Leave no Wine servers behind.
for prefix in "$root"/build/x86/wineprefix "$root"/build/x64/wineprefix; do
    [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
done
exit $status
