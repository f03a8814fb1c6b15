#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Builds Zefmor and its benchmark, runs the benchmark under Wine in a throwaway prefix and writes
# BENCHMARKS.md: the date, the machine and the table of measures against their targets.
#   scripts/benchmark.sh                          both builds, one table each
#   ZEFMOR_BENCH_ARCHS=x86 scripts/benchmark.sh   the x86 build only
# Where this host cannot run 32-bit programs the x86 table says so instead of giving figures.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/wine-loader.sh"
build=${ZEFMOR_BUILD_DIR:-$root/build}
archs=${ZEFMOR_BENCH_ARCHS:-x86 x64}
report=$root/BENCHMARKS.md

"$root/scripts/lib/setup.sh"
# The benchmark lives with the tests, so the trees are configured with them.
ZEFMOR_TESTS=ON "$root/scripts/lib/build.sh" >/dev/null
for arch in $archs; do
    cmake --build "$build/$arch" --target benchmark floor_window >/dev/null
done

# A fresh prefix made as the tests' prefixes are: every run starts alike and none of the
# user's settings or fonts take part.
prefix=$(mktemp -d /tmp/zefmor-benchmark.XXXXXX)
cleanup() {
    zefmor_wine_stop "$prefix"
    rm -rf "$prefix"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
export WINEPREFIX="$prefix" WINEDEBUG=-all
"$root/scripts/lib/wine-prefix.sh" "$prefix" null "${archs%% *}"

# Wine shows the host's root as drive Z:.
windows_path() {
    printf 'Z:%s' "$1" | tr / '\\'
}

load_before=$(cut -d' ' -f1 /proc/loadavg)
tables=""
status=0
for arch in $archs; do
    if [ "$arch" = x86 ] && ! zefmor_runs_x86; then
        echo "benchmark: the x86 build is skipped: $zefmor_x86_reason" >&2
        tables="$tables
## $arch build

Skipped: $zefmor_x86_reason.
"
        continue
    fi
    echo "benchmark: running the $arch build" >&2
    dir=$build/$arch
    rc=0
    table=$(zefmor_wine "$arch" "$dir/benchmark.exe" \
                 --zefmor "$(windows_path "$dir/Zefmor.exe")" \
                 --floor "$(windows_path "$dir/floor_window.exe")" \
                 --size-x86 "$(windows_path "$build/x86/Zefmor.exe")" \
                 --size-x64 "$(windows_path "$build/x64/Zefmor.exe")") || rc=$?
    # 1 means a target was missed; anything else, or no table, means the benchmark itself failed.
    if [ "$rc" -gt 1 ] || [ -z "$table" ]; then
        echo "benchmark: the $arch benchmark failed (exit code $rc)" >&2
        exit 1
    fi
    [ "$rc" -eq 1 ] && status=1
    tables="$tables
## $arch build

$table
"
done
load_after=$(cut -d' ' -f1 /proc/loadavg)

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
memory=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
commit=$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo unknown)
if [ -n "$(git -C "$root" status --porcelain 2>/dev/null)" ]; then
    commit="$commit, with uncommitted changes"
fi

cat > "$report" <<EOF
<!-- SPDX-FileCopyrightText: 2026 Ravolt -->
<!-- SPDX-License-Identifier: MIT -->

# Zefmor benchmarks

Written by \`scripts/benchmark.sh\`: each build runs under Wine in a throwaway prefix with the null
graphics driver. Timings are medians, with the fastest beside them; the cores are shared with
other work, so they can be noisy (the load average is given below).

- Date: $(date -u '+%Y-%m-%d %H:%M UTC')
- Machine: $(nproc) cores, ${cpu:-unknown CPU}, $memory memory
- Wine: $(zefmor_wine x64 --version)
- Sources: commit $commit
- Load average (1 minute) before / after the runs: $load_before / $load_after

How it is measured:

- Start-up: from CreateProcess until the main window is visible with all its controls and its
  message loop answers a sent message (after WaitForInputIdle). Zefmor starts with no stored
  settings each time; the two programs alternate, each start comes after a quarter-second pause
  and each run is closed with WM_CLOSE.
- The floor of the design, floor_window.exe, is what any program showing this window must do:
  it imports the same DLLs as Zefmor (the benchmark compares the two import tables), carries the
  same resources with the manifest that asks for Common Controls 6, and registers the same class
  with the same menu, then makes the window and its fifteen controls with one call each, the
  up-downs with the same common-control call, and gives them the stock font. It reads no settings
  and starts no COM. The two "built, DLLs already loaded" rows below split each start-up: the rest
  is process creation and loading the DLLs, the same for both, and Zefmor's COM start.
- Generation: one WM_COMMAND Generuj sent from the benchmark's process to a running Zefmor at
  rest, the counts and the four classes set through its controls.
- Size: the file; its import table is read to tell that no compiler runtime DLL is needed.
- Steadiness: the program's own code in the benchmark's process; the font and colour dialogs are
  accepted as soon as they open, and a replaced font or brush must be deleted at once. Each
  command follows a 20 ms pause: back to back, Wine's window operations take several times as
  long, as the fastest times beside the medians show.
- Memory growth: the program's private memory from after the first round to the end, against
  the same number of iterations done by the system's font and colour dialogs, a bare edit given
  the chosen font and a run's text, in a fresh process of their own after ten to settle. Under
  Wine the system's dialogs themselves leave memory behind on every use; the program may grow by
  no more than they do, and a fifth more.
$tables
EOF

cat "$report"
exit $status
