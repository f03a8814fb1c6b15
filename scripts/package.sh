#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Makes a release of the built programs: Zefmor-<version>-win32.zip and -win64.zip, each with
# Zefmor.exe, a short read-me, the licence (LICENSE.txt) and the notice of the code of others in the
# program (THIRD-PARTY.txt, written by the build from its link map), the installers Zefmor-<version>-x86.msi and -x64.msi, the programs'
# own checksums in programs.sha256, the licence again as LICENSE.txt for the manifests to point to,
# BUILDINFO naming the system and toolchain that built it
# (scripts/lib/buildinfo.sh) and SHA256SUMS listing every file of the release. Times, order,
# identifiers and permissions in the packages are fixed, so the same build gives the same bytes.
#   scripts/package.sh [FOLDER]   the release in FOLDER (default build/dist); needs scripts/lib/build.sh
# With ZEFMOR_SIGN_PFX the release is signed (scripts/lib/signing.sh): the programs before they are
# packaged, then the installers, with each detached signature in signatures/. With
# ZEFMOR_RELEASE_URL, the https:// address of the folder the packages will be downloaded from, the
# release also holds its winget and Scoop manifests in manifests/ (scripts/lib/manifests.sh).
# The release is made elsewhere and replaces an earlier one in FOLDER only once it is whole: a run
# that stops leaves FOLDER as it was.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZEFMOR_BUILD_DIR:-$root/build}
dist=${1:-$build/dist}
# refuse WHY: packaging stops here, saying why in one line; the output folder is as it was.
refuse() {
    echo "package: $*; no release was written" >&2
    exit 1
}
# The version the build was configured with, so the names follow the project's one definition.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/x64/CMakeCache.txt" 2>/dev/null || true)
[ -n "$version" ] || refuse "no version in $build/x64/CMakeCache.txt; run scripts/lib/build.sh first"
for arch in x86 x64; do
    for file in Zefmor.exe README.txt LICENSE.txt THIRD-PARTY.txt; do
        [ -f "$build/$arch/$file" ] || refuse "there is no $build/$arch/$file; run scripts/lib/build.sh first"
    done
done
# Manifests name the packages by their download address; only one nobody on the way can change.
release_url=${ZEFMOR_RELEASE_URL:-}
if [ -n "$release_url" ]; then
    case $release_url in
        https://?*) ;;
        *) refuse "ZEFMOR_RELEASE_URL must be an https:// address, not '$release_url'" ;;
    esac
    printf '%s' "$release_url" | grep -q "[[:space:][:cntrl:]\"'\\<>]" &&
        refuse "ZEFMOR_RELEASE_URL must not hold spaces, quotes, backslashes or angle brackets"
fi
# 2026-01-01 00:00 UTC: packages carry one fixed time whenever they are made.
stamp=202601010000
. "$root/scripts/lib/installer.sh"
. "$root/scripts/lib/signing.sh"
. "$root/scripts/lib/buildinfo.sh"
# The commit BUILDINFO names; scripts/reproduce.sh gives it to the copies it packages.
commit=${ZEFMOR_COMMIT:-$(zefmor_source_commit "$root")}

work=$(mktemp -d /tmp/zefmor-release.XXXXXX)
trap 'rm -rf "$work"' EXIT
out=$work/release
mkdir "$out"
if [ -n "$sign_pfx" ]; then
    check_signing_inputs
    mkdir "$out/signatures"
fi
for pair in x86:win32 x64:win64; do
    arch=${pair%%:*}
    name=Zefmor-$version-${pair##*:}
    msi=Zefmor-$version-$arch.msi
    # The program as packaged (signed, when signing), with the notices the installer takes beside it.
    mkdir "$work/$arch"
    cp "$build/$arch/LICENSE.txt" "$build/$arch/THIRD-PARTY.txt" "$work/$arch/"
    program=$work/$arch/Zefmor.exe
    if [ -n "$sign_pfx" ]; then
        sign_file "$build/$arch/Zefmor.exe" "$program" "$out/signatures/$arch-Zefmor.exe.sig"
    else
        cp "$build/$arch/Zefmor.exe" "$program"
    fi

    stage=$work/$name
    mkdir "$stage"
    cp "$program" "$stage/Zefmor.exe"
    cp "$build/$arch/README.txt" "$build/$arch/LICENSE.txt" "$build/$arch/THIRD-PARTY.txt" "$stage/"
    (cd "$stage" && chmod 644 Zefmor.exe README.txt LICENSE.txt THIRD-PARTY.txt &&
        TZ=UTC touch -t "$stamp" Zefmor.exe README.txt LICENSE.txt THIRD-PARTY.txt &&
        TZ=UTC zip -q -X -D "$out/$name.zip" Zefmor.exe README.txt LICENSE.txt THIRD-PARTY.txt) ||
        refuse "zip could not make $name.zip"

    if [ -n "$sign_pfx" ]; then
        build_msi "$arch" "$version" "$program" "$work/$msi" || refuse "wixl could not build $msi"
        sign_file "$work/$msi" "$out/$msi" "$out/signatures/$msi.sig"
    else
        build_msi "$arch" "$version" "$program" "$out/$msi" || refuse "wixl could not build $msi"
    fi
done
# The licence the manifests point to.
cp "$build/x64/LICENSE.txt" "$out/LICENSE.txt"
chmod 644 "$out/LICENSE.txt"
# The programs' own checksums, as scripts/reproduce.sh COMMIT prints them for a rebuild.
(cd "$work" && sha256sum x86/Zefmor.exe x64/Zefmor.exe) >"$out/programs.sha256"
zefmor_write_buildinfo "$version" "$commit" ${sign_pfx:+signed} >"$out/BUILDINFO" ||
    refuse "BUILDINFO cannot name the toolchain: $buildinfo_error"
if [ -n "$release_url" ]; then
    "$root/scripts/lib/manifests.sh" "$out" "$version" "$release_url" || refuse "the manifests could not be written"
fi
# Every file of the release, so that `sha256sum -c SHA256SUMS` checks a whole download.
(cd "$out" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | xargs sha256sum) >"$work/SHA256SUMS"
mv "$work/SHA256SUMS" "$out/SHA256SUMS"

# The whole release is copied next to the earlier one first; only then does the earlier one go.
mkdir -p "$dist" 2>/dev/null || refuse "cannot make the output folder '$dist'"
dist=$(cd "$dist" && pwd)
incoming=$(mktemp -d "$dist/.zefmor-incoming.XXXXXX" 2>/dev/null) || refuse "cannot write to '$dist'"
trap 'rm -rf "$work" "$incoming"' EXIT
cp -R "$out"/. "$incoming"/ 2>/dev/null || refuse "cannot copy the release into '$dist'"
(cd "$dist" && rm -rf Zefmor-*.zip Zefmor-*.msi SHA256SUMS programs.sha256 BUILDINFO LICENSE.txt signatures manifests)
mv "$incoming"/* "$dist"/
cat "$dist/SHA256SUMS"
