#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# The documents (README.md and docs/*.md) stay true to the tree, without network, in a second:
# - every scripts/, tests/, docs/, cmake/ and .ci/ path they name, and every file they link, exists;
# - every ZEFMOR_* variable they name is read somewhere outside them;
# - every ZEFMOR_* variable that scripts/, tests/release/, cmake/ or .ci/ read is named in them;
# - every --option they give a script is one that script reads, and every line they quote from a
#   script (`zefmor: N passed, ...`) is one it prints;
# - README.md stays short, with its two commands early, each document stays short, and no
#   sentence runs over 40 words.
# The options and quotes checks are also run on cases of their own, in a small tree.
# Each finding is one line naming the file, the line and the name; exits 1 when there is any.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
docs=README.md
for file in docs/*.md; do
    [ -f "$file" ] && docs="$docs $file"
done
readme_lines=130 readme_commands=80 doc_lines=150 sentence_words=40
findings=$(mktemp /tmp/zefmor-docs.XXXXXX)
cases=$(mktemp -d /tmp/zefmor-docs-cases.XXXXXX)
trap 'rm -rf "$findings" "$cases"' EXIT
found() { echo "docs: $*" >>"$findings"; }

# The options and quotes checks read the documents given, from the folder they run in, and print
# FILE:LINE: FINDING.
# FILE:LINE:SCRIPT:OPTION for each --option the documents give a script. In a code line or a
# backquoted text, an option goes with the script the command runs; another program's is left
# alone. An option quoted on its own goes with the script the line names before it, or else after.
given_options() {
    awk '
    function script(word) { return word ~ /^(\.\/)?(scripts|tests)\/[A-Za-z0-9_\/.-]*\.(sh|py)$/ }
    FNR == 1 { fenced = 0; held = "" }
    /^```/ { fenced = !fenced; next }
    {
        # A command continued with a backslash is one line, where it starts.
        if (held == "") { at = FNR; line = $0 } else line = held " " $0
        if (line ~ /\\$/) { held = substr(line, 1, length(line) - 1); next }
        held = ""
        code = fenced || line ~ /^(    |\t)/
        last = ""; alone = ""
        n = split(line, part, "`")
        for (i = 1; i <= n; i++) {
            quoted = code || i % 2 == 0
            command = ""; first = 1
            m = split(part[i], word, /[ \t]+/)
            for (j = 1; j <= m; j++) {
                w = word[j]
                gsub(/^[[("]+|[])}",.;:]+$/, "", w)
                if (w == "") continue
                if (script(w)) {
                    sub(/^\.\//, "", w)
                    k = split(alone, option, " ")
                    for (o = 1; o <= k; o++) print FILENAME ":" at ":" w ":" option[o]
                    alone = ""; last = w
                    if (quoted) { command = w; first = 0 }
                    continue
                }
                if (!quoted) continue
                if (w ~ /^--[a-z0-9]/) {
                    sub(/=.*/, "", w)
                    if (command == "" && last == "") alone = alone " " w
                    else if (command == "") print FILENAME ":" at ":" last ":" w
                    else if (command != "-") print FILENAME ":" at ":" command ":" w
                } else if (first && w !~ /^[A-Za-z_][A-Za-z0-9_]*=/ && w !~ /^(env|sudo|exec)$/) {
                    command = "-"; first = 0
                }
                if (word[j] ~ /^(\||\|\||&&)$/ || word[j] ~ /;$/) { command = "-"; first = 1 }
            }
        }
    }' "$@"
}
# reads_option SCRIPT OPTION: the script, or a scripts/lib file it sources, reads OPTION outside
# its comments.
reads_option() {
    libs=$(grep -E '^[[:space:]]*\. ' "$1" | grep -oE '[A-Za-z0-9_-]+\.sh' | sed 's|^|scripts/lib/|')
    # shellcheck disable=SC2046  # the tree's paths hold no spaces
    cat "$1" $(for lib in $libs; do [ -f "$lib" ] && echo "$lib"; done) | grep -v '^[[:space:]]*#' |
        grep -qE -- "(^|[^A-Za-z0-9_-])$2([^A-Za-z0-9_-]|\$)"
}
option_findings() {
    given_options "$@" | while IFS=: read -r file line script option; do
        [ ! -f "$script" ] || reads_option "$script" "$option" ||
            echo "$file:$line: $option is not an option $script reads"
    done
}
# A backquoted text that starts with a word the scripts' lines start with ("zefmor: ",
# "reproduce: "...) must be one of those lines: a script's echo "WORD: ...", or a call of its
# helper that echoes "WORD: $*". A $variable, ${...} or $(...) there matches any text, such as
# N, M or COMMIT in the document.
quote_findings() {
    printers=$(for file in scripts/*.sh scripts/lib/*.sh tests/*.sh tests/release/*.sh .ci/*; do
        [ -f "$file" ] && echo "$file"; done)
    # shellcheck disable=SC2016,SC2086  # the $ are awk's; the tree's paths hold no spaces
    awk '
    # TEXT, the words after an opening quote, up to the last quote, each expansion made a mark.
    function printed(text,   i, stop, word) {
        stop = length(text) + 1
        for (i = 1; i <= length(text); i++) if (substr(text, i, 1) == "\"") stop = i
        text = substr(text, 1, stop - 1)
        gsub(/\\\$/, "\002", text)
        gsub(/\$\{[^}]*\}/, "\001", text)
        gsub(/\$\(\([^)]*\)\)/, "\001", text)
        gsub(/\$\([^)]*\)/, "\001", text)
        gsub(/\$([A-Za-z_][A-Za-z0-9_]*|[0-9*@#?!-])/, "\001", text)
        gsub(/\\"/, "\"", text)
        gsub(/\002/, "$", text)
        word = substr(text, 1, index(text, ":") - 1)
        lines[word] = lines[word] "\003" text
    }
    # Whether TEXT is LINE, each mark in LINE matching any text.
    function fits(text, line,   n, piece, i, at) {
        n = split(line, piece, "\001")
        if (substr(text, 1, length(piece[1])) != piece[1]) return 0
        text = substr(text, length(piece[1]) + 1)
        for (i = 2; i < n; i++) {
            if (piece[i] == "") continue
            if (!(at = index(text, piece[i]))) return 0
            text = substr(text, at + length(piece[i]))
        }
        if (n == 1) return text == ""
        return length(text) >= length(piece[n]) &&
            substr(text, length(text) - length(piece[n]) + 1) == piece[n]
    }
    # A helper: a function that echoes "WORD: $*". Scripts may give one name to helpers of their
    # own, so a name keeps every WORD.
    pass == 1 {
        if (match($0, /^[ \t]*[a-z_][a-z0-9_]*\(\) *\{/)) { name = $0; sub(/^[ \t]*/, "", name); sub(/\(.*/, "", name) }
        if (name != "" && match($0, /echo "[a-z][a-z0-9-]*: \$\*"/)) helper[name] = helper[name] "\003" substr($0, RSTART + 6, RLENGTH - 9)
        if ($0 ~ /\}[ \t;]*$/) name = ""
    }
    pass == 2 {
        # A command continued with a backslash is one line; echo joins its words with a space.
        if (FNR == 1) held = ""
        if (held == "") line = $0; else line = held " " $0
        if (line ~ /\\$/) { held = substr(line, 1, length(line) - 1); next }
        held = ""
        gsub(/" +"/, " ", line)
        if (line ~ /\(\) *\{|echo "[a-z][a-z0-9-]*: \$\*"/) next
        if (match(line, /echo "[a-z][a-z0-9-]*: /)) printed(substr(line, RSTART + 6))
        for (name in helper) {
            if (!match(line, "(^|[^A-Za-z0-9_])" name " \"")) continue
            k = split(substr(helper[name], 2), prefix, "\003")
            for (i = 1; i <= k; i++) printed(prefix[i] substr(line, RSTART + RLENGTH))
        }
    }
    pass == 3 {
        n = split($0, part, "`")
        for (i = 2; i < n; i += 2) {
            if (!match(part[i], /^[a-z][a-z0-9-]*: /)) continue
            word = substr(part[i], 1, index(part[i], ":") - 1)
            if (!(word in lines)) continue
            k = split(substr(lines[word], 2), line_of, "\003")
            for (j = 1; j <= k && !fits(part[i], line_of[j]); j++) continue
            if (j > k) printf "%s:%d: `%s` is no line that a script prints\n", FILENAME, FNR, part[i]
        }
    }' pass=1 $printers pass=2 $printers pass=3 "$@"
}

# FILE:LINE:NAME for each read of a ZEFMOR_* variable from the environment in the files given:
# $NAME or ${NAME in shell, os.environ and getenv in Python, GetEnvironmentVariable in C++.
reads() {
    [ $# -gt 0 ] || return 0
    grep -HInoE '(\$\{?|environ(\.get\(|\[)["'\'']|getenv\(["'\'']|GetEnvironmentVariable[AW]?\(L?")ZEFMOR_[A-Z0-9_]+' "$@" |
        sed 's/^\([^:]*:[0-9]*:\).*\(ZEFMOR_[A-Z0-9_]*\)$/\1\2/'
}
# CMake writes its own variables ${NAME} too; there only $ENV{NAME} reads the environment.
cmake_reads() {
    [ $# -gt 0 ] || return 0
    # shellcheck disable=SC2016  # $ENV{...} is CMake's
    grep -HInoE '\$ENV\{ZEFMOR_[A-Z0-9_]+' "$@" | sed 's/\$ENV{//'
}
# The tree outside the documents and the build.
tree=$(find . \( -path ./build -o -path './build-*' -o -path ./.git -o -path ./docs \) -prune -o \
    -type f ! -path ./README.md -print | sed 's|^\./||' | LC_ALL=C sort)
is_cmake() { case $1 in *.cmake | *CMakeLists.txt) return 0 ;; esac; return 1; }
# shellcheck disable=SC2046  # the tree's paths hold no spaces
all_reads=$( { reads $(for f in $tree; do is_cmake "$f" || echo "$f"; done)
               cmake_reads $(for f in $tree; do is_cmake "$f" && echo "$f"; done); } )
script_reads=$(echo "$all_reads" | grep -E '^(scripts|tests/release|cmake|\.ci)/' | sort -u)

# Names and paths in the documents, as FILE:LINE:TEXT, code blocks included.
# shellcheck disable=SC2086
grep -HnoE 'ZEFMOR_[A-Z0-9_]+' $docs | while IFS=: read -r file line name; do
    echo "$all_reads" | grep -q ":$name\$" || found "$file:$line: $name is read nowhere in the tree"
done
# shellcheck disable=SC2086
grep -HnoE '(^|[^A-Za-z0-9_.-])(scripts|tests|docs|cmake|\.ci)/[A-Za-z0-9_./*-]*' $docs |
    sed 's/^\([^:]*:[0-9]*:\)[^a-z.]/\1/; s/[.]*$//' | while IFS=: read -r file line path; do
    # A pattern such as scripts/*.sh must match at least one file.
    # shellcheck disable=SC2086
    set -- $path
    [ -e "$1" ] || found "$file:$line: $path does not exist"
done
# Links to local files, relative to the document.
# shellcheck disable=SC2086
grep -HnoE '\]\([^)#]+' $docs | grep -vE ':\]\((https?|mailto):' | while IFS=: read -r file line link; do
    target=${link#\](}
    [ -e "$(dirname "$file")/$target" ] || found "$file:$line: the link $target leads nowhere"
done
echo "$script_reads" | while IFS=: read -r file line name; do
    [ -n "$name" ] || continue
    # shellcheck disable=SC2086
    grep -qw "$name" $docs || found "$file:$line: $name is read here and explained in no document"
done

# Short documents and sentences.
lines=$(wc -l <README.md)
[ "$lines" -le $readme_lines ] || found "README.md:$lines: README.md has $lines lines, more than $readme_lines"
for command in scripts/run.sh scripts/test.sh; do
    first=$(grep -n "$command" README.md | head -n 1 | cut -d: -f1)
    if [ -z "$first" ] || [ "$first" -gt $readme_commands ]; then
        found "README.md:${first:-0}: $command is not within its first $readme_commands lines"
    fi
done
for file in $docs; do
    [ "$file" != README.md ] || continue
    lines=$(wc -l <"$file")
    [ "$lines" -le $doc_lines ] || found "$file:$lines: $file has $lines lines, more than $doc_lines"
done
# Prose only: code blocks, tables, headings and comments are left out; a paragraph or a list item
# is joined into one text and cut into sentences at ". ", "? " and "! ". A line indented by four
# spaces is code only where no text runs on to it, as Markdown reads it.
# shellcheck disable=SC2086
awk -v most=$sentence_words '
    function flush(   n, i, s, words) {
        n = split(text, s, /[.?!]["'\'')*`]*( |$)/)
        for (i = 1; i <= n; i++) {
            words = gsub(/[^ \t]+/, "&", s[i])
            if (words > most) printf "%s:%d: a sentence of %d words: %s\n", where, start, words, substr(s[i], 1, 60) "..."
        }
        text = ""
    }
    FNR == 1 { flush(); fenced = 0 }
    /^```/ { flush(); fenced = !fenced; next }
    fenced || (text == "" && /^    /) || /^[ \t]*\|/ || /^#/ || /^<!--/ || /^[ \t]*$/ { flush(); next }
    /^[ \t]*([-*]|[0-9]+\.) / { flush() }
    { if (text == "") { start = FNR; where = FILENAME } text = text " " $0 }
    END { flush() }' $docs | sed 's/^/docs: /' >>"$findings"

# Options and quotes.
# shellcheck disable=SC2086
{ option_findings $docs; quote_findings $docs; } | sed 's/^/docs: /' >>"$findings"
# Their own cases, in a small tree: each row is a document line, and the text its finding must
# hold, or - where there must be none. The third row continues the command of the second.
mkdir -p "$cases/scripts/lib"
cat >"$cases/scripts/tool.sh" <<'TOOL'
# scripts/tool.sh [--commit COMMIT] [--old]
. "$root/scripts/lib/opts.sh"
case $1 in --commit) shift 2 ;; esac
echo "tool: $passed passed, $failed failed"
TOOL
cat >"$cases/scripts/lib/opts.sh" <<'OPTS'
case $1 in --with) shift 2 ;; esac
says() { echo "tool: $*"; }
says "rebuilt ${1#v} in $(pwd)" \
    "at last"
OPTS
cat >"$cases/table" <<'ROWS'
-	    scripts/tool.sh --commit C --with F
--rev	    scripts/tool.sh --commit C \
-	        --rev D
--rev	`scripts/tool.sh --rev C` runs it.
--old	`--old` is what `scripts/tool.sh` once read.
-	`ctest --test-dir b` runs what `scripts/tool.sh` built.
-	It ends with `tool: N passed, 0 failed`.
`tool: N passed, 0 fail`	It ends with `tool: N passed, 0 fail`.
-	Or with `tool: rebuilt COMMIT in FOLDER at last`.
`tool: rebuilt COMMIT`	Not with `tool: rebuilt COMMIT`.
ROWS
cut -f2- "$cases/table" >"$cases/case.md"
(cd "$cases" && option_findings case.md; quote_findings case.md) >"$cases/found"
row=0
while IFS='	' read -r expected text; do
    row=$((row + 1))
    got=$(grep "^case.md:$row: " "$cases/found")
    case $expected:$got in
        -:) ;;
        -:*) found "tests/docs.sh: its case '$text' gives: $got" ;;
        *:*"$expected"*) ;;
        *) found "tests/docs.sh: its case '$text' gives no finding of $expected" ;;
    esac
done <"$cases/table"

if [ -s "$findings" ]; then
    cat "$findings" >&2
    exit 1
fi
echo "docs: every path, option, quoted line and ZEFMOR_* variable the documents give is true to the tree, and every variable the scripts read is explained"
