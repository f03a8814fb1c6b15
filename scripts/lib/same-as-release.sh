# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Sourced by scripts/reproduce.sh: its lines about a downloaded release, and the comparison of one
# of the release's files with the rebuilt one. Uses the caller's $release, $work and $status.
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
