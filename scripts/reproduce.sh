#!/bin/sh
# Rebuilds Zefmor.exe for x86 and x64 from a copy of the sources in another folder and prints the
# SHA-256 of each. Without arguments the copy is the checked-out tree, and each result must equal
# the one in build/<arch> byte for byte; with a commit, that commit is built and only printed:
#   scripts/reproduce.sh            compare a second build with build/
#   scripts/reproduce.sh v2.0.1.7   checksums of a given commit, to compare with a release's SHA256SUMS
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
commit=${1:-}
work=$(mktemp -d /tmp/zefmor-reproduce.XXXXXX)
trap 'rm -rf "$work"' EXIT

if [ -n "$commit" ]; then
    git -C "$root" archive --format=tar "$commit" | tar -x -C "$work"
else
    (cd "$root" && git ls-files -z | xargs -0 tar -c --no-recursion) | tar -x -C "$work"
fi
ZEFMOR_TESTS=OFF ZEFMOR_BUILD_DIR="$work/build" "$work/scripts/build.sh" >/dev/null

status=0
for arch in x86 x64; do
    again=$work/build/$arch/Zefmor.exe
    sum=$(sha256sum "$again" | cut -d' ' -f1)
    echo "$sum  $arch/Zefmor.exe"
    [ -n "$commit" ] && continue
    first=$root/build/$arch/Zefmor.exe
    if ! cmp -s "$first" "$again"; then
        offset=$(cmp "$first" "$again" 2>&1 | sed -n 's/.*differ: byte \([0-9]*\).*/\1/p')
        echo "reproduce: $arch/Zefmor.exe differs from the first build at byte offset $((${offset:-1} - 1))" >&2
        status=1
    fi
done
# The packages of the second build must match those of the first, where the first made any.
if [ -z "$commit" ] && [ -f "$root/build/dist/SHA256SUMS" ]; then
    ZEFMOR_BUILD_DIR="$work/build" "$work/scripts/package.sh" "$work/dist" >/dev/null
    if ! cmp -s "$root/build/dist/SHA256SUMS" "$work/dist/SHA256SUMS"; then
        echo "reproduce: the packages differ from the first build's:" >&2
        diff "$root/build/dist/SHA256SUMS" "$work/dist/SHA256SUMS" >&2 || true
        status=1
    fi
fi
[ $status -eq 0 ] && [ -z "$commit" ] && echo "reproduce: both builds and their packages are byte-identical"
exit $status
