#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# The rebuild in a root, with stand-ins for apt and debootstrap that record what they are asked and
# reach no network: the recorded versions the archive has are pinned, the rest taken at the
# archive's, backports added where a recorded version is one; a cached root that no longer runs
# is made again; and a root is given the host's security archive and apt proxy. Seconds, and no
# root: scripts/debian-root.sh is told it has it, since its stand-ins make and mount nothing.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d /tmp/zefmor-roots.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
. "$root/scripts/lib/buildinfo.sh"
. "$root/scripts/lib/recorded.sh"
. "$root/scripts/lib/apt-sources.sh"
failed=0
# expect WHAT COMMAND...: the command succeeds.
expect() {
    what=$1
    shift
    if "$@"; then echo "roots: $what"; else echo "roots: FAILED: $what" >&2; failed=1; fi
}
# The stand-ins: apt-get records its arguments (the real one tells which sources apt reads),
# apt-cache knows the versions listed in $tmp/archive, debootstrap fails at once as on an
# unreachable archive, the mirror answers, and id says root.
mkdir "$tmp/bin"
printf '#!/bin/sh\n[ "$1" != indextargets ] || exec %s "$@"\necho "$*" >>"%s/apt-get.log"\n' \
    "$(command -v apt-get)" "$tmp" >"$tmp/bin/apt-get"
printf '#!/bin/sh\n[ "$1" = show ] && grep -qxF "$2" "%s/archive"\n' "$tmp" >"$tmp/bin/apt-cache"
printf '#!/bin/sh\necho "E: Failed getting release file (stand-in)"\nexit 1\n' >"$tmp/bin/debootstrap"
printf '#!/bin/sh\nexit 0\n' >"$tmp/bin/wget"
printf '#!/bin/sh\n[ "$*" != -u ] || exec echo 0\nexec %s "$@"\n' "$(command -v id)" >"$tmp/bin/id"
chmod +x "$tmp"/bin/*

# A release recording a compiler and a signing tool the archive still has, the second backported,
# and a CMake it no longer has, installed in a root whose sources.list debian-root.sh wrote.
buildinfo_codename=bookworm
buildinfo_packages="g++-mingw-w64-x86-64-posix 12.2.0-14+25.2
cmake 3.25.1-1
osslsigncode 2.9-1~bpo12+1"
printf 'g++-mingw-w64-x86-64-posix=12.2.0-14+25.2\nosslsigncode=2.9-1~bpo12+1\ncmake=3.25.1-2\n' >"$tmp/archive"
mkdir -p "$tmp/etc/sources.list.d" "$tmp/etc/apt.conf.d"
echo "Dir::Etc \"$tmp/etc\";" >"$tmp/apt.conf"
zefmor_root_sources http://127.0.0.1:9/debian bookworm http://127.0.0.1:9/debian-security >"$tmp/etc/sources.list"
(PATH=$tmp/bin:$PATH APT_CONFIG=$tmp/apt.conf && export PATH APT_CONFIG && zefmor_install_recorded) ||
    { echo "roots: FAILED: zefmor_install_recorded stopped with the stand-ins" >&2; failed=1; }
# asked NAME: how apt-get was asked to install NAME, as NAME or NAME=VERSION, one line each time.
asked() {
    grep '^install ' "$tmp/apt-get.log" | tr ' ' '\n' | grep -E "^$(echo "$1" | sed 's/[.+]/\\&/g')(=|\$)"
}
pinned() {
    [ "$(asked g++-mingw-w64-x86-64-posix)" = g++-mingw-w64-x86-64-posix=12.2.0-14+25.2 ] &&
        [ "$(asked osslsigncode)" = osslsigncode=2.9-1~bpo12+1 ] && [ "$(asked cmake)" = cmake ]
}
expect "the recorded versions the archive has are asked for as name=version, the one it lacks by name" pinned
once() {
    for name in unzip $zefmor_signing_tool $zefmor_toolchain; do
        [ "$(asked "$name" | wc -l)" -eq 1 ] || { echo "roots: apt-get was asked for $name $(asked "$name" | wc -l) times" >&2; return 1; }
    done
}
expect "apt-get is asked once for each package a rebuild needs" once
expect "a backported version brings the release's backports, on the root's mirror" \
    [ "$(cat "$tmp/etc/sources.list.d/backports.list")" = "deb http://127.0.0.1:9/debian bookworm-backports main" ]

# A cached root that no longer runs its shell is removed and made again, and debootstrap's failure
# then stops the script in one line.
mkdir -p "$tmp/cache/debian-trixie/etc"
echo VERSION_CODENAME=trixie >"$tmp/cache/debian-trixie/etc/os-release"
remade() {
    ! PATH=$tmp/bin:$PATH ZEFMOR_ROOT_CACHE=$tmp/cache ZEFMOR_DEBIAN_MIRROR=http://127.0.0.1:9/debian \
        timeout 60 "$root/scripts/debian-root.sh" 13 true >"$tmp/root.log" 2>&1 &&
        grep -qxF "debian-root: the cached Debian 13 root in $tmp/cache/debian-trixie is incomplete or broken; making it again" "$tmp/root.log" &&
        [ ! -e "$tmp/cache/debian-trixie" ] &&
        [ "$(tail -n 1 "$tmp/root.log")" = "debian-root: debootstrap could not make the Debian 13 root: E: Failed getting release file (stand-in)" ] ||
        { cat "$tmp/root.log" >&2; return 1; }
}
expect "a cached root that does not run is said to be broken, removed and made again" remade

# A root reaches Debian as the host's apt does: its security suite on the host's security archive,
# and the host's apt proxy in its own apt configuration. Stand-ins here let the cached root run and
# mount nothing; the command run in it keeps a copy of the root's /etc/apt.
mkdir "$tmp/in-root"
printf '#!/bin/sh\n[ "$2" != /usr/bin/env ] || cp -R "$1/etc/apt" "%s/given"\n' "$tmp" >"$tmp/in-root/chroot"
for tool in mount umount git; do printf '#!/bin/sh\nexit 0\n' >"$tmp/in-root/$tool"; done
chmod +x "$tmp"/in-root/*
mkdir -p "$tmp/cache/debian-trixie/etc/apt/apt.conf.d" "$tmp/cache/debian-trixie/etc/apt/sources.list.d" "$tmp/etc/apt.conf.d"
echo VERSION_CODENAME=trixie >"$tmp/cache/debian-trixie/etc/os-release"
echo 'Acquire::http::Proxy "http://127.0.0.1:3128";' >"$tmp/etc/apt.conf.d/30proxy"
given() {
    (unset ZEFMOR_DEBIAN_MIRROR && PATH=$tmp/in-root:$tmp/bin:$PATH APT_CONFIG=$tmp/apt.conf ZEFMOR_ROOT_CACHE=$tmp/cache &&
        export PATH APT_CONFIG ZEFMOR_ROOT_CACHE && timeout 60 "$root/scripts/debian-root.sh" 13 true >"$tmp/root.log" 2>&1) &&
        [ "$(cat "$tmp/given/sources.list")" = "deb http://127.0.0.1:9/debian trixie main
deb http://127.0.0.1:9/debian trixie-updates main
deb http://127.0.0.1:9/debian-security trixie-security main" ] &&
        grep -qxF 'Acquire::http::Proxy "http://127.0.0.1:3128";' "$tmp/given/apt.conf.d/80zefmor-proxy" ||
        { cat "$tmp/root.log" "$tmp/given/sources.list" >&2; return 1; }
}
expect "a root's security suite is on the host's security archive, and its apt goes through the host's proxy" given
exit $failed
