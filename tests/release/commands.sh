#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# The README's two commands as one person uses them, in a throwaway copy of the clone that belongs
# to an unprivileged account, with stand-ins for apt, CMake, CTest and Wine (no build, no network):
# through sudo, the run and then the tests leave everything they make to that account; then the
# run without root, where 32-bit Wine is missing, starts the x64 build and leaves build/ building
# its tests. Needs root, to stand for sudo; seconds.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ "$(id -u)" -ne 0 ]; then
    echo "commands: SKIPPED: needs root, to run the commands as sudo does"
    exit 77
fi
account=$(getent passwd nobody) || { echo "commands: there is no account nobody to run them for" >&2; exit 1; }
uid=$(echo "$account" | cut -d: -f3)
gid=$(echo "$account" | cut -d: -f4)
home=$(echo "$account" | cut -d: -f6)
tmp=$(mktemp -d /tmp/zefmor-commands.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
failed=0
# expect WHAT COMMAND...: the command succeeds.
expect() {
    what=$1
    shift
    if "$@"; then echo "commands: $what"; else echo "commands: FAILED: $what" >&2; failed=1; fi
}

# The stand-ins. Every package is installed but Wine's 32-bit part, which apt cannot install.
# CMake keeps a folder's BUILD_TESTING as configure does (a new folder has it on) and builds the
# program; Wine's 64-bit loader makes a prefix and starts programs. apt and Wine say who asked.
mkdir "$tmp/bin"
printf '#!/bin/sh\neval "name=\\${$#}"\n[ "$name" != wine32:i386 ] && echo "install ok installed"\n' >"$tmp/bin/dpkg-query"
printf '#!/bin/sh\necho i386\n' >"$tmp/bin/dpkg"
printf '#!/bin/sh\necho "$(id -u) $*" >>%s/apt.log\ncase " $* " in *" wine32:i386 "*) exit 100 ;; esac\n' "$tmp" >"$tmp/bin/apt-get"
cat >"$tmp/bin/cmake" <<'EOF'
#!/bin/sh
if [ "$1" = --build ]; then
    exec touch "$2/Zefmor.exe"
fi
while [ $# -gt 0 ]; do
    case $1 in
        -B) dir=$2; shift ;;
        -DBUILD_TESTING=*) testing=${1#*=} ;;
    esac
    shift
done
mkdir -p "$dir"
[ -n "${testing:-}" ] || [ ! -f "$dir/CMakeCache.txt" ] || exit 0
echo "BUILD_TESTING:BOOL=${testing:-ON}" >"$dir/CMakeCache.txt"
EOF
printf '#!/bin/sh\necho "100%% tests passed, 0 tests failed out of 1"\n' >"$tmp/bin/ctest"
printf '#!/bin/sh\nexit 0\n' >"$tmp/bin/reuse"
printf '#!/bin/sh\nexit 0\n' >"$tmp/bin/wineserver"
printf '#!/bin/sh\necho "$(id -u) $*" >>%s/wine.log\n[ "$1" != wineboot ] || echo "#arch=win64" >"$WINEPREFIX/system.reg"\n' \
    "$tmp" >"$tmp/bin/wine64"
chmod 755 "$tmp"/bin/*
: >"$tmp/apt.log"
: >"$tmp/wine.log"
chmod 666 "$tmp/apt.log" "$tmp/wine.log"

# The clone: the commands and what they share as they are, every other script and check emptied
# (an empty file does nothing, run by itself, by sh or by Python), Wine's loaders the stand-ins.
clone=$tmp/clone
mkdir "$clone"
cp -R "$root/scripts" "$root/tests" "$clone/"
find "$clone" -type f ! -path "$clone/scripts/lib/*" ! -path "$clone/scripts/run.sh" \
    ! -path "$clone/scripts/test.sh" -exec sh -c 'for f; do : >"$f"; done' sh {} +
sed -i -e "s|^zefmor_loader32=.*|zefmor_loader32=$tmp/bin/wine|" -e "s|^zefmor_loader64=.*|zefmor_loader64=$tmp/bin/wine64|" \
    -e "s|^zefmor_wineserver=.*|zefmor_wineserver=$tmp/bin/wineserver|" "$clone/scripts/lib/wine-loader.sh"
[ "$(grep -c "=$tmp/bin/wine" "$clone/scripts/lib/wine-loader.sh")" -eq 3 ] ||
    { echo "commands: scripts/lib/wine-loader.sh no longer names Wine's loaders as this check expects" >&2; exit 1; }
# The account's own Wine prefix, with the fonts run.sh would copy in.
prefix=$tmp/prefix
mkdir -p "$prefix/drive_c/windows/Fonts"
for font in tahoma.ttf tahomabd.ttf ms_sans_serif.ttf marlett.ttf; do : >"$prefix/drive_c/windows/Fonts/$font"; done
chown -R "$uid:$gid" "$clone" "$prefix"

# as WHO COMMAND: runs the README's COMMAND in the clone, as root through sudo (WHO=sudo) or as the
# account itself (WHO=user), with a display it never opens; its output is in $tmp/said.
as() {
    who=$1 command=$2
    set -- PATH="$tmp/bin:/usr/sbin:/usr/bin:/sbin:/bin" DISPLAY=:77 WINEPREFIX="$prefix"
    case $who in
        sudo) set -- env -i "$@" HOME=/root SUDO_USER=nobody SUDO_UID="$uid" SUDO_GID="$gid" ;;
        user) set -- setpriv --reuid="$uid" --regid="$gid" --init-groups env -i "$@" HOME="$home" ;;
    esac
    (cd "$clone" && "$@" "$command") >"$tmp/said" 2>&1 || { cat "$tmp/said" >&2; return 1; }
}
# theirs: everything in the clone and the prefix belongs to the account.
theirs() {
    others=$(find "$clone" "$prefix" ! -user "$uid")
    [ -z "$others" ] || { echo "commands: not the account's: $others" >&2; return 1; }
}
ran_setup_as_root() { grep -q '^0 install ' "$tmp/apt.log" || { cat "$tmp/apt.log" >&2; return 1; }; }
sudo_run() { as sudo scripts/run.sh && ran_setup_as_root && theirs; }
expect "through sudo, the run installs as root and leaves the build and the Wine prefix to the user" sudo_run
sudo_test() { as sudo scripts/test.sh && theirs; }
expect "through sudo, the tests after it leave everything to the user too" sudo_test
run_x64() {
    as user scripts/run.sh && grep -q '^run: starting the x64 build: .' "$tmp/said" &&
        grep -qx "$uid $clone/build/x64/Zefmor.exe" "$tmp/wine.log" || { cat "$tmp/said" "$tmp/wine.log" >&2; return 1; }
    for arch in x86 x64; do
        grep -qx BUILD_TESTING:BOOL=ON "$clone/build/$arch/CMakeCache.txt" ||
            { echo "commands: the run left build/$arch without its tests" >&2; return 1; }
    done
}
expect "then the run without root, missing 32-bit Wine, starts the x64 build, and build/ still builds its tests" run_x64
exit $failed
