#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Rebuilds Zefmor.exe for x86 and x64 from a copy of the sources in another folder and prints the
# SHA-256 of each. Without arguments the copy is the checked-out tree, and each result must equal
# the one in build/<arch> byte for byte, and its packages the first build's; with a commit, that
# commit is built and only printed, unless a downloaded release is named too, which is then checked
# file by file:
#   scripts/reproduce.sh                   compare a second build with build/
#   scripts/reproduce.sh COMMIT            checksums of a commit, for an unsigned programs.sha256
#   scripts/reproduce.sh COMMIT FOLDER     FOLDER holds a release (its packages, SHA256SUMS,
#                                          programs.sha256, when signed signatures/): each file must
#                                          be what the commit builds, its own signatures attached
# A release with a BUILDINFO is rebuilt on the Debian release and with the package versions it
# records: where this host differs, inside a fresh root of that release (scripts/debian-root.sh,
# as root). ZEFMOR_REPRODUCE_IN_ROOT=1 takes that way on any host, ZEFMOR_REPRODUCE_HERE=1 never.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
commit=${1:-}
release=${2:-}
[ -z "$release" ] || release=$(cd "$release" && pwd)
. "$root/scripts/lib/buildinfo.sh"
. "$root/scripts/lib/apt-sources.sh"
. "$root/scripts/lib/recorded.sh"
. "$root/scripts/lib/same-as-release.sh"
buildinfo_toolchain=same
if [ -n "$release" ] && [ -f "$release/BUILDINFO" ]; then
    zefmor_check_recorded "$release/BUILDINFO" || exit 1
    if [ -n "$buildinfo_root" ]; then
        echo "reproduce: rebuilding in a fresh Debian $buildinfo_release ($buildinfo_codename) root, as the release's BUILDINFO records: $buildinfo_root"
        exec "$root/scripts/debian-root.sh" --commit "${commit:-HEAD}" --with "$release" "$buildinfo_codename" \
            env ZEFMOR_REPRODUCE_HERE=1 ZEFMOR_REPRODUCE_INSTALL=1 ZEFMOR_REPRODUCE_NAMES="$commit|$release" \
            scripts/reproduce.sh zefmor-commit /root/with
    fi
fi
work=$(mktemp -d /tmp/zefmor-reproduce.XXXXXX)
trap 'rm -rf "$work"' EXIT

if [ -n "$commit" ]; then
    ZEFMOR_COMMIT=$(git -C "$root" rev-parse --verify -q "$commit^{commit}") ||
        { echo "reproduce: there is no commit '$commit' in $root" >&2; exit 1; }
    git -C "$root" archive --format=tar "$commit" | tar -x -C "$work"
else
    (cd "$root" && git ls-files -z | xargs -0 tar -c --no-recursion) | tar -x -C "$work"
    ZEFMOR_COMMIT=$(zefmor_source_commit "$root")
fi
export ZEFMOR_COMMIT
ZEFMOR_TESTS=OFF ZEFMOR_BUILD_DIR="$work/build" "$work/scripts/lib/build.sh" >/dev/null

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
# The packages of the second build must match those of the first, though made with the clock at
# another date and time: nothing in a release may tell when it was made. The installer's own stopped
# clock runs inside that one, and faketime's warning that it does is dropped. The first build's
# packages are those in build/dist where they hold its programs (scripts/test.sh leaves them there);
# otherwise they are made from it here, and build/dist is left as it was.
if [ -z "$commit" ]; then
    first_dist=$root/build/dist
    if [ ! -f "$first_dist/SHA256SUMS" ] ||
       ! (cd "$root/build" && sha256sum --check --status dist/programs.sha256 2>/dev/null); then
        echo "reproduce: build/dist holds no packages of the first build's programs; packaging them to compare"
        first_dist=$work/first-dist
        ZEFMOR_BUILD_DIR="$root/build" "$root/scripts/package.sh" "$first_dist" >/dev/null ||
            { echo "reproduce: the first build could not be packaged, so its packages cannot be compared" >&2; exit 1; }
    fi
    ZEFMOR_BUILD_DIR="$work/build" faketime '2009-02-13 23:31:30' "$work/scripts/package.sh" "$work/dist" \
        2>"$work/package.log" >/dev/null || packaged=failed
    grep -v '^faketime: You appear to be running faketime within' "$work/package.log" >&2 || true
    [ "${packaged:-}" != failed ] || exit 1
    same_packages "$first_dist" "$work/dist"
fi
[ $status -eq 0 ] && [ -z "$commit" ] && echo "reproduce: both builds and their packages are byte-identical"
[ -n "$release" ] || exit $status

# --- A downloaded release against the rebuild.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$work/build/x64/CMakeCache.txt")
# The release's list must describe its files: every file it names as they are in the folder.
if (cd "$release" && sha256sum -c --strict --quiet SHA256SUMS >/dev/null 2>&1); then
    says "SHA256SUMS: every file it lists in the folder matches it"
else
    differs "the release's files do not match its SHA256SUMS"
fi
# The programs, as they are in the zips; the packages are then made again from them.
for pair in x86:win32 x64:win64; do
    arch=${pair%%:*}
    released=$work/released-$arch.exe
    if ! unzip -p "$release/Zefmor-$version-${pair##*:}.zip" Zefmor.exe >"$released" 2>/dev/null; then
        differs "the release has no Zefmor-$version-${pair##*:}.zip with a Zefmor.exe"
        continue
    fi
    same_as_release "$arch/Zefmor.exe" "$work/build/$arch/Zefmor.exe" "$released"
    if ! grep -qx "$(sha256sum "$released" | cut -d' ' -f1)  $arch/Zefmor.exe" "$release/programs.sha256"; then
        differs "programs.sha256 lists another $arch/Zefmor.exe than the one in its zip"
    fi
    cp "$released" "$work/build/$arch/Zefmor.exe"
done
[ $status -eq 0 ] || exit $status
ZEFMOR_BUILD_DIR="$work/build" "$work/scripts/package.sh" "$work/dist" >/dev/null
for zip in Zefmor-$version-win32.zip Zefmor-$version-win64.zip $([ -f "$release/LICENSE.txt" ] && echo LICENSE.txt); do
    if cmp -s "$work/dist/$zip" "$release/$zip"; then
        says "$zip: made again from those programs, byte-identical"
    else
        differs "$zip differs from the one made again from its programs"
    fi
done
for msi in Zefmor-$version-x86.msi Zefmor-$version-x64.msi; do
    same_as_release "$msi" "$work/dist/$msi" "$release/$msi"
done
if [ $status -eq 0 ]; then
    # Inside a root, the commit and the folder as the user named them on the host.
    names=${ZEFMOR_REPRODUCE_NAMES:-${commit:-the checked-out tree}|$release}
    says "the release in ${names#*|} is what ${names%%|*} builds"
elif [ $buildinfo_toolchain = differs ]; then
    echo "reproduce: the toolchain differs from the one BUILDINFO records (above), so the differences may be the toolchain's rather than the release's" >&2
fi
exit $status
