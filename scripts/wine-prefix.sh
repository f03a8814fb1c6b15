#!/bin/sh
# Makes a Wine prefix for running Zefmor's tests and tools: scripts/wine-prefix.sh PREFIX [null|x11]
#   null  Wine's null graphics driver: real windows and dialogs with no display at all (default)
#   x11   the display in DISPLAY, with Wine drawing caption, menu bar and borders itself, since
#         no window manager runs there
set -eu
prefix=$1
driver=${2:-null}
export WINEPREFIX="$prefix" WINEDEBUG=-all
mkdir -p "$prefix"
WINEDLLOVERRIDES='mscoree,mshtml=' wineboot -i >/dev/null 2>&1
case $driver in
    null) wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 ;;
    x11) wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 ;;
    *) echo "wine-prefix: unknown driver $driver" >&2; exit 2 ;;
esac
# A crashing program ends at once instead of waiting for a debugger nobody watches.
wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 || true
wine reg delete 'HKLM\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 || true
# Wine's own Tahoma and MS Sans Serif for the dialog fonts: the 64-bit text shaping of the host's
# DejaVu Sans, the fallback otherwise, reads out of bounds on some symbol sequences.
fonts=/usr/share/wine/fonts
if ! cp "$fonts/tahoma.ttf" "$fonts/tahomabd.ttf" "$fonts/ms_sans_serif.ttf" "$prefix/drive_c/windows/Fonts/"; then
    echo "wine-prefix: Wine's own fonts are missing; install the package fonts-wine" >&2
    exit 1
fi
wineserver -w
