#!/bin/sh
# Makes the release packages: Zefmor-<version>-win32.zip and -win64.zip, each with Zefmor.exe and a
# short read-me, the installers Zefmor-<version>-x86.msi and -x64.msi, and a SHA256SUMS file beside
# them listing the packages, any detached signatures and both programs as packaged. Times, order,
# identifiers and permissions in the packages are fixed, so the same build gives the same bytes.
# Usage: scripts/package.sh [output folder] (default build/dist); needs scripts/build.sh first.
#        With ZEFMOR_SIGN_PFX the release is signed (see "Signing" below): the programs before they
#        are packaged, then the installers, with each detached signature in signatures/.
#        scripts/package.sh --check [folder]  also unpacks each zip into a clean Wine prefix and
#                                              starts and closes the program from there, and
#                                              installs, upgrades and removes each installer.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZEFMOR_BUILD_DIR:-$root/build}
check=0
if [ "${1:-}" = "--check" ]; then
    check=1
    shift
fi
dist=${1:-$build/dist}
# The version the build was configured with, so the names follow the project's one definition.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/x64/CMakeCache.txt" 2>/dev/null || true)
if [ -z "$version" ]; then
    echo "package: no version in $build/x64/CMakeCache.txt; run scripts/build.sh first" >&2
    exit 1
fi
# 2026-01-01 00:00 UTC: packages carry one fixed time whenever they are made.
stamp=202601010000
. "$root/scripts/wine-loader.sh"

# --- Signing.
# ZEFMOR_SIGN_PFX names a PKCS#12 file with the publisher's code-signing certificate and key, and
# ZEFMOR_SIGN_PASS_FILE the file whose first line is its password: the tools read it from there,
# so it is never on a command line, printed or copied. ZEFMOR_SIGN_TIMESTAMP_URL, when set, names
# an RFC 3161 time-stamp server. Signatures are Authenticode with SHA-256 and name the program and
# the web address the About box shows.
signing=${ZEFMOR_SIGN_PFX:-}
# refuse WHY: packaging stops here, saying why in one line; nothing has reached the output folder.
refuse() {
    echo "package: $*; no release was written" >&2
    exit 1
}
check_signing_inputs() {
    [ -f "$signing" ] && [ -r "$signing" ] ||
        refuse "cannot read the certificate file '$signing' (ZEFMOR_SIGN_PFX)"
    pass_file=${ZEFMOR_SIGN_PASS_FILE:-}
    [ -n "$pass_file" ] ||
        refuse "ZEFMOR_SIGN_PASS_FILE does not name the file with the certificate's password"
    [ -f "$pass_file" ] && [ -r "$pass_file" ] ||
        refuse "cannot read the password file '$pass_file' (ZEFMOR_SIGN_PASS_FILE)"
    if ! openssl pkcs12 -in "$signing" -passin "file:$pass_file" -noout 2>"$work/pkcs12.log"; then
        grep -q 'invalid password' "$work/pkcs12.log" &&
            refuse "wrong password: the one in '$pass_file' does not open '$signing'"
        refuse "'$signing' is not a PKCS#12 file with a certificate and key"
    fi
}
# sign_file IN OUT NAME: OUT is IN signed, and signatures/NAME.sig its detached signature.
sign_file() {
    if ! osslsigncode sign -pkcs12 "$signing" -readpass "$pass_file" -h sha256 -n Zefmor -i "$web" \
            ${ZEFMOR_SIGN_TIMESTAMP_URL:+-ts "$ZEFMOR_SIGN_TIMESTAMP_URL"} \
            -in "$1" -out "$2" >"$work/sign.log" 2>&1 ||
       ! osslsigncode extract-signature -in "$2" -out "$out/signatures/$3.sig" >>"$work/sign.log" 2>&1; then
        # The tool's first line that says what went wrong.
        sign_error=$(grep -v -e '^$' -e '^Failed$' -e '^Succeeded$' -e '^Connecting to ' "$work/sign.log" |
            head -n 1)
        refuse "signing $3 failed: $sign_error"
    fi
}
# --- End of signing.

# --- Installers.
# name_uuid TEXT: a UUID in the name-based (SHA-1) layout, the same for the same text.
name_uuid() {
    uuid_hash=$(printf '%s' "$1" | sha1sum | cut -c1-32 | tr a-f A-F)
    case $(echo "$uuid_hash" | cut -c17) in
        [0-3]) uuid_variant=8 ;;
        [4-7]) uuid_variant=9 ;;
        [89AB]) uuid_variant=A ;;
        *) uuid_variant=B ;;
    esac
    echo "$uuid_hash" | sed "s/^\(.\{8\}\)\(.\{4\}\).\(.\{3\}\).\(.\{3\}\)\(.\{12\}\)$/\1-\2-5\3-$uuid_variant\4-\5/"
}
# product_code ARCH VERSION: one product code for each architecture and version, the same in every
# build, as a major upgrade needs a new one for each version.
product_code() {
    echo "{$(name_uuid "Zefmor $1 $2")}"
}
# The installer's texts are Czech: the database's strings are stored in Windows-1250 and marked so,
# which makes them show right whatever code page Windows runs with. wixl converts texts to the
# code page libgsf guesses from WINDOWS_LANGUAGE, else from the locale (cs gives 1250), and never
# marks it; the marking is added afterwards as the _ForceCodepage table.
codepage=1250
export WINDOWS_LANGUAGE=cs
web=$(sed -n 's/^#define AUTHOR_WEB *"\(.*\)"$/\1/p' "$root/about/author.h")

# build_msi ARCH VERSION OUTPUT: the installer of the ARCH program as packaged, labelled VERSION.
# wixl stamps the current time and a random package code into the summary information; the clock
# is stopped at the packaging date while it runs (a running one can pass a second on a busy
# machine), and the package code is replaced by one derived from everything that goes into the
# package. Product codes follow from architecture and version.
build_msi() {
    msi_stage=$(mktemp -d /tmp/zefmor-msi.XXXXXX)
    cp "$work/$1/Zefmor.exe" "$msi_stage/Zefmor.exe"
    cp "$root/res/zefmor.ico" "$msi_stage/zefmor.ico"
    chmod 644 "$msi_stage/Zefmor.exe" "$msi_stage/zefmor.ico"
    TZ=UTC touch -t "$stamp" "$msi_stage/Zefmor.exe" "$msi_stage/zefmor.ico"
    msi_next=$(echo "$2" | awk -F. '{ print $1 "." $2 "." $3 + 1 }')
    msi_inputs=$(cat "$msi_stage/Zefmor.exe" "$msi_stage/zefmor.ico" "$root/scripts/zefmor.wxs" |
        sha256sum | cut -d' ' -f1)
    msi_package=$(name_uuid "Zefmor $1 $2 $codepage $web $msi_inputs")
    rm -f "$3"
    # wixl reports its non-advertised shortcut as "unimplemented" although it builds it; that line
    # alone is dropped.
    msi_time=$(echo "$stamp" | sed 's/^\(....\)\(..\)\(..\)\(..\)\(..\)$/\1-\2-\3 \4:\5:00/')
    if ! (cd "$msi_stage" && TZ=UTC faketime -f "$msi_time" wixl -a "$1" -o "$3" \
            -D Arch="$1" -D Version="$2" -D NextVersion="$msi_next" -D ProductCode="$(product_code "$1" "$2")" \
            -D Codepage=$codepage -D Web="$web" "$root/scripts/zefmor.wxs") 2>"$msi_stage/wixl.log"; then
        cat "$msi_stage/wixl.log" >&2
        rm -rf "$msi_stage"
        return 1
    fi
    grep -v 'builder.vala:[0-9]*: unimplemented$' "$msi_stage/wixl.log" >&2 || true
    # msibuild rewrites subject, author and template together with the package code: the subject
    # and author stay, and the template takes the product's language instead of wixl's fixed 1033.
    msi_subject=$(msiinfo suminfo "$3" | sed -n 's/^Subject: //p')
    msi_author=$(msiinfo suminfo "$3" | sed -n 's/^Author: //p')
    msi_platform=$(msiinfo suminfo "$3" | sed -n 's/^Template: \([^;]*\);.*/\1/p')
    msi_language=$(msiinfo export "$3" Property | sed -n 's/^ProductLanguage\t\([0-9]*\).*/\1/p')
    printf '\r\n\r\n%s\t_ForceCodepage\r\n' $codepage >"$msi_stage/_ForceCodepage.idt"
    (cd "$msi_stage" && msibuild "$3" -i _ForceCodepage.idt \
        -s "$msi_subject" "$msi_author" "$msi_platform;$msi_language" "{$msi_package}")
    rm -rf "$msi_stage"
}
# --- End of installers.

# --- Installer check.
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
# msi_says PASSED WHAT...: prints "package: WHAT..." when PASSED is 0, else says that it failed.
msi_says() {
    msi_passed=$1
    shift
    if [ "$msi_passed" -eq 0 ]; then
        echo "package: $*"
    else
        echo "package: FAILED: $*" >&2
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
    build_msi "$msi_arch" "$msi_build" "$msi_dir/build.msi"
    build_msi "$msi_arch" "$msi_release" "$msi_dir/release.msi"
    msi=$dist/Zefmor-$version-$msi_arch.msi
    users=$WINEPREFIX/drive_c/users
    programs='AppData/Local/Programs/Zefmor/Zefmor.exe'
    shortcut='AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Zefmor.lnk'

    zefmor_wine x64 msiexec /i "$msi" /qn && ok=0 || ok=1
    msi_says $ok "$msi_arch installer installs silently for this user (exit code 0)"
    exe=$(ls "$users"/*/"$programs" 2>/dev/null || true)
    [ -n "$exe" ] && ls "$users"/*/"$shortcut" >/dev/null 2>&1 &&
        [ "$(installed_entries)" = "$(product_code $msi_arch "$version") $version" ] && ok=0 || ok=1
    msi_says $ok "$msi_arch installer puts Zefmor.exe in %LOCALAPPDATA%\\Programs\\Zefmor, a shortcut in the Start menu" \
                 "and one entry in Apps & features"
    zefmor_wine "$msi_arch" "$build/$msi_arch/remote_control.exe" start "$exe" >/dev/null &&
        [ "$(zefmor_wine "$msi_arch" "$build/$msi_arch/remote_control.exe" close | tr -d '\r')" = "exit code 0" ] &&
        ok=0 || ok=1
    msi_says $ok "installed $msi_arch Zefmor.exe starts and closes with exit code 0"

    zefmor_wine x64 msiexec /i "$msi_dir/build.msi" /qn &&
        [ "$(installed_entries)" = "$(product_code $msi_arch "$msi_build") $msi_build" ] &&
        [ "$(find "$WINEPREFIX/drive_c" -iname Zefmor.exe | wc -l)" -eq 1 ] && ok=0 || ok=1
    msi_says $ok "$msi_arch $msi_build installs over $version: one entry, one Zefmor.exe"
    # Without a user interface Wine neither shows nor logs the refusal's message; its error
    # trace names the step that stopped the install, the launch condition that carries the message.
    zefmor_wine x64 msiexec /i "$msi_dir/release.msi" /qn &&
        ! WINEDEBUG=err+msi zefmor_wine x64 msiexec /i "$msi" /qn 2>"$msi_dir/downgrade.log" &&
        grep -q 'action L"LaunchConditions" returned 1603' "$msi_dir/downgrade.log" &&
        [ "$(installed_entries)" = "$(product_code $msi_arch "$msi_release") $msi_release" ] && ok=0 || ok=1
    msi_says $ok "$msi_arch $version is refused over $msi_release by its downgrade condition," \
                 "$msi_release stays"

    zefmor_wine x64 msiexec /x "$msi_dir/release.msi" /qn &&
        [ -z "$(installed_entries)" ] &&
        [ "$(find "$WINEPREFIX/drive_c" -iname Zefmor.exe -o -iname Zefmor.lnk | wc -l)" -eq 0 ] &&
        zefmor_wine x64 reg query 'HKCU\Software\Ravolt\Zefmor' >/dev/null 2>&1 && ok=0 || ok=1
    msi_says $ok "$msi_arch uninstall removes Zefmor.exe, its shortcut and its entry" \
                 "and keeps HKCU\\Software\\Ravolt\\Zefmor"
    rm -rf "$msi_dir"
}
# --- End of installer check.

mkdir -p "$dist"
dist=$(cd "$dist" && pwd)
# An earlier release in the folder goes first, so that a failure leaves nothing that looks like one.
rm -rf "$dist"/Zefmor-*.zip "$dist"/Zefmor-*.msi "$dist/SHA256SUMS" "$dist/signatures"
# The programs as packaged (signed, when signing) and the release are made here, and the release
# moves to the output folder only once it is whole.
work=$(mktemp -d /tmp/zefmor-release.XXXXXX)
trap 'rm -rf "$work"' EXIT
out=$work/release
mkdir "$out"
signatures=
if [ -n "$signing" ]; then
    check_signing_inputs
    mkdir "$out/signatures"
    signatures="signatures/x86-Zefmor.exe.sig signatures/x64-Zefmor.exe.sig
                signatures/Zefmor-$version-x86.msi.sig signatures/Zefmor-$version-x64.msi.sig"
fi
for pair in x86:win32 x64:win64; do
    arch=${pair%%:*}
    name=Zefmor-$version-${pair##*:}
    msi=Zefmor-$version-$arch.msi
    mkdir "$work/$arch"
    if [ -n "$signing" ]; then
        sign_file "$build/$arch/Zefmor.exe" "$work/$arch/Zefmor.exe" "$arch-Zefmor.exe"
    else
        cp "$build/$arch/Zefmor.exe" "$work/$arch/Zefmor.exe"
    fi
    stage=$(mktemp -d /tmp/zefmor-package.XXXXXX)
    cp "$work/$arch/Zefmor.exe" "$stage/Zefmor.exe"
    cp "$build/$arch/README.txt" "$stage/README.txt"
    chmod 644 "$stage/Zefmor.exe" "$stage/README.txt"
    TZ=UTC touch -t "$stamp" "$stage/Zefmor.exe" "$stage/README.txt"
    (cd "$stage" && TZ=UTC zip -q -X -D "$out/$name.zip" Zefmor.exe README.txt)
    rm -rf "$stage"
    if [ -n "$signing" ]; then
        build_msi "$arch" "$version" "$work/$msi"
        sign_file "$work/$msi" "$out/$msi" "$msi"
    else
        build_msi "$arch" "$version" "$out/$msi"
    fi
done
(
    cd "$out"
    sha256sum Zefmor-$version-win32.zip Zefmor-$version-win64.zip \
              Zefmor-$version-x86.msi Zefmor-$version-x64.msi $signatures
    cd "$work"
    sha256sum x86/Zefmor.exe x64/Zefmor.exe
) > "$out/SHA256SUMS"
mv "$out"/* "$dist"/
cat "$dist/SHA256SUMS"
[ $check -eq 1 ] || exit 0

# Each package must start on a machine that has only what Wine gives: unpack, start, close.
# Where this host cannot run 32-bit programs the win32 package is only made, and that is said.
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

# Each installer, in one clean 64-bit prefix, x64 first; the x86 one then starts without settings.
# Without winemenubuilder, the Start-menu shortcut stays in the prefix instead of also becoming a
# menu entry of this machine's desktop.
WINEPREFIX=$(mktemp -d /tmp/zefmor-installed.XXXXXX)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
"$root/scripts/wine-prefix.sh" "$WINEPREFIX" null
check_msi x64
if zefmor_runs_x86; then
    zefmor_wine x64 reg delete 'HKCU\Software\Ravolt\Zefmor' /f >/dev/null 2>&1 || true
    check_msi x86
    # Both install into the same folder, so the other architecture's installer replaces the first.
    zefmor_wine x64 msiexec /i "$dist/Zefmor-$version-x86.msi" /qn &&
        zefmor_wine x64 msiexec /i "$dist/Zefmor-$version-x64.msi" /qn &&
        [ "$(installed_entries)" = "$(product_code x64 "$version") $version" ] &&
        [ "$(find "$WINEPREFIX/drive_c" -iname Zefmor.exe | wc -l)" -eq 1 ] && ok=0 || ok=1
    msi_says $ok "x64 installer replaces the installed x86 one: one entry, one Zefmor.exe"
else
    echo "package: x86 installer check skipped: $zefmor_x86_reason"
fi
zefmor_wine_stop "$WINEPREFIX"
rm -rf "$WINEPREFIX"
exit $status
