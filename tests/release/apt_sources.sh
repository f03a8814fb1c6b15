#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# The roots reach Debian as the host's apt does: the mirror of Debian's archive and of its security
# archive chosen from what apt itself says it reads, and apt's proxy, here from sample apt
# configurations (APT_CONFIG) that name only unreachable addresses. No network.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d /tmp/zefmor-apt-sources.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
. "$root/scripts/lib/apt-sources.sh"
failed=0
# host NAME: an empty apt configuration of its own, in $tmp/NAME.
host() {
    mkdir -p "$tmp/$1/sources.list.d" "$tmp/$1/apt.conf.d"
    echo "Dir::Etc \"$tmp/$1\";" >"$tmp/$1.conf"
}
# reads NAME CODENAME EXPECTED: what the host NAME of release CODENAME names, as
# "MIRROR FROM|SECURITY FROM", with files relative to its configuration, and "none" for none.
reads() {
    got=$(APT_CONFIG=$tmp/$1.conf && export APT_CONFIG && zefmor_host_archive "$2" &&
        echo "${apt_mirror:-none}${apt_mirror_from:+ $apt_mirror_from}|${apt_security:-none}${apt_security_from:+ $apt_security_from}" | sed "s|$tmp/$1/||g")
    if [ "$got" = "$3" ]; then
        echo "apt-sources: $1: $got"
    else
        echo "apt-sources: FAILED: $1: read '$got', not '$3'" >&2
        failed=1
    fi
}

# deb822, the release and its updates in one stanza and the security archive in another. What
# comes first is what apt does not read (a disabled stanza, files apt skips), which a reader of
# the files themselves would take, and an older release, which apt reads before the host's own.
host deb822
cat >"$tmp/deb822/sources.list.d/debian.sources" <<EOF
Types: deb
URIs: http://127.0.0.1:5/debian
Suites: bookworm
Enabled: no

Types: deb
# the release, and its updates
URIs: http://127.0.0.1:9/debian
Suites: bookworm-updates
# bookworm-backports
 bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
# its security updates
URIs: http://127.0.0.1:9/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
echo "deb http://127.0.0.1:8/debian bullseye main" >"$tmp/deb822/sources.list.d/0-older.list"
echo "deb http://127.0.0.1:7/debian bookworm main" >"$tmp/deb822/sources.list.d/00.list.disabled-by-farm"
printf 'Types: deb\nURIs: http://127.0.0.1:7/debian\nSuites: bookworm-security\n' \
    >"$tmp/deb822/sources.list.d/00.sources.disabled-by-farm"
reads deb822 bookworm \
    "http://127.0.0.1:9/debian sources.list.d/debian.sources|http://127.0.0.1:9/debian-security sources.list.d/debian.sources"

# The one-line form, sources before the binaries, and the security archive in another file; the
# mirror is given without the slash that ends apt's URI.
host one-line
cat >"$tmp/one-line/sources.list" <<EOF
# Debian 13
deb-src http://127.0.0.1:6/debian trixie main
deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://127.0.0.1:9/debian/ trixie main # the release
EOF
echo "deb [ arch=amd64 signed-by=/usr/share/keyrings/debian-archive-keyring.gpg ] http://127.0.0.1:9/debian-security trixie-security main" \
    >"$tmp/one-line/sources.list.d/security.list"
reads one-line trixie "http://127.0.0.1:9/debian sources.list|http://127.0.0.1:9/debian-security sources.list.d/security.list"

# One suite on two mirrors, a local one first and Debian's own after it: the first that apt reads
# is taken, for the host's archive and for a release's mirror (zefmor_apt_mirror).
host twice
cat >"$tmp/twice/sources.list" <<EOF
deb http://127.0.0.1:4/debian trixie main
deb http://127.0.0.1:4/debian-security trixie-security main
EOF
cat >"$tmp/twice/sources.list.d/debian.sources" <<EOF
Types: deb
URIs: http://127.0.0.1:9/debian
Suites: trixie
Components: main

Types: deb
URIs: http://127.0.0.1:9/debian-security
Suites: trixie-security
Components: main
EOF
reads twice trixie "http://127.0.0.1:4/debian sources.list|http://127.0.0.1:4/debian-security sources.list"
mirror=$(APT_CONFIG=$tmp/twice.conf && export APT_CONFIG && zefmor_apt_mirror trixie)
if [ "$mirror" = http://127.0.0.1:4/debian ]; then
    echo "apt-sources: twice: trixie's mirror $mirror"
else
    echo "apt-sources: FAILED: twice: trixie's mirror read as '$mirror', not 'http://127.0.0.1:4/debian'" >&2
    failed=1
fi

# A host of another distribution, whose own release has a name Debian's releases do not.
host other
printf 'Types: deb\nURIs: http://127.0.0.1:9/other\nSuites: jammy jammy-security\nComponents: main\n' \
    >"$tmp/other/sources.list.d/other.sources"
reads other jammy "none|none"

# apt's proxy, set in a file of its configuration, is taken before the environment's; DIRECT there
# means none, whatever the environment says.
# proxy NAME SETTING EXPECTED: what a root's apt gets from apt's SETTING and an environment proxy.
proxy() {
    host "$1"
    echo "$2" >"$tmp/$1/apt.conf.d/30proxy"
    got=$(APT_CONFIG=$tmp/$1.conf http_proxy=http://127.0.0.1:1 https_proxy=http://127.0.0.1:2 &&
        export APT_CONFIG http_proxy https_proxy && zefmor_host_proxy && zefmor_root_proxy | tr '\n' ' ')
    if [ "$got" = "$3" ]; then
        echo "apt-sources: $1: $got"
    else
        echo "apt-sources: FAILED: $1: the root's apt gets '$got', not '$3'" >&2
        failed=1
    fi
}
proxy proxy 'Acquire::http::Proxy "http://127.0.0.1:3128";' \
    'Acquire::http::Proxy "http://127.0.0.1:3128"; Acquire::https::Proxy "http://127.0.0.1:2"; '
proxy direct 'Acquire::http::Proxy "DIRECT";' 'Acquire::https::Proxy "http://127.0.0.1:2"; '
exit $failed
