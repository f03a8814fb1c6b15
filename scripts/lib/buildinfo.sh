# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# What shapes a release's bytes, and the BUILDINFO that records it in every release: the form of
# Debian's .buildinfo files, naming the Debian release and the version of each such package on
# the machine that built it. scripts/lib/setup.sh installs the toolchain, scripts/package.sh writes
# BUILDINFO and scripts/reproduce.sh reads it (scripts/lib/recorded.sh); all three source this file.
#   zefmor_toolchain                    the packages whose files shape a release's bytes
#   zefmor_write_buildinfo VERSION COMMIT [signed]
#                                       BUILDINFO for this machine, on stdout; false, with
#                                       $buildinfo_error, where a package is not installed
#   zefmor_read_buildinfo FILE          sets buildinfo_release, buildinfo_codename, buildinfo_arch and
#                                       buildinfo_packages ("NAME VERSION" lines); false, with
#                                       $buildinfo_error, for a file that cannot be read
#   zefmor_source_commit ROOT           the commit the sources in ROOT are, as BUILDINFO names it
# Nothing in BUILDINFO depends on the date, the host's name or the paths, so the same commit built
# on the same system gives the same file.

# The cross compilers with their binutils, runtime and headers, the build tools, the packaging
# tools and the clock they run under, and Debian's reader of the copyright files THIRD-PARTY.txt
# quotes. The libraries the installer tools load are found on the
# machine itself, since their names differ between releases.
zefmor_toolchain="gcc-mingw-w64-base mingw-w64-common
    gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix-runtime
    binutils-mingw-w64-i686 mingw-w64-i686-dev
    gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix-runtime
    binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    cmake make zip wixl msitools faketime libfaketime python3-debian"
# Recorded when the release is signed.
zefmor_signing_tool=osslsigncode

# zefmor_installed_version NAME: this architecture's (or an architecture-free) NAME, if installed.
zefmor_installed_version() {
    dpkg-query -W -f='${Architecture} ${Version} ${db:Status-Status}\n' "$1" 2>/dev/null |
        awk -v native="$(dpkg --print-architecture)" \
            '($1 == native || $1 == "all") && $3 == "installed" { print $2; exit }'
}

# The packages of the libraries that wixl, msibuild and msiinfo load.
zefmor_installer_libraries() {
    for program in wixl msibuild msiinfo; do
        command -v "$program" >/dev/null && ldd "$(command -v "$program")"
    done | sed -n 's|.* => \(/[^ ]*\) (.*|\1|p' | sort -u | while read -r library; do
        dpkg-query -S "*/$(basename "$(dirname "$library")")/$(basename "$library")" 2>/dev/null |
            sed -n '1s/[:,].*//p'
    done
}

zefmor_write_buildinfo() {
    buildinfo_error=
    command -v dpkg-query >/dev/null || { buildinfo_error="dpkg-query is missing: not a Debian system"; return 1; }
    # shellcheck disable=SC1091
    bi_release=$(. /etc/os-release && echo "${VERSION_ID:-none} (${VERSION_CODENAME:-unknown})")
    bi_depends=
    for bi_name in $(
        { for bi_listed in $zefmor_toolchain; do echo "$bi_listed"; done
          zefmor_installer_libraries
          [ "${3:-}" = signed ] && echo "$zefmor_signing_tool"; } | LC_ALL=C sort -u); do
        bi_version=$(zefmor_installed_version "$bi_name")
        [ -n "$bi_version" ] || { buildinfo_error="$bi_name is not installed"; return 1; }
        bi_depends="$bi_depends,
 $bi_name (= $bi_version)"
    done
    printf 'Format: 1.0\nSource: Zefmor\nVersion: %s\nCommit: %s\nBuild-Origin: Debian\n' "$1" "$2"
    printf 'Build-Release: %s\nBuild-Architecture: %s\nInstalled-Build-Depends:%s\n' \
        "$bi_release" "$(dpkg --print-architecture)" "${bi_depends#,}"
}

zefmor_read_buildinfo() {
    buildinfo_error=
    buildinfo_release=$(sed -n 's/^Build-Release: \([0-9][0-9]*\) ([a-z]*)$/\1/p' "$1" 2>/dev/null)
    buildinfo_codename=$(sed -n 's/^Build-Release: [0-9][0-9]* (\([a-z]*\))$/\1/p' "$1" 2>/dev/null)
    buildinfo_arch=$(sed -n 's/^Build-Architecture: \([a-z0-9]*\)$/\1/p' "$1" 2>/dev/null)
    # The continuation lines of Installed-Build-Depends, each " NAME (= VERSION)" with a comma
    # between them; anything else there makes the file unreadable.
    bi_depends=$(awk '/^[^ ]/ { field = $1 } field == "Installed-Build-Depends:" && /^ / { print }' "$1" 2>/dev/null)
    buildinfo_packages=$(echo "$bi_depends" | sed -n 's/^ \([a-z0-9][a-z0-9.+-]*\) (= \([A-Za-z0-9.+:~-]*\)),\{0,1\}$/\1 \2/p')
    if ! grep -qx 'Source: Zefmor' "$1" 2>/dev/null; then
        buildinfo_error="it is missing or not Zefmor's"
    elif [ -z "$buildinfo_release" ] || [ -z "$buildinfo_codename" ]; then
        buildinfo_error="it names no Debian release as 'Build-Release: NUMBER (CODENAME)'"
    elif [ -z "$buildinfo_arch" ]; then
        buildinfo_error="it names no Build-Architecture"
    elif [ -z "$buildinfo_packages" ] ||
         [ "$(echo "$bi_depends" | wc -l)" -ne "$(echo "$buildinfo_packages" | wc -l)" ]; then
        buildinfo_error="its Installed-Build-Depends are not 'NAME (= VERSION)' lines"
    fi
    [ -z "$buildinfo_error" ]
}

# zefmor_source_commit ROOT: the commit the sources in ROOT are, as BUILDINFO names it.
zefmor_source_commit() {
    bi_commit=$(git -C "$1" rev-parse --verify -q HEAD 2>/dev/null) || { echo unknown; return 0; }
    if [ -n "$(git -C "$1" status --porcelain --untracked-files=no 2>/dev/null)" ]; then
        bi_commit="$bi_commit with changes not committed"
    fi
    echo "$bi_commit"
}
