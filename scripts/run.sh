#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Sets up the machine, builds Zefmor and starts it under Wine on your display: the x86 build, or
# the x64 one where this host cannot run 32-bit programs. Only the setup runs as root: through
# sudo, the build and Wine run as the user who owns the clone.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/wine-loader.sh"
. "$root/scripts/lib/as-owner.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display (DISPLAY is not set): Zefmor is a windowed program and needs one" >&2
    exit 1
fi
"$root/scripts/lib/setup.sh" run
zefmor_as_owner "$root" "$0" "$@"
# The program alone: build/ keeps the tests the test command built, and whether it builds them.
"$root/scripts/lib/build.sh" Zefmor >/dev/null
if zefmor_runs_x86; then
    arch=x86
    echo "run: starting the x86 build"
else
    arch=x64
    echo "run: starting the x64 build: $zefmor_x86_reason"
fi

# Your own Wine prefix keeps the settings between runs; it is made only if it does not exist.
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' zefmor_wine "$arch" wineboot -i >/dev/null 2>&1
elif [ "$arch" = x64 ] && grep -q '^#arch=win32' "$WINEPREFIX/system.reg"; then
    echo "run: $WINEPREFIX holds only 32-bit Windows; set WINEPREFIX to a new folder for the x64 build" >&2
    exit 1
fi
# The program's own output must not bring down its text shaping; fonts already there stay.
zefmor_wine_fonts "$WINEPREFIX"
zefmor_wine "$arch" "$root/build/$arch/Zefmor.exe"
