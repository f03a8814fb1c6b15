# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Sourced by scripts/reproduce.sh: its lines about a downloaded release, the comparison of one of
# the release's files with the rebuilt one, and that of the two builds' packages. Uses the caller's
# $release, $work and $status.
says() { echo "reproduce: $*"; }
differs() { echo "reproduce: FAILED: $*" >&2; status=1; }
# same_as_release NAME REBUILT RELEASED: the released file is the rebuilt one, or the rebuilt one
# with the release's detached signature signatures/<NAME with / as ->.sig attached. Where attaching
# does not give the signed bytes back, the signature is removed from the release's file and the
# rest compared. Attaching also checks the signer's certificate; whom to trust is for the reader to
# check (the README says how), so only the bytes decide here.
same_as_release() {
    sig=$release/signatures/$(echo "$1" | tr / -).sig
    if [ ! -f "$sig" ]; then
        if cmp -s "$2" "$3"; then
            says "$1: unsigned, byte-identical to the rebuild"
        else
            differs "$1 is unsigned and differs from the rebuild"
        fi
        return 0
    fi
    rm -f "$work/attached" "$work/stripped"
    osslsigncode attach-signature -sigin "$sig" -in "$2" -out "$work/attached" >"$work/attach.log" 2>&1 || true
    if [ -f "$work/attached" ] && cmp -s "$work/attached" "$3"; then
        says "$1: the rebuild with the release's signature attached is byte-identical to it"
    elif osslsigncode remove-signature -in "$3" -out "$work/stripped" >/dev/null 2>&1 &&
         cmp -s "$work/stripped" "$2"; then
        says "$1: attaching did not give its signed bytes; with the signature removed it is" \
             "byte-identical to the rebuild"
    else
        differs "$1 differs from the rebuild, with the release's signature attached and with it removed"
    fi
}
# same_packages FIRST SECOND: two folders of packages, the second made at another date, are the
# same. BUILDINFO and SHA256SUMS are compared, and a difference named by its lines (in SHA256SUMS,
# the files whose sums differ). Where the lists agree, so must each file they list: a list that no
# longer describes its folder would hide a changed zip.
same_packages() {
    for made in BUILDINFO SHA256SUMS; do
        cmp -s "$1/$made" "$2/$made" && continue
        echo "reproduce: $made differs from the first build's when packaged at another date, in: $(diff \
            "$1/$made" "$2/$made" | sed -n 's/^[<>] \([0-9a-f]\{64\}  \)\{0,1\}//p' | sort -u | paste -sd '|')" >&2
        status=1
    done
    cmp -s "$1/SHA256SUMS" "$2/SHA256SUMS" || return 0
    for file in $(sed 's/^[0-9a-f]*  //' "$1/SHA256SUMS"); do
        cmp -s "$1/$file" "$2/$file" ||
            { echo "reproduce: $file differs from the first build's, though both SHA256SUMS agree" >&2; status=1; }
    done
}
