# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# How this host reaches Debian, read from its own apt configuration: the mirror of Debian's main
# archive and of its security archive that its sources name, and the proxy its apt goes through.
# scripts/debian-root.sh sources this file, to make its roots reach Debian the same way. apt-config
# says which files apt reads, so APT_CONFIG names another configuration here as it does for apt.
#   zefmor_apt_entries                  one line per archive apt reads, "TYPE URI SUITE FILE", from
#                                       sources.list and sources.list.d's *.list (one-line form) and
#                                       *.sources (deb822 form)
#   zefmor_host_archive CODENAME        sets apt_mirror and apt_security, each with apt_*_from, the
#                                       file that names it, or empty where the host names none; an
#                                       entry of CODENAME (the host's own) is taken before others
#   zefmor_host_proxy                   sets apt_http_proxy and apt_https_proxy: apt's own setting,
#                                       else http_proxy and https_proxy in the environment
#   zefmor_root_sources MIRROR CODENAME [SECURITY]
#                                       a root's sources.list, in the one-line form
#   zefmor_root_proxy                   the apt configuration giving a root the host's proxy

# The suites of Debian's releases; a source with none of them is not Debian's archive.
zefmor_debian_suites="buster bullseye bookworm trixie forky duke sid stable oldstable oldoldstable testing unstable"

zefmor_apt_entries() {
    as_list=/etc/apt/sources.list
    as_parts=/etc/apt/sources.list.d/
    eval "$(apt-config shell as_list Dir::Etc::sourcelist/f as_parts Dir::Etc::sourceparts/d 2>/dev/null)"
    # apt reads sources.list, then the parts in the order of their names, skipping any other file.
    for as_file in "$as_list" "$as_parts"*; do
        [ -f "$as_file" ] || continue
        case $as_file in
            "$as_list" | *.list)
                # deb [OPTIONS] URI SUITE COMPONENTS..., where # starts a comment.
                awk '{ sub(/#.*/, "") } NF >= 3 {
                    rest = substr($0, index($0, $1) + length($1))
                    if (rest ~ /^[ \t]*\[/) rest = substr(rest, index(rest, "]") + 1)
                    if (split(rest, word, " ") >= 2) print $1, word[1], word[2], FILENAME
                }' "$as_file" ;;
            *.sources)
                # Stanzas of "Field: value" lines, a blank line between them; a value goes on in
                # lines that start with a space, and a line starting with # is a comment.
                awk 'function stanza(   t, u, s, nt, nu, ns, i, j, k) {
                    nt = split(f["types"], t, " "); nu = split(f["uris"], u, " "); ns = split(f["suites"], s, " ")
                    if (tolower(f["enabled"]) !~ /^[ \t]*no[ \t]*$/)
                        for (i = 1; i <= nt; i++) for (j = 1; j <= nu; j++) for (k = 1; k <= ns; k++)
                            print t[i], u[j], s[k], FILENAME
                    split("", f); field = ""
                }
                /^#/ { next }
                /^[ \t]*$/ { stanza(); next }
                /^[ \t]/ { f[field] = f[field] " " $0; next }
                { field = tolower(substr($0, 1, index($0, ":") - 1)); f[field] = substr($0, index($0, ":") + 1) }
                END { stanza() }' "$as_file" ;;
        esac
    done
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
