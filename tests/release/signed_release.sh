#!/bin/sh
# Signs a release of the built programs with a throwaway certificate: every signed file verifies
# against it and not with one byte changed, the release is what the sources build, and a wrong
# password or a missing certificate stops packaging with nothing left that looks like a release.
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

# The throwaway publisher.
printf 'throwaway %s\n' "$$" >"$tmp/pass"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$tmp/key.pem" -out "$tmp/cert.pem" -days 2 \
    -subj "/CN=Zefmor test publisher" -addext extendedKeyUsage=codeSigning 2>/dev/null
openssl pkcs12 -export -inkey "$tmp/key.pem" -in "$tmp/cert.pem" -passout "file:$tmp/pass" -out "$tmp/publisher.pfx"
web=$(sed -n 's/^#define AUTHOR_WEB *"\(.*\)"$/\1/p' "$root/about/author.h")

ZEFMOR_SIGN_PFX=$tmp/publisher.pfx ZEFMOR_SIGN_PASS_FILE=$tmp/pass \
    "$root/scripts/package.sh" "$tmp/release" >"$tmp/package.log" 2>&1 || { cat "$tmp/package.log" >&2; exit 1; }
release=$tmp/release
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/x64/CMakeCache.txt")

# The signed files: both installers, the program in each zip and the one in each installer.
mkdir "$tmp/signed"
for pair in x86:win32 x64:win64; do
    arch=${pair%%:*}
    cp "$release/Zefmor-$version-$arch.msi" "$tmp/signed/"
    unzip -p "$release/Zefmor-$version-${pair##*:}.zip" Zefmor.exe >"$tmp/signed/$arch-zip-Zefmor.exe"
    msiextract -C "$tmp/msi-$arch" "$release/Zefmor-$version-$arch.msi" >/dev/null
    find "$tmp/msi-$arch" -name Zefmor.exe -exec cp {} "$tmp/signed/$arch-msi-Zefmor.exe" \;
done
verifies() {
    osslsigncode verify -CAfile "$tmp/cert.pem" -in "$1" >"$tmp/verify.log" 2>&1 &&
        grep -q '^[[:space:]]*Text description: Zefmor$' "$tmp/verify.log" &&
        grep -qF "URL description: $web" "$tmp/verify.log"
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
    expect "$name verifies, signed for Zefmor and $web" verifies "$file"
    expect "$name with one byte changed does not verify" eval '! verifies "$(changed "$file")"'
done

# Anyone can rebuild it: the signatures attached to the rebuilt files give the release's bytes.
commit=$(git -C "$root" stash create)
expect "the signed release is what the sources build" \
    "$root/scripts/reproduce.sh" "${commit:-HEAD}" "$release"

# A wrong password and a missing certificate stop packaging, in a folder that held a release.
printf 'not it\n' >"$tmp/wrong"
refused() {
    cp -r "$release" "$tmp/refused"
    ! ZEFMOR_SIGN_PFX=$1 ZEFMOR_SIGN_PASS_FILE=$2 "$root/scripts/package.sh" "$tmp/refused" \
        >>"$tmp/package.log" 2>"$tmp/refused.log" &&
        [ "$(wc -l <"$tmp/refused.log")" -eq 1 ] && grep -q "$3" "$tmp/refused.log" &&
        [ -z "$(ls -A "$tmp/refused")" ] && rm -r "$tmp/refused"
}
expect "a wrong password stops packaging, saying so, with nothing written" \
    refused "$tmp/publisher.pfx" "$tmp/wrong" "wrong password"
expect "a missing certificate stops packaging, saying so, with nothing written" \
    refused "$tmp/absent.pfx" "$tmp/pass" "cannot read the certificate file"
expect "the password is never printed" eval '! grep -qF "$(cat "$tmp/pass")" "$tmp/package.log" "$tmp/refused.log"'
exit $failed
