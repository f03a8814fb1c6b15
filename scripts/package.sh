#!/bin/sh
# Makes the release packages Zefmor-2.0.1.7-win32.zip and -win64.zip, each with Zefmor.exe and a
# short read-me, and a SHA256SUMS file beside them listing the packages and both programs.
# Times, order and permissions in the packages are fixed, so the same build gives the same bytes.
# Usage: scripts/package.sh [output folder] (default build/dist); needs scripts/build.sh first.
#        scripts/package.sh --check [folder]  also unpacks each package into a clean Wine prefix
#                                              and starts and closes the program from there.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZEFMOR_BUILD_DIR:-$root/build}
check=0
if [ "${1:-}" = "--check" ]; then
    check=1
    shift
fi
dist=${1:-$build/dist}
version=2.0.1.7
# 2026-01-01 00:00 UTC: packages carry one fixed time whenever they are made.
stamp=202601010000

mkdir -p "$dist"
rm -f "$dist"/Zefmor-*.zip "$dist/SHA256SUMS"
for pair in x86:win32 x64:win64; do
    arch=${pair%%:*}
    name=Zefmor-$version-${pair##*:}
    stage=$(mktemp -d /tmp/zefmor-package.XXXXXX)
    cp "$build/$arch/Zefmor.exe" "$stage/Zefmor.exe"
    cp "$root/scripts/package-readme.txt" "$stage/README.txt"
    chmod 644 "$stage/Zefmor.exe" "$stage/README.txt"
    TZ=UTC touch -t "$stamp" "$stage/Zefmor.exe" "$stage/README.txt"
    (cd "$stage" && TZ=UTC zip -q -X -D "$dist/$name.zip" Zefmor.exe README.txt)
    rm -rf "$stage"
done
(
    cd "$dist"
    sha256sum Zefmor-$version-win32.zip Zefmor-$version-win64.zip
    cd "$build"
    sha256sum x86/Zefmor.exe x64/Zefmor.exe
) > "$dist/SHA256SUMS"
cat "$dist/SHA256SUMS"
[ $check -eq 1 ] || exit 0

# Each package must start on a machine that has only what Wine gives: unpack, start, close.
# Where this host cannot run 32-bit programs the win32 package is only made, and that is said.
. "$root/scripts/wine-loader.sh"
status=0
for pair in x86:win32 x64:win64; do
    arch=${pair%%:*}
    if [ "$arch" = x86 ] && ! zefmor_runs_x86; then
        echo "package: ${pair##*:} package start skipped: $zefmor_x86_reason"
        continue
    fi
    where=$(mktemp -d /tmp/zefmor-unpacked.XXXXXX)
    unzip -q "$dist/Zefmor-$version-${pair##*:}.zip" -d "$where/app"
    export WINEPREFIX="$where/prefix" WINEDEBUG=-all
    "$root/scripts/wine-prefix.sh" "$WINEPREFIX" null "$arch"
    if zefmor_wine "$arch" "$build/$arch/remote_control.exe" start "$where/app/Zefmor.exe" >/dev/null &&
       [ "$(zefmor_wine "$arch" "$build/$arch/remote_control.exe" close | tr -d '\r')" = "exit code 0" ]; then
        echo "package: ${pair##*:} package starts and closes with exit code 0"
    else
        echo "package: the ${pair##*:} package did not start and close cleanly" >&2
        status=1
    fi
    zefmor_wine_stop "$WINEPREFIX"
    rm -rf "$where"
done
exit $status
