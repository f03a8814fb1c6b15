#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Runs a command in a minimal root of a Debian release, in a clean clone of these sources: by
# default the README's test command, as a newcomer on a fresh machine of that release runs it.
#   scripts/debian-root.sh [--commit COMMIT] [--with FOLDER] RELEASE [COMMAND [ARGS...]]
# RELEASE is a number or a codename (12, bookworm, 13, trixie). The clone is /root/zefmor inside,
# where COMMAND runs; --commit also gives it COMMIT as the tag zefmor-commit, --with puts a copy of
# FOLDER at /root/with. Needs root and debootstrap. Exits with the command's status, or 1 after
# one line saying why it could not run it.
# The root is made with debootstrap once, under ZEFMOR_ROOT_CACHE (default /var/cache/zefmor), and
# every run works in a copy of it, so each starts from the same fresh root; the packages it
# downloads are kept there for the next run. A root that was left half-made or no longer runs is
# made again. The root reaches Debian as this host's apt does (scripts/lib/apt-sources.sh): from
# the mirror of Debian's archive and of its security archive that the host's sources name, through
# apt's proxy. ZEFMOR_DEBIAN_MIRROR names another mirror or archive, and then no security archive.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
commit=
with=
while [ $# -gt 0 ]; do
    case $1 in
        --commit) commit=$2; shift 2 ;;
        --with) with=$(cd "$2" && pwd); shift 2 ;;
        *) break ;;
    esac
done
refuse() {
    echo "debian-root: $*" >&2
    exit 1
}
[ $# -ge 1 ] || refuse "usage: scripts/debian-root.sh [--commit COMMIT] [--with FOLDER] RELEASE [COMMAND...]"
case $1 in
    12 | bookworm) codename=bookworm number=12 ;;
    13 | trixie) codename=trixie number=13 ;;
    14 | forky) codename=forky number=14 ;;
    11 | bullseye) codename=bullseye number=11 ;;
    *) refuse "'$1' is not a Debian release this script knows (11 to 14, or their codenames)" ;;
esac
shift
[ $# -gt 0 ] || set -- scripts/test.sh
[ "$(id -u)" -eq 0 ] || refuse "run as root: making a root and mounting into it need it"
command -v debootstrap >/dev/null || refuse "debootstrap is not installed (apt-get install debootstrap)"
# shellcheck disable=SC1091
host=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
. "$root/scripts/lib/apt-sources.sh"
zefmor_host_archive "$host"
# Where apt does not tell which file named them, the messages say the host's sources did.
mirror=$apt_mirror from="from ${apt_mirror_from:-the host's apt sources}" security=$apt_security
if [ -n "${ZEFMOR_DEBIAN_MIRROR:-}" ]; then
    mirror=${ZEFMOR_DEBIAN_MIRROR%/} from="named by ZEFMOR_DEBIAN_MIRROR" security=
    echo "debian-root: the root has no security suite, since ZEFMOR_DEBIAN_MIRROR names its archive"
else
    [ -n "$mirror" ] || echo "debian-root: this host's apt sources name no Debian mirror; debootstrap chooses its own"
    [ -n "$security" ] || echo "debian-root: this host's apt sources name no Debian security archive; the root has no security suite"
fi
# debootstrap fetches with wget, which takes the proxy from the environment, as the checks do.
zefmor_host_proxy
[ -z "$apt_http_proxy" ] || export http_proxy="$apt_http_proxy"
[ -z "$apt_https_proxy" ] || export https_proxy="$apt_https_proxy"
reaches() {
    wget -q -O /dev/null --tries=2 --timeout=20 "$1/dists/$2/Release"
}
[ -z "$mirror" ] || reaches "$mirror" "$codename" ||
    refuse "the mirror $mirror $from cannot be reached, or has no Debian $number ($codename)"
if [ -n "$security" ] && ! reaches "$security" "$codename-security"; then
    echo "debian-root: the security archive $security from ${apt_security_from:-the host's apt sources} has no $codename-security; the root has no security suite"
    security=
fi

cache=${ZEFMOR_ROOT_CACHE:-/var/cache/zefmor}
base=$cache/debian-$codename
archives=$cache/apt-$codename
mkdir -p "$archives" || refuse "cannot write to $cache"
# A host of the same release lends the packages it already downloaded.
if [ "$host" = "$codename" ]; then
    cp -lu /var/cache/apt/archives/*.deb "$archives/" 2>/dev/null || true
fi
# A root is trusted only whole: made aside, moved into place once debootstrap finished, and
# still able to run its own shell as the release it claims to be.
runs() {
    [ -f "$1/etc/os-release" ] && grep -qx "VERSION_CODENAME=$codename" "$1/etc/os-release" &&
        chroot "$1" /bin/sh -c 'command -v git && command -v apt-get' >/dev/null 2>&1
}
# One run at a time makes or checks the root.
exec 9>"$cache/debian-$codename.lock"
flock 9
if [ -d "$base" ] && ! runs "$base"; then
    echo "debian-root: the cached Debian $number root in $base is incomplete or broken; making it again"
    rm -rf "$base"
fi
if [ ! -d "$base" ]; then
    echo "debian-root: making a minimal Debian $number ($codename) root from ${mirror:-the mirror debootstrap chooses} (a few minutes, once)"
    rm -rf "$base.new"
    debootstrap --variant=minbase --include=git,ca-certificates --cache-dir="$archives" \
        "$codename" "$base.new" ${mirror:+"$mirror"} \
        >"$cache/debootstrap-$codename.log" 2>&1 ||
        refuse "debootstrap could not make the Debian $number root: $(grep -E '^[EW]:' "$cache/debootstrap-$codename.log" | tail -n 1)"
    runs "$base.new" || refuse "the Debian $number root debootstrap made does not run"
    mv "$base.new" "$base"
fi
flock -u 9
# Where debootstrap chose the mirror, the root names it.
[ -n "$mirror" ] || mirror=$(zefmor_apt_mirror "$codename" "$base")
[ -n "$mirror" ] || refuse "the root in $base names no mirror in its /etc/apt/sources.list"

work=$(mktemp -d "$cache/run-$codename.XXXXXX")
# Whatever was started inside is ended and everything mounted undone before the copy goes; a copy
# that still has something mounted in it is left alone, never removed.
cleanup() {
    for proc in /proc/[0-9]*; do
        [ "$(readlink "$proc/root" 2>/dev/null)" = "$work/root-fs" ] && kill -9 "${proc#/proc/}" 2>/dev/null
    done
    for mounted in $(awk -v w="$work/" 'index($2, w) == 1 { print $2 }' /proc/mounts | sort -r); do
        umount -l "$mounted" 2>/dev/null || true
    done
    if awk -v w="$work/" 'index($2, w) == 1 { found = 1 } END { exit !found }' /proc/mounts; then
        echo "debian-root: something is still mounted under $work; it was left in place" >&2
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM
fs=$work/root-fs
cp -a "$base" "$fs"
cp /etc/resolv.conf "$fs/etc/resolv.conf"
zefmor_root_sources "$mirror" "$codename" "$security" >"$fs/etc/apt/sources.list"
rm -f "$fs"/etc/apt/sources.list.d/*
[ -z "$apt_http_proxy$apt_https_proxy" ] || zefmor_root_proxy >"$fs/etc/apt/apt.conf.d/80zefmor-proxy"
# Wine needs /proc, /sys and /dev; nothing unmounted inside reaches the host's own mounts.
mount -t proc proc "$fs/proc"
for dir in sys dev; do
    mount --rbind "/$dir" "$fs/$dir"
    mount --make-rslave "$fs/$dir"
done
mount --bind "$archives" "$fs/var/cache/apt/archives"

git clone --quiet "$root" "$fs/root/zefmor"
[ -z "$commit" ] || git -C "$root" push --quiet "$fs/root/zefmor" "$commit:refs/tags/zefmor-commit" ||
    refuse "cannot give the clone the commit $commit"
[ -z "$with" ] || cp -a "$with" "$fs/root/with"

echo "debian-root: running '$*' in a fresh Debian $number ($codename) root"
status=0
chroot "$fs" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb DEBCONF_NOWARNINGS=yes \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    ${ZEFMOR_NO_32BIT:+ZEFMOR_NO_32BIT=$ZEFMOR_NO_32BIT} \
    /bin/sh -c 'cd /root/zefmor && exec "$@"' sh "$@" || status=$?
exit $status
