#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Makes the release packages in build/dist and tries each as a user would: the program of each zip
# starts and closes from a clean Wine prefix, and each installer installs it with the licence and
# the notice, starts, is upgraded, refuses to go over a newer version and uninstalls there. Where this host cannot run 32-bit
# programs the x86 start and the x86 installer are left out, and that is said.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${ZEFMOR_BUILD_DIR:-$root/build}
dist=$build/dist
. "$root/scripts/lib/wine-loader.sh"
"$root/scripts/package.sh" "$dist" >/dev/null || { echo "packages: packaging failed" >&2; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/x64/CMakeCache.txt")
# Installers of other versions for the upgrade and the refusal are built the same way.
stamp=202601010000
. "$root/scripts/lib/installer.sh"
status=0

# The Zefmor entries in "Apps & features", one "{PRODUCT-CODE} VERSION" line each. Windows keeps a
# per-user install's entry under HKCU, Wine under HKLM (32-bit ones in its Wow6432Node).
installed_entries() {
    uninstall='Microsoft\Windows\CurrentVersion\Uninstall'
    lists="reg query HKCU\\Software\\$uninstall /s & reg query HKLM\\Software\\$uninstall /s"
    zefmor_wine x64 cmd /c "$lists & reg query HKLM\\Software\\Wow6432Node\\$uninstall /s" 2>/dev/null |
        tr -d '\r' | awk '/^HKEY_/ { key = $0; sub(/.*\\/, "", key) }
                          /^ +DisplayName +REG_SZ +Zefmor$/ { zefmor[key] = 1 }
                          /^ +DisplayVersion +REG_SZ/ { shown[key] = $3 }
                          END { for (key in zefmor) print key, shown[key] }'
}
# says PASSED WHAT...: prints "packages: WHAT..." when PASSED is 0, else says that it failed.
says() {
    passed=$1
    shift
    if [ "$passed" -eq 0 ]; then
        echo "packages: $*"
    else
        echo "packages: FAILED: $*" >&2
        status=1
    fi
}
# check_msi ARCH: in the prefix WINEPREFIX, installs this version's installer for ARCH, starts and
# closes the installed program, installs the next build over it, refuses this version over a newer
# release, and removes it again, keeping the settings.
check_msi() {
    msi_arch=$1
    msi_dir=$(mktemp -d /tmp/zefmor-msi-check.XXXXXX)
    msi_build=$(echo "$version" | awk -F. '{ print $1 "." $2 "." $3 "." $4 + 1 }')
    msi_release=$(echo "$version" | awk -F. '{ print $1 "." $2 "." $3 + 1 ".0" }')
    build_msi "$msi_arch" "$msi_build" "$build/$msi_arch/Zefmor.exe" "$msi_dir/build.msi"
    build_msi "$msi_arch" "$msi_release" "$build/$msi_arch/Zefmor.exe" "$msi_dir/release.msi"
    msi=$dist/Zefmor-$version-$msi_arch.msi
    users=$WINEPREFIX/drive_c/users
    programs='AppData/Local/Programs/Zefmor/Zefmor.exe'
    shortcut='AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Zefmor.lnk'

    zefmor_wine x64 msiexec /i "$msi" /qn && ok=0 || ok=1
    says $ok "$msi_arch installer installs silently for this user (exit code 0)"
    exe=$(ls "$users"/*/"$programs" 2>/dev/null || true)
    [ -n "$exe" ] && ls "$users"/*/"$shortcut" >/dev/null 2>&1 &&
        cmp -s "$(dirname "$exe")/THIRD-PARTY.txt" "$build/$msi_arch/THIRD-PARTY.txt" &&
        cmp -s "$(dirname "$exe")/LICENSE.txt" "$build/$msi_arch/LICENSE.txt" &&
        [ "$(installed_entries)" = "$(product_code $msi_arch "$version") $version" ] && ok=0 || ok=1
    says $ok "$msi_arch installer puts Zefmor.exe with LICENSE.txt and THIRD-PARTY.txt in" \
             "%LOCALAPPDATA%\\Programs\\Zefmor, a shortcut in the Start menu and one entry in Apps & features"
    zefmor_wine "$msi_arch" "$build/$msi_arch/remote_control.exe" start "$exe" >/dev/null &&
        [ "$(zefmor_wine "$msi_arch" "$build/$msi_arch/remote_control.exe" close | tr -d '\r')" = "exit code 0" ] &&
        ok=0 || ok=1
    says $ok "installed $msi_arch Zefmor.exe starts and closes with exit code 0"

    zefmor_wine x64 msiexec /i "$msi_dir/build.msi" /qn &&
        [ "$(installed_entries)" = "$(product_code $msi_arch "$msi_build") $msi_build" ] &&
        [ "$(find "$WINEPREFIX/drive_c" -iname Zefmor.exe | wc -l)" -eq 1 ] && ok=0 || ok=1
    says $ok "$msi_arch $msi_build installs over $version: one entry, one Zefmor.exe"
    # Without a user interface Wine neither shows nor logs the refusal's message; its error
    # trace names the step that stopped the install, the launch condition that carries the message.
    zefmor_wine x64 msiexec /i "$msi_dir/release.msi" /qn &&
        ! WINEDEBUG=err+msi zefmor_wine x64 msiexec /i "$msi" /qn 2>"$msi_dir/downgrade.log" &&
        grep -q 'action L"LaunchConditions" returned 1603' "$msi_dir/downgrade.log" &&
        [ "$(installed_entries)" = "$(product_code $msi_arch "$msi_release") $msi_release" ] && ok=0 || ok=1
    says $ok "$msi_arch $version is refused over $msi_release by its downgrade condition," \
             "$msi_release stays"

    zefmor_wine x64 msiexec /x "$msi_dir/release.msi" /qn &&
        [ -z "$(installed_entries)" ] &&
        [ "$(find "$WINEPREFIX/drive_c" -iname Zefmor.exe -o -iname Zefmor.lnk | wc -l)" -eq 0 ] &&
        [ ! -e "$(dirname "$exe")" ] &&
        zefmor_wine x64 reg query 'HKCU\Software\Ravolt\Zefmor' >/dev/null 2>&1 && ok=0 || ok=1
    says $ok "$msi_arch uninstall removes Zefmor.exe, its folder, its shortcut and its entry" \
             "and keeps HKCU\\Software\\Ravolt\\Zefmor"
    rm -rf "$msi_dir"
}

# Each zip holds the program's own notice beside it and the licence, and must start on a machine
# that has only what Wine gives: unpack, start, close.
for pair in x86:win32 x64:win64; do
    arch=${pair%%:*}
    zip=$dist/Zefmor-$version-${pair##*:}.zip
    [ "$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')" = "LICENSE.txt README.txt THIRD-PARTY.txt Zefmor.exe " ] &&
        unzip -p "$zip" THIRD-PARTY.txt | cmp -s - "$build/$arch/THIRD-PARTY.txt" &&
        unzip -p "$zip" THIRD-PARTY.txt | awk '!/\r$/ { lf = 1 } END { exit lf }' &&
        tr -d '\r' <"$build/$arch/THIRD-PARTY.txt" | awk '/^  Copyright: .*the mingw-w64 project$/ { c = 1 } /^ZPL-2\.1$/ { z = 1 } z && /^   5\. / { f = 1 } f && /^Disclaimer$/ { d = 1 } d && /EVEN IF ADVISED OF THE POSSIBILITY OF SUCH DAMAGE\.$/ { e = 1 } /\/usr\/share/ { u = 1 } END { exit !(c && e && !u) }' && ok=0 || ok=1
    says $ok "${pair##*:} package holds Zefmor.exe, README.txt, LICENSE.txt and its own THIRD-PARTY.txt," \
             "with CR LF line ends, the MinGW-w64 copyright line and the ZPL-2.1 text to its disclaimer, and no /usr/share path"
    if [ "$arch" = x86 ] && ! zefmor_runs_x86; then
        echo "packages: ${pair##*:} package start skipped: $zefmor_x86_reason"
        continue
    fi
    where=$(mktemp -d /tmp/zefmor-unpacked.XXXXXX)
    unzip -q "$dist/Zefmor-$version-${pair##*:}.zip" -d "$where/app"
    export WINEPREFIX="$where/prefix" WINEDEBUG=-all
    "$root/scripts/lib/wine-prefix.sh" "$WINEPREFIX" null "$arch"
    zefmor_wine "$arch" "$build/$arch/remote_control.exe" start "$where/app/Zefmor.exe" >/dev/null &&
        [ "$(zefmor_wine "$arch" "$build/$arch/remote_control.exe" close | tr -d '\r')" = "exit code 0" ] &&
        ok=0 || ok=1
    says $ok "${pair##*:} package starts and closes with exit code 0"
    zefmor_wine_stop "$WINEPREFIX"
    rm -rf "$where"
done

# Each installer, in one clean 64-bit prefix, x64 first; the x86 one then starts without settings.
# Without winemenubuilder, the Start-menu shortcut stays in the prefix instead of also becoming a
# menu entry of this machine's desktop.
WINEPREFIX=$(mktemp -d /tmp/zefmor-installed.XXXXXX)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
"$root/scripts/lib/wine-prefix.sh" "$WINEPREFIX" null
check_msi x64
if zefmor_runs_x86; then
    zefmor_wine x64 reg delete 'HKCU\Software\Ravolt\Zefmor' /f >/dev/null 2>&1 || true
    check_msi x86
    # Both install into the same folder, so the other architecture's installer replaces the first.
    zefmor_wine x64 msiexec /i "$dist/Zefmor-$version-x86.msi" /qn &&
        zefmor_wine x64 msiexec /i "$dist/Zefmor-$version-x64.msi" /qn &&
        [ "$(installed_entries)" = "$(product_code x64 "$version") $version" ] &&
        [ "$(find "$WINEPREFIX/drive_c" -iname Zefmor.exe | wc -l)" -eq 1 ] && ok=0 || ok=1
    says $ok "x64 installer replaces the installed x86 one: one entry, one Zefmor.exe"
else
    echo "packages: x86 installer check skipped: $zefmor_x86_reason"
fi
zefmor_wine_stop "$WINEPREFIX"
rm -rf "$WINEPREFIX"
exit $status
