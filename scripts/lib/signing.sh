# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Signs Zefmor's programs and installers for a release; packaging sources this file.
#   check_signing_inputs           stops, saying why, unless the certificate and password open
#   sign_file IN OUT SIG           OUT is IN signed, SIG its detached signature; stops, saying why,
#                                  when signing fails
# ZEFMOR_SIGN_PFX names a PKCS#12 file with the publisher's code-signing certificate and key, and
# ZEFMOR_SIGN_PASS_FILE the file whose first line is its password: the tools read it from there,
# so it is never on a command line, printed or copied. ZEFMOR_SIGN_TIMESTAMP_URL, when set, names
# an RFC 3161 time-stamp server. Signatures are Authenticode with SHA-256 and name the program and
# the web address the About box shows.
# Callers set $root (the sources), $work (a folder for the tools' logs) and refuse (stops packaging
# with one line saying why).

sign_pfx=${ZEFMOR_SIGN_PFX:-}
sign_pass=${ZEFMOR_SIGN_PASS_FILE:-}
sign_web=$(sed -n 's/^#define AUTHOR_WEB *"\(.*\)"$/\1/p' "$root/about/author.h")

check_signing_inputs() {
    [ -f "$sign_pfx" ] && [ -r "$sign_pfx" ] ||
        refuse "cannot read the certificate file '$sign_pfx' (ZEFMOR_SIGN_PFX)"
    [ -n "$sign_pass" ] ||
        refuse "ZEFMOR_SIGN_PASS_FILE does not name the file with the certificate's password"
    [ -f "$sign_pass" ] && [ -r "$sign_pass" ] ||
        refuse "cannot read the password file '$sign_pass' (ZEFMOR_SIGN_PASS_FILE)"
    if ! openssl pkcs12 -in "$sign_pfx" -passin "file:$sign_pass" -noout 2>"$work/pkcs12.log"; then
        grep -q 'invalid password' "$work/pkcs12.log" &&
            refuse "wrong password: the one in '$sign_pass' does not open '$sign_pfx'"
        refuse "'$sign_pfx' is not a PKCS#12 file with a certificate and key"
    fi
}

sign_file() {
    if ! osslsigncode sign -pkcs12 "$sign_pfx" -readpass "$sign_pass" -h sha256 -n Zefmor -i "$sign_web" \
            ${ZEFMOR_SIGN_TIMESTAMP_URL:+-ts "$ZEFMOR_SIGN_TIMESTAMP_URL"} \
            -in "$1" -out "$2" >"$work/sign.log" 2>&1 ||
       ! osslsigncode extract-signature -in "$2" -out "$3" >>"$work/sign.log" 2>&1; then
        # The tool's first line that says what went wrong.
        sign_error=$(grep -v -e '^$' -e '^Failed$' -e '^Succeeded$' -e '^Connecting to ' "$work/sign.log" |
            head -n 1)
        refuse "signing $(basename "$3" .sig) failed: $sign_error"
    fi
}
