# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# How this host reaches Debian, read from its own apt configuration: the mirror of Debian's main
# archive and of its security archive that its sources name, and the proxy its apt goes through.
# scripts/debian-root.sh sources this file, to make its roots reach Debian the same way. apt itself
# reads its sources, so APT_CONFIG names another configuration here as it does for apt.
#   zefmor_apt_entries [ROOT]           one line per archive and suite apt reads, in its order,
#                                       "TYPE URI SUITE FILE", as apt-get indextargets tells them;
#                                       of the sources in ROOT's /etc/apt where given
#   zefmor_apt_mirror SUITE [ROOT]      the URI of the first deb entry of SUITE, without its last /
#   zefmor_host_archive CODENAME        sets apt_mirror and apt_security, each with apt_*_from, the
#                                       file that names it (empty where apt does not tell), or empty
#                                       where the host names none; an entry of CODENAME (the host's
#                                       own) is taken before others
#   zefmor_host_proxy                   sets apt_http_proxy and apt_https_proxy: apt's own setting,
#                                       else http_proxy and https_proxy in the environment
#   zefmor_root_sources MIRROR CODENAME [SECURITY]
#                                       a root's sources.list, in the one-line form
#   zefmor_root_proxy                   the apt configuration giving a root the host's proxy

# The suites of Debian's releases; a source with none of them is not Debian's archive.
zefmor_debian_suites="buster bullseye bookworm trixie forky duke sid stable oldstable oldoldstable testing unstable"

zefmor_apt_entries() {
    # apt's own answer, which needs no downloaded lists: a line for each architecture of an
    # entry, in the order apt reads them, so repeats are dropped. SOURCESENTRY is FILE:N, N the
    # line or stanza of FILE; an apt without that field prints it as written, and then no FILE.
    # shellcheck disable=SC2016  # the $(...) are apt's fields, not the shell's
    apt-get indextargets --no-release-info --format '$(TARGET_OF) $(REPO_URI) $(RELEASE) $(SOURCESENTRY)' \
        ${1:+-o "Dir::Etc::sourcelist=$1/etc/apt/sources.list" -o "Dir::Etc::sourceparts=$1/etc/apt/sources.list.d"} \
        'Identifier: Packages' | awk '{ sub(/:[0-9]+$/, ""); sub(/ [$][(]SOURCESENTRY[)]$/, "") } !seen[$0]++'
}

zefmor_apt_mirror() {
    zefmor_apt_entries "${2:-}" | awk -v suite="$1" '$1 == "deb" && $3 == suite { sub(/\/$/, "", $2); print $2; exit }'
}

# as_first SUITES: the first deb entry, in the order apt reads them, of any of SUITES.
as_first() {
    echo "$as_entries" | awk -v suites="$1" 'BEGIN { split(suites, s, " "); for (i in s) want[s[i]] = 1 }
        $1 == "deb" && ($3 in want) { print; found = 1; exit } END { exit !found }'
}

# shellcheck disable=SC2034  # the caller reads what it sets
zefmor_host_archive() {
    as_entries=$(zefmor_apt_entries) || true
    as_own=
    as_security=
    for as_suite in $zefmor_debian_suites; do
        as_security="$as_security $as_suite-security"
        [ "$as_suite" != "${1:-}" ] || as_own=$1
    done
    # The host's own release first, where it is one of Debian's.
    as_main=$(as_first "$as_own" || as_first "$zefmor_debian_suites") || true
    as_update=$(as_first "${as_own:+$as_own-security}" || as_first "$as_security") || true
    apt_mirror=$(echo "$as_main" | cut -d' ' -f2)
    apt_mirror=${apt_mirror%/}
    apt_mirror_from=$(echo "$as_main" | cut -d' ' -f4-)
    apt_security=$(echo "$as_update" | cut -d' ' -f2)
    apt_security=${apt_security%/}
    apt_security_from=$(echo "$as_update" | cut -d' ' -f4-)
}

# DIRECT in apt's setting means no proxy, whatever the environment says.
zefmor_host_proxy() {
    apt_http_proxy=${http_proxy:-}
    apt_https_proxy=${https_proxy:-}
    as_http=
    as_https=
    eval "$(apt-config shell as_http Acquire::http::Proxy as_https Acquire::https::Proxy 2>/dev/null)"
    [ -z "$as_http" ] || apt_http_proxy=$as_http
    [ -z "$as_https" ] || apt_https_proxy=$as_https
    [ "$apt_http_proxy" != DIRECT ] || apt_http_proxy=
    [ "$apt_https_proxy" != DIRECT ] || apt_https_proxy=
}

zefmor_root_sources() {
    echo "deb $1 $2 main"
    echo "deb $1 $2-updates main"
    [ -z "${3:-}" ] || echo "deb $3 $2-security main"
}

zefmor_root_proxy() {
    [ -z "$apt_http_proxy" ] || echo "Acquire::http::Proxy \"$apt_http_proxy\";"
    [ -z "$apt_https_proxy" ] || echo "Acquire::https::Proxy \"$apt_https_proxy\";"
}
