#!/bin/sh
# Sets up the machine, builds Zefmor and starts it under Wine on your display.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display (DISPLAY is not set): Zefmor is a windowed program and needs one" >&2
    exit 1
fi
"$root/scripts/setup.sh"
ZEFMOR_TESTS=OFF "$root/scripts/build.sh" >/dev/null
# Your own Wine prefix (~/.wine unless WINEPREFIX says otherwise) keeps the settings between runs.
exec wine "$root/build/x86/Zefmor.exe"
