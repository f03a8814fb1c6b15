#!/bin/sh
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
# made again. ZEFMOR_DEBIAN_MIRROR names another mirror or archive (default deb.debian.org).
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
mirror=${ZEFMOR_DEBIAN_MIRROR:-http://deb.debian.org/debian}
mirror=${mirror%/}
# debootstrap itself fetches with wget.
wget -q -O /dev/null --tries=2 --timeout=20 "$mirror/dists/$codename/Release" ||
    refuse "the mirror $mirror cannot be reached, or has no Debian $number ($codename)"

cache=${ZEFMOR_ROOT_CACHE:-/var/cache/zefmor}
base=$cache/debian-$codename
archives=$cache/apt-$codename
mkdir -p "$archives" || refuse "cannot write to $cache"
# A host of the same release lends the packages it already downloaded.
# shellcheck disable=SC1091
if [ "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")" = "$codename" ]; then
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
    echo "debian-root: making a minimal Debian $number ($codename) root from $mirror (a few minutes, once)"
    rm -rf "$base.new"
    debootstrap --variant=minbase --include=git,ca-certificates --cache-dir="$archives" \
        "$codename" "$base.new" "$mirror" \
        >"$cache/debootstrap-$codename.log" 2>&1 ||
        refuse "debootstrap could not make the Debian $number root: $(grep -E '^[EW]:' "$cache/debootstrap-$codename.log" | tail -n 1)"
    runs "$base.new" || refuse "the Debian $number root debootstrap made does not run"
    mv "$base.new" "$base"
fi
flock -u 9

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
{
    echo "deb $mirror $codename main"
    echo "deb $mirror $codename-updates main"
    [ -z "${ZEFMOR_DEBIAN_MIRROR:-}" ] && echo "deb http://deb.debian.org/debian-security $codename-security main"
} >"$fs/etc/apt/sources.list"
rm -f "$fs"/etc/apt/sources.list.d/*
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
