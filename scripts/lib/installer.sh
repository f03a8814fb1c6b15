# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Builds Zefmor's Windows installer with wixl from scripts/lib/zefmor.wxs; packaging and the installer
# checks source this file.
#   product_code ARCH VERSION              the installer's product code, the same in every build
#   build_msi ARCH VERSION PROGRAM OUTPUT  OUTPUT is the installer of PROGRAM (the ARCH Zefmor.exe)
#                                          with the LICENSE.txt and THIRD-PARTY.txt beside it,
#                                          labelled VERSION; wixl's own messages go to stderr
# Callers set $root (the sources) and $stamp (the packages' time, as touch -t takes it).

# name_uuid TEXT: a UUID in the name-based (SHA-1) layout, the same for the same text.
name_uuid() {
    uuid_hash=$(printf '%s' "$1" | sha1sum | cut -c1-32 | tr a-f A-F)
    case $(echo "$uuid_hash" | cut -c17) in
        [0-3]) uuid_variant=8 ;;
        [4-7]) uuid_variant=9 ;;
        [89AB]) uuid_variant=A ;;
        *) uuid_variant=B ;;
    esac
    echo "$uuid_hash" | sed "s/^\(.\{8\}\)\(.\{4\}\).\(.\{3\}\).\(.\{3\}\)\(.\{12\}\)$/\1-\2-5\3-$uuid_variant\4-\5/"
}
# One product code for each architecture and version, as a major upgrade needs a new one for each.
product_code() {
    echo "{$(name_uuid "Zefmor $1 $2")}"
}

# The installer's texts are Czech: the database's strings are stored in Windows-1250 and marked so,
# which makes them show right whatever code page Windows runs with. wixl converts texts to the
# code page libgsf guesses from WINDOWS_LANGUAGE, else from the locale (cs gives 1250), and never
# marks it; the marking is added afterwards as the _ForceCodepage table.
msi_codepage=1250
export WINDOWS_LANGUAGE=cs
# The web address the About box shows, for "Apps & features".
msi_web=$(sed -n 's/^#define AUTHOR_WEB *"\(.*\)"$/\1/p' "$root/about/author.h")

# wixl stamps the current time and a random package code into the summary information; the clock
# is stopped at the packaging date while it runs (a running one can pass a second on a busy
# machine), and the package code is replaced by one derived from everything that goes into the
# package. Product codes follow from architecture and version.
build_msi() {
    msi_stage=$(mktemp -d /tmp/zefmor-msi.XXXXXX)
    cp "$3" "$msi_stage/Zefmor.exe"
    cp "$(dirname "$3")/LICENSE.txt" "$(dirname "$3")/THIRD-PARTY.txt" "$root/res/zefmor.ico" "$msi_stage/"
    (cd "$msi_stage" && chmod 644 Zefmor.exe LICENSE.txt THIRD-PARTY.txt zefmor.ico &&
        TZ=UTC touch -t "$stamp" Zefmor.exe LICENSE.txt THIRD-PARTY.txt zefmor.ico)
    msi_next=$(echo "$2" | awk -F. '{ print $1 "." $2 "." $3 + 1 }')
    msi_inputs=$(cd "$msi_stage" && cat Zefmor.exe LICENSE.txt THIRD-PARTY.txt zefmor.ico "$root/scripts/lib/zefmor.wxs" |
        sha256sum | cut -d' ' -f1)
    msi_package=$(name_uuid "Zefmor $1 $2 $msi_codepage $msi_web $msi_inputs")
    rm -f "$4"
    # wixl reports its non-advertised shortcut as "unimplemented" although it builds it; that line
    # alone is dropped.
    msi_time=$(echo "$stamp" | sed 's/^\(....\)\(..\)\(..\)\(..\)\(..\)$/\1-\2-\3 \4:\5:00/')
    if ! (cd "$msi_stage" && TZ=UTC faketime -f "$msi_time" wixl -a "$1" -o "$4" \
            -D Arch="$1" -D Version="$2" -D NextVersion="$msi_next" -D ProductCode="$(product_code "$1" "$2")" \
            -D Codepage=$msi_codepage -D Web="$msi_web" "$root/scripts/lib/zefmor.wxs") 2>"$msi_stage/wixl.log"; then
        cat "$msi_stage/wixl.log" >&2
        rm -rf "$msi_stage"
        return 1
    fi
    grep -v 'builder.vala:[0-9]*: unimplemented$' "$msi_stage/wixl.log" >&2 || true
    # msibuild rewrites subject, author and template together with the package code: the subject
    # and author stay, and the template takes the product's language instead of wixl's fixed 1033.
    msi_subject=$(msiinfo suminfo "$4" | sed -n 's/^Subject: //p')
    msi_author=$(msiinfo suminfo "$4" | sed -n 's/^Author: //p')
    msi_platform=$(msiinfo suminfo "$4" | sed -n 's/^Template: \([^;]*\);.*/\1/p')
    msi_language=$(msiinfo export "$4" Property | sed -n 's/^ProductLanguage\t\([0-9]*\).*/\1/p')
    printf '\r\n\r\n%s\t_ForceCodepage\r\n' $msi_codepage >"$msi_stage/_ForceCodepage.idt"
    if ! (cd "$msi_stage" && msibuild "$4" -i _ForceCodepage.idt \
            -s "$msi_subject" "$msi_author" "$msi_platform;$msi_language" "{$msi_package}"); then
        rm -rf "$msi_stage"
        return 1
    fi
    rm -rf "$msi_stage"
}
