# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Rebuilding a release where it was built: this host compared with the release's BUILDINFO, and
# the recorded versions installed in a root of the recorded Debian release. scripts/reproduce.sh
# sources this file (after scripts/lib/buildinfo.sh).
#   zefmor_check_recorded FILE          reads BUILDINFO and compares this host with it, naming each
#                                       package of another version; sets buildinfo_root to why the
#                                       rebuild belongs in a root of the recorded release (empty: here)
#                                       and buildinfo_toolchain to "same" or "differs"; false after
#                                       one line saying why it cannot go on
#   zefmor_host_differences             one line per recorded package whose version differs here

zefmor_host_differences() {
    echo "$buildinfo_packages" | while read -r name recorded; do
        here=$(zefmor_installed_version "$name")
        [ "$here" = "$recorded" ] || echo "$name ${here:-not installed} (the release's: $recorded)"
    done
}

# Installs the recorded versions the archive still has and the archive's version of the rest of
# what a rebuild needs, in a root made for it.
zefmor_install_recorded() {
    # Backported versions come from the release's backports, on the mirror apt reads the release
    # from (scripts/lib/apt-sources.sh); apt-config names the folder of its sources' parts.
    if echo "$buildinfo_packages" | grep -q '~bpo'; then
        bi_parts=/etc/apt/sources.list.d/
        eval "$(apt-config shell bi_parts Dir::Etc::sourceparts/d 2>/dev/null)"
        bi_mirror=$(zefmor_apt_mirror "$buildinfo_codename")
        [ -z "$bi_mirror" ] ||
            echo "deb $bi_mirror $buildinfo_codename-backports main" >"${bi_parts%/}/backports.list"
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq || return 1
    bi_pinned=$(echo "$buildinfo_packages" | while read -r bi_name bi_version; do
        apt-cache show "$bi_name=$bi_version" >/dev/null 2>&1 && echo "$bi_name=$bi_version"
    done)
    # What else a rebuild needs, at the archive's versions.
    bi_rest=$(for bi_name in unzip $zefmor_signing_tool $zefmor_toolchain; do
        echo "$bi_pinned" | grep -q "^$bi_name=" || echo "$bi_name"
    done)
    apt-get install -y -qq --no-install-recommends --allow-downgrades $bi_pinned $bi_rest >/dev/null && return 0
    echo "reproduce: the recorded versions cannot be installed together; taking the archive's"
    apt-get install -y -qq --no-install-recommends unzip $zefmor_signing_tool $zefmor_toolchain >/dev/null
}

# With ZEFMOR_REPRODUCE_INSTALL=1 the recorded packages are installed first (in a root made for
# the rebuild); with ZEFMOR_REPRODUCE_HERE=1 the rebuild stays here, whatever differs;
# ZEFMOR_REPRODUCE_IN_ROOT=1 sends it to a root on any host.
zefmor_check_recorded() {
    zefmor_read_buildinfo "$1" ||
        { echo "reproduce: the release's BUILDINFO cannot be read: $buildinfo_error" >&2; return 1; }
    if [ "$(dpkg --print-architecture)" != "$buildinfo_arch" ]; then
        echo "reproduce: the release was built on $buildinfo_arch, and this host is $(dpkg --print-architecture)" >&2
        return 1
    fi
    if [ "${ZEFMOR_REPRODUCE_INSTALL:-}" = 1 ] && ! zefmor_install_recorded; then
        echo "reproduce: the packages the release's BUILDINFO records could not be installed" >&2
        return 1
    fi
    # shellcheck disable=SC1091
    bi_host=$(. /etc/os-release && echo "${VERSION_ID:-} (${VERSION_CODENAME:-})")
    bi_differences=$(zefmor_host_differences)
    buildinfo_toolchain=same
    [ -z "$bi_differences" ] || buildinfo_toolchain=differs
    # On another Debian release every version differs; on the recorded one each difference counts.
    if [ "$bi_host" = "$buildinfo_release ($buildinfo_codename)" ] || [ "${ZEFMOR_REPRODUCE_HERE:-}" = 1 ]; then
        echo "$bi_differences" | sed -n 's/^./reproduce: this host has &/p'
    fi
    buildinfo_root=
    if [ "${ZEFMOR_REPRODUCE_HERE:-}" = 1 ]; then
        buildinfo_root=
    elif [ "${ZEFMOR_REPRODUCE_IN_ROOT:-}" = 1 ]; then
        buildinfo_root="ZEFMOR_REPRODUCE_IN_ROOT=1 asks for it"
    elif [ "$bi_host" != "$buildinfo_release ($buildinfo_codename)" ]; then
        buildinfo_root="this host is Debian $bi_host"
    elif [ -n "$bi_differences" ]; then
        buildinfo_root="this host has other versions of $(echo "$bi_differences" | wc -l) recorded packages"
    fi
}
