#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Makes a Wine prefix for running Zefmor's tests and tools:
#   scripts/lib/wine-prefix.sh PREFIX [null|x11] [x86|x64]
#   null  Wine's null graphics driver: real windows and dialogs with no display at all (default)
#   x11   the display in DISPLAY, with Wine drawing caption, menu bar and borders itself, since
#         no window manager runs there
#   x64   made with Wine's 64-bit loader (default); x86 with the 32-bit one where this host runs
#         32-bit programs, else with the 64-bit one. Either way the prefix runs programs of both
#         architectures wherever the host can.
set -eu
prefix=$1
driver=${2:-null}
arch=${3:-x64}
. "$(dirname "$0")/wine-loader.sh"
case $arch in
    x64) ;;
    x86) zefmor_runs_x86 || arch=x64 ;;
    *) echo "wine-prefix: unknown architecture $arch" >&2; exit 2 ;;
esac
export WINEPREFIX="$prefix" WINEDEBUG=-all
mkdir -p "$prefix"
WINEDLLOVERRIDES='mscoree,mshtml=' zefmor_wine "$arch" wineboot -i >/dev/null 2>&1
case $driver in
    null) zefmor_wine "$arch" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 ;;
    x11) zefmor_wine "$arch" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 ;;
    *) echo "wine-prefix: unknown driver $driver" >&2; exit 2 ;;
esac
# A crashing program ends at once instead of waiting for a debugger nobody watches.
zefmor_wine "$arch" reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 || true
zefmor_wine "$arch" reg delete 'HKLM\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 || true
zefmor_wine_fonts "$prefix"
"$zefmor_wineserver" -w
