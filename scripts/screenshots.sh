#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Takes pictures of the real program under a virtual X display, with Wine drawing the window frame:
#   start.png  the main window as it first shows, every control drawn
#   main.png   the main window after generating 10 passwords of 12 characters, all classes
#   about.png  the About box over it
#   look.png   the main window with a stored font, text colour and background colour
#   menu.png   the "Soubor" menu opened
# and checks them. Usage: scripts/screenshots.sh [output folder]  (default build/screenshots)
# Needs a build with its tests (scripts/lib/build.sh). Starts and stops only its own processes.
# Pictures the x86 build, or the x64 one where this host cannot run 32-bit programs; exits 77 when
# it cannot take pictures here at all.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/wine-loader.sh"
arch=x86
if ! zefmor_runs_x86; then
    arch=x64
    echo "screenshots: picturing the x64 build: $zefmor_x86_reason"
fi
build=${ZEFMOR_BUILD_DIR:-$root/build}/$arch
out=${1:-${ZEFMOR_BUILD_DIR:-$root/build}/screenshots}

if ! command -v Xvfb >/dev/null || ! command -v import >/dev/null; then
    echo "screenshots: SKIPPED: Xvfb or ImageMagick is not installed"
    exit 77
fi

display=90
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
prefix=$(mktemp -d /tmp/zefmor-screens.XXXXXX)
export DISPLAY=":$display" WINEPREFIX="$prefix" WINEDEBUG=-all
cleanup() {
    zefmor_wine_stop "$prefix"
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -rf "$prefix"
}
trap cleanup EXIT

"$root/scripts/lib/wine-prefix.sh" "$prefix" x11 "$arch"
mkdir -p "$out"

control() {
    if ! zefmor_wine "$arch" "$build/remote_control.exe" "$@" >"$prefix/control.out"; then
        echo "screenshots: the step '$1' failed" >&2
        exit 1
    fi
    tr -d '\r' <"$prefix/control.out"
}
# shot NAME "x y w h cx cy": the main window's rectangle on the screen; its size is noted for the
# check, since frames, and so the window, are larger on some systems than the designed 315x210.
shot() {
    set -- "$1" $2
    import -window root -crop "${4}x${5}+${2}+${3}" +repage "$out/$1.png"
    echo "$1 ${4}x${5}" >>"$prefix/sizes"
}

# Wine draws the caption buttons with Marlett; without it they would be pictured as letters. The
# step's answer counts only where it also calls a family no prefix has absent; a step that does not
# run at all stops in control.
absent=$(control font 'Zefmor No Such Family')
marlett=$(control font Marlett)
if [ "$absent" != absent ]; then
    echo "screenshots: the step 'font' calls a family no prefix has '$absent', so its word on Marlett means nothing" >&2
    exit 1
fi
if [ "$marlett" != present ]; then
    echo "screenshots: the prefix has no Marlett font, so the caption buttons would show as letters" >&2
    exit 1
fi
place=$(control start "$build/Zefmor.exe")
shot start "$place"
control controls >"$prefix/controls"
place=$(control generate 10 12)
shot main "$place"
control about >/dev/null
shot about "$place"
control dismiss >/dev/null
control menu >/dev/null
shot menu "$place"
control dismiss >/dev/null
[ "$(control close)" = "exit code 0" ] || { echo "screenshots: Zefmor did not exit with 0" >&2; exit 1; }

background=$(control look)
place=$(control start "$build/Zefmor.exe")
place=$(control generate 10 12)
shot look "$place"
[ "$(control close)" = "exit code 0" ] || { echo "screenshots: Zefmor did not exit with 0" >&2; exit 1; }

# Checks: each picture is the whole window, text drawn in the pane, the stored background behind it.
set -- $place
cx=$5 cy=$6
failed=0
while read -r name window; do
    size=$(identify -format '%wx%h' "$out/$name.png")
    if [ "$size" != "$window" ]; then
        echo "screenshots: $name.png is $size, not the window's $window" >&2
        failed=1
    fi
done <"$prefix/sizes"
# The first picture, control by control: each shows more than one colour, and each button of an
# up-down its arrow in the middle.
flat() {
    [ "$(convert "$out/start.png" -crop "$1" +repage -format '%k' info:)" -lt 2 ]
}
[ -s "$prefix/controls" ] || { echo "screenshots: Zefmor listed no controls" >&2; failed=1; }
while read -r class x y w h; do
    if flat "${w}x${h}+$x+$y"; then
        echo "screenshots: start.png: the $class at $x,$y is one flat colour: not drawn" >&2
        failed=1
    elif [ "${class%:button}" != "$class" ] && flat "$((w / 2))x$((h / 2))+$((x + w / 4))+$((y + h / 4))"; then
        echo "screenshots: start.png: the $class at $x,$y shows no arrow" >&2
        failed=1
    fi
done <"$prefix/controls"
pane="140x150+$((cx + 4))+$((cy + 6))"
colours=$(convert "$out/main.png" -crop "$pane" +repage -format '%k' info:)
if [ "$colours" -lt 2 ]; then
    echo "screenshots: the pane in main.png is one flat colour: no passwords drawn" >&2
    failed=1
fi
top=$(convert "$out/look.png" -crop "$pane" +repage -format '%c' histogram:info:- | sort -rn | head -n 1)
if ! echo "$top" | grep -qi "#$(echo "$background" | sed 's/\(..\)\(..\)\(..\)/\3\2\1/')"; then
    echo "screenshots: the pane in look.png is not mostly the stored background: $top" >&2
    failed=1
fi
[ $failed -eq 0 ] && echo "screenshots: start, main, about, menu and look written to $out and checked"
exit $failed
