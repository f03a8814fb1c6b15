# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Lets the README's commands run through sudo and leave the clone to its owner: the setup is the
# one step that needs root, and the rest (the build, the tests, Wine and its prefix) runs as the
# user sudo came from again, so a later command without root can write beside what it made.
#   zefmor_as_owner CLONE COMMAND [ARGS...]
#       as root through sudo, by the user who owns CLONE: replaces this shell with COMMAND run as
#       that user, with their HOME; otherwise returns at once. A plain root login (CI, a container)
#       sets no SUDO_UID and goes on as root, and so does sudo in a clone that is not its user's.
zefmor_as_owner() {
    [ "$(id -u)" -eq 0 ] && [ "${SUDO_UID:-0}" -ne 0 ] && [ "$(stat -c %u "$1")" = "$SUDO_UID" ] || return 0
    account=$(getent passwd "$SUDO_UID") || return 0
    name=${account%%:*}
    home=$(echo "$account" | cut -d: -f6)
    group=${SUDO_GID:-$(echo "$account" | cut -d: -f4)}
    shift
    exec setpriv --reuid="$SUDO_UID" --regid="$group" --init-groups \
        env HOME="$home" USER="$name" LOGNAME="$name" "$@"
}
