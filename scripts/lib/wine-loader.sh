# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Chooses Wine's loader for each architecture; scripts and the test wrapper source this file.
#   zefmor_runs_x86                    true when this host runs 32-bit Windows programs; otherwise
#                                      $zefmor_x86_reason says why not, in one line
#   zefmor_wine x86|x64 PROGRAM [ARGS] runs a Windows program with the loader of that architecture
#                                      (x86 where this host cannot run it: the reason, status 77)
#   zefmor_wine_stop PREFIX            ends the Wine server of PREFIX and every program in it
#   zefmor_wine_fonts PREFIX           gives PREFIX those of Wine's own fonts it lacks: the dialog
#                                      fonts and the one it draws caption buttons with
# Debian's /usr/bin/wine takes the 32-bit loader whenever Wine's 32-bit part is installed, for
# 64-bit programs too, so on a kernel without IA-32 emulation it fails for everything; the
# 64-bit loader called directly works there. ZEFMOR_NO_32BIT=1 makes any host take the path of
# one that cannot run 32-bit programs.

zefmor_loader32=/usr/lib/wine/wine
zefmor_loader64=/usr/lib/wine/wine64
# A shell script that picks the 64-bit server where there is one: it runs on both kinds of host.
zefmor_wineserver=/usr/lib/wine/wineserver
zefmor_x86_tried=
zefmor_x86_reason=

zefmor_runs_x86() {
    if [ -z "$zefmor_x86_tried" ]; then
        zefmor_x86_tried=1
        if [ "${ZEFMOR_NO_32BIT:-}" = 1 ]; then
            zefmor_x86_reason="ZEFMOR_NO_32BIT=1 treats this host as one that cannot run 32-bit programs"
        elif [ ! -e "$zefmor_loader32" ]; then
            zefmor_x86_reason="Wine's 32-bit part is not installed (wine32:i386)"
        elif ! "$zefmor_loader32" --version >/dev/null 2>&1; then
            # A real try: the kernel may lack IA-32 emulation.
            zefmor_x86_reason="this host cannot run 32-bit programs ($zefmor_loader32 does not start)"
        fi
    fi
    [ -z "$zefmor_x86_reason" ]
}

zefmor_wine() {
    case ${1:-} in
        x64)
            shift
            WINELOADER=$zefmor_loader64 WINEDEBUG=${WINEDEBUG:-fixme-all} "$zefmor_loader64" "$@"
            ;;
        x86)
            shift
            if ! zefmor_runs_x86; then
                echo "zefmor: cannot run the x86 program ${1:-}: $zefmor_x86_reason" >&2
                return 77
            fi
            WINELOADER=$zefmor_loader32 WINEDEBUG=${WINEDEBUG:-fixme-all} "$zefmor_loader32" "$@"
            ;;
        *)
            echo "zefmor: no Wine loader for the architecture '${1:-}' (x86 or x64)" >&2
            return 2
            ;;
    esac
}

zefmor_wine_stop() {
    WINEPREFIX=$1 "$zefmor_wineserver" -k 2>/dev/null || true
}

# Wine's own Tahoma and MS Sans Serif for the dialog fonts: Wine 8's 64-bit text shaping of the
# host's DejaVu Sans, the fallback otherwise, reads out of bounds on some symbol sequences, and
# Wine does not find its own fonts unless they are in the prefix. Marlett draws the caption's
# minimise, maximise and close buttons; without it they show as the letters "0", "1" and "r".
# A font already there is kept.
zefmor_wine_fonts() {
    mkdir -p "$1/drive_c/windows/Fonts"
    for font in tahoma.ttf tahomabd.ttf ms_sans_serif.ttf marlett.ttf; do
        [ -e "$1/drive_c/windows/Fonts/$font" ] && continue
        if ! cp "/usr/share/wine/fonts/$font" "$1/drive_c/windows/Fonts/"; then
            echo "zefmor: Wine's own fonts are missing; install the package fonts-wine" >&2
            return 1
        fi
    done
}
