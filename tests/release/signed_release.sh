#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Signs a release of the built programs with a throwaway certificate: every signed file verifies
# against it with a SHA-256 digest and not with one byte changed, SHA256SUMS lists exactly the
# release's files, BUILDINFO names this host's toolchain, the release is what the sources build
# and a doctored one is not, one recorded with another compiler is named so, and a wrong
# password or a missing certificate stops packaging with the earlier release left as it was.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d /tmp/zefmor-signed.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
failed=0
# expect WHAT COMMAND...: the command succeeds.
expect() {
    what=$1
    shift
    if "$@"; then echo "signing: $what"; else echo "signing: FAILED: $what" >&2; failed=1; fi
}
# stop WHY: the test cannot go on.
stop() {
    echo "signing: FAILED: $*" >&2
    exit 1
}

# The throwaway publisher.
printf 'throwaway %s\n' "$$" >"$tmp/pass"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$tmp/key.pem" -out "$tmp/cert.pem" -days 2 \
    -subj "/CN=Zefmor test publisher" -addext extendedKeyUsage=codeSigning 2>"$tmp/openssl.log" &&
    openssl pkcs12 -export -inkey "$tmp/key.pem" -in "$tmp/cert.pem" -passout "file:$tmp/pass" \
        -out "$tmp/publisher.pfx" 2>>"$tmp/openssl.log" ||
    stop "openssl could not make the throwaway certificate: $(head -n 1 "$tmp/openssl.log")"
web=$(sed -n 's/^#define AUTHOR_WEB *"\(.*\)"$/\1/p' "$root/about/author.h")

release=$tmp/release
url=https://downloads.example/zefmor/
ZEFMOR_SIGN_PFX=$tmp/publisher.pfx ZEFMOR_SIGN_PASS_FILE=$tmp/pass ZEFMOR_RELEASE_URL=$url \
    "$root/scripts/package.sh" "$release" >"$tmp/package.log" 2>&1 ||
    stop "packaging the signed release failed: $(tail -n 1 "$tmp/package.log")"
"$root/scripts/package.sh" "$tmp/unsigned" >>"$tmp/package.log" 2>&1 ||
    stop "packaging the unsigned release failed: $(tail -n 1 "$tmp/package.log")"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/x64/CMakeCache.txt")

# What a user checks first: SHA256SUMS names each file of the downloaded folder, and all are OK.
lists_the_folder() {
    (cd "$1" && sha256sum -c --strict --quiet SHA256SUMS >/dev/null &&
        [ "$(find . -type f ! -name SHA256SUMS | sed 's|^\./||' | sort)" = "$(sed 's/^[0-9a-f]*  //' SHA256SUMS | sort)" ])
}
expect "SHA256SUMS of the signed release lists exactly its files, and sha256sum -c passes" lists_the_folder "$release"
expect "SHA256SUMS of the unsigned release lists exactly its files, and sha256sum -c passes" lists_the_folder "$tmp/unsigned"

# BUILDINFO, listed in SHA256SUMS, gives this host's version of each package it names, among them
# those of the compilers, linkers, headers and resource compilers the build used and the signer's.
. "$root/scripts/lib/buildinfo.sh"
. "$root/scripts/lib/recorded.sh"
records_the_toolchain() {
    grep -q '^[0-9a-f]*  BUILDINFO$' "$1/SHA256SUMS" && zefmor_read_buildinfo "$1/BUILDINFO" &&
        [ -z "$(zefmor_host_differences)" ] || return 1
    for toolchain in "$root"/cmake/toolchain-*.cmake; do
        cxx=$(sed -n 's/^set(CMAKE_CXX_COMPILER \(.*\))$/\1/p' "$toolchain")
        rc=$(sed -n 's/^set(CMAKE_RC_COMPILER \(.*\))$/\1/p' "$toolchain")
        for used in "$(command -v "$cxx")" "$("$cxx" -print-prog-name=cc1plus)" "$("$cxx" -print-prog-name=ld)" \
                    "$("$cxx" -print-file-name=libkernel32.a)" "$(command -v "$rc")" "$(command -v osslsigncode)"; do
            owner=$(dpkg-query -S "$(readlink -f "$used")" | sed -n '1s/[:,].*//p')
            echo "$buildinfo_packages" | grep -q "^$owner " || { echo "signing: BUILDINFO lacks $owner" >&2; return 1; }
        done
    done
}
expect "BUILDINFO of the signed release names this host's toolchain and signing tool, and SHA256SUMS lists it" \
    records_the_toolchain "$release"

# Its winget and Scoop manifests describe exactly these files and installers.
expect "the manifests give each signed file's hash, the installers' own codes and the build's version" \
    /usr/bin/python3 "$root/tests/release/check_manifests.py" "$release" "$version" "$url"

# The signed files: both installers, the program in each zip and the one in each installer.
mkdir "$tmp/signed"
for pair in x86:win32 x64:win64; do
    arch=${pair%%:*}
    cp "$release/Zefmor-$version-$arch.msi" "$tmp/signed/"
    unzip -p "$release/Zefmor-$version-${pair##*:}.zip" Zefmor.exe >"$tmp/signed/$arch-zip-Zefmor.exe" ||
        stop "no Zefmor.exe in the signed release's ${pair##*:} zip"
    msiextract -C "$tmp/msi-$arch" "$release/Zefmor-$version-$arch.msi" >/dev/null ||
        stop "msiextract could not unpack the signed $arch installer"
    find "$tmp/msi-$arch" -name Zefmor.exe -exec cp {} "$tmp/signed/$arch-msi-Zefmor.exe" \;
done
# Verifies, names Zefmor and its web address, and every digest in the signature is SHA-256.
verifies() {
    osslsigncode verify -CAfile "$tmp/cert.pem" -in "$1" >"$tmp/verify.log" 2>&1 &&
        grep -q '^[[:space:]]*Text description: Zefmor$' "$tmp/verify.log" &&
        grep -qF "URL description: $web" "$tmp/verify.log" &&
        grep -q '^Message digest algorithm *: SHA256$' "$tmp/verify.log" &&
        ! grep '^Message digest algorithm' "$tmp/verify.log" | grep -qv ': SHA256$'
}
# changed FILE: a copy with one byte inverted inside what the signature covers: the middle of a
# program, the program's cabinet in an installer.
changed() {
    case $1 in
        *.msi) at=$(($(grep -obUa MSCF "$1" | head -n 1 | cut -d: -f1) + 200)) ;;
        *) at=$(($(wc -c <"$1") / 2)) ;;
    esac
    cp "$1" "$1.changed"
    byte=$(od -An -tu1 -j "$at" -N 1 "$1" | tr -d ' ')
    printf "\\$(printf %o $((byte ^ 255)))" | dd of="$1.changed" bs=1 seek="$at" conv=notrunc 2>/dev/null
    echo "$1.changed"
}
expect "six signed files to check" [ "$(ls "$tmp/signed" | wc -l)" -eq 6 ]
for file in "$tmp"/signed/*; do
    name=$(basename "$file")
    expect "$name verifies with SHA-256, signed for Zefmor and $web" verifies "$file"
    expect "$name with one byte changed does not verify" eval '! verifies "$(changed "$file")"'
done

# Anyone can rebuild it: the signatures attached to the rebuilt files give the release's bytes.
# A file whose time changed but not its content makes `git stash create` fail; the index is
# refreshed first, and a clean tree is the commit checked out.
git -C "$root" update-index -q --refresh || true
commit=$(git -C "$root" stash create 2>/dev/null || true)
expect "the signed release is what the sources build" \
    "$root/scripts/reproduce.sh" "${commit:-HEAD}" "$release"
# A doctored release, its checksums rewritten to match, fails and names the file that differs.
resum() {
    (cd "$1" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort | xargs sha256sum >"$tmp/sums" &&
        mv "$tmp/sums" SHA256SUMS)
}
doctored() {
    ! "$root/scripts/reproduce.sh" "${commit:-HEAD}" "$1" >/dev/null 2>"$tmp/reproduce.log" &&
        grep -q "FAILED: $2 differs" "$tmp/reproduce.log"
}
cp -r "$release" "$tmp/zip-doctored"
unzip -q "$release/Zefmor-$version-win64.zip" Zefmor.exe -d "$tmp/program" || stop "no Zefmor.exe in the win64 zip"
mv "$(changed "$tmp/program/Zefmor.exe")" "$tmp/program/Zefmor.exe"
(cd "$tmp/program" && TZ=UTC touch -t 202601010000 Zefmor.exe &&
    zip -q -X -D "$tmp/zip-doctored/Zefmor-$version-win64.zip" Zefmor.exe) || stop "zip could not doctor the win64 zip"
sed -i "s/^[0-9a-f]*  x64\/Zefmor.exe$/$(sha256sum "$tmp/program/Zefmor.exe" | cut -d' ' -f1)  x64\/Zefmor.exe/" \
    "$tmp/zip-doctored/programs.sha256"
resum "$tmp/zip-doctored"
expect "a release whose x64 program differs by one byte is refused, naming it" doctored "$tmp/zip-doctored" x64/Zefmor.exe
cp -r "$release" "$tmp/msi-doctored"
mv "$(changed "$tmp/msi-doctored/Zefmor-$version-x86.msi")" "$tmp/msi-doctored/Zefmor-$version-x86.msi"
resum "$tmp/msi-doctored"
expect "a release whose x86 installer's cabinet differs by one byte is refused, naming it" \
    doctored "$tmp/msi-doctored" "Zefmor-$version-x86.msi"

# A release whose BUILDINFO records another x64 compiler is rebuilt in a root of its Debian
# release, after naming the package with both versions; an unreachable mirror stops that in one
# line, and the release folder stays as it was.
cp -r "$release" "$tmp/toolchain-doctored"
sed -i 's/^\( g++-mingw-w64-x86-64-posix (= [^)]*\))/\1+other)/' "$tmp/toolchain-doctored/BUILDINFO"
resum "$tmp/toolchain-doctored"
cp -a "$tmp/toolchain-doctored" "$tmp/toolchain-before"
names_the_compiler() {
    compiler="g++-mingw-w64-x86-64-posix $(zefmor_installed_version g++-mingw-w64-x86-64-posix)"
    ! ZEFMOR_DEBIAN_MIRROR=http://127.0.0.1:9/debian "$root/scripts/reproduce.sh" "${commit:-HEAD}" \
        "$tmp/toolchain-doctored" >"$tmp/toolchain.log" 2>&1 &&
        grep -qxF "reproduce: this host has $compiler (the release's: ${compiler#* }+other)" "$tmp/toolchain.log" &&
        tail -n 1 "$tmp/toolchain.log" | grep -q '^debian-root: ' &&
        diff -r "$tmp/toolchain-before" "$tmp/toolchain-doctored"
}
expect "a release built with another x64 compiler is named so, with both versions, and its folder stays" \
    names_the_compiler

# A wrong password, a missing certificate and a download address anyone on the way could change
# stop packaging into a folder that held a release, which stays as it was, byte for byte.
printf 'not it\n' >"$tmp/wrong"
refused() {
    cp -a "$release" "$tmp/refused"
    ! ZEFMOR_SIGN_PFX=$1 ZEFMOR_SIGN_PASS_FILE=$2 ZEFMOR_RELEASE_URL=${4:-$url} "$root/scripts/package.sh" "$tmp/refused" \
        >>"$tmp/package.log" 2>"$tmp/refused.log" &&
        [ "$(wc -l <"$tmp/refused.log")" -eq 1 ] && grep -q "$3" "$tmp/refused.log" &&
        diff -r "$release" "$tmp/refused" && rm -r "$tmp/refused"
}
expect "a wrong password stops packaging, saying so, and the earlier release stays" \
    refused "$tmp/publisher.pfx" "$tmp/wrong" "wrong password"
expect "a missing certificate stops packaging, saying so, and the earlier release stays" \
    refused "$tmp/absent.pfx" "$tmp/pass" "cannot read the certificate file"
expect "a release address without https:// stops packaging, saying so, and the earlier release stays" \
    refused "$tmp/publisher.pfx" "$tmp/pass" "must be an https:// address" http://downloads.example/zefmor/
expect "the password is never printed" eval '! grep -qF "$(cat "$tmp/pass")" "$tmp/package.log" "$tmp/refused.log"'
exit $failed
