#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# The documents (README.md and docs/*.md) stay true to the tree, without network, in a second:
# - every scripts/, tests/, docs/, cmake/ and .ci/ path they name, and every file they link, exists;
# - every ZEFMOR_* variable they name is read somewhere outside them;
# - every ZEFMOR_* variable that scripts/, tests/release/, cmake/ or .ci/ read is named in them;
# - README.md stays short, with its two commands early, each document stays short, and no
#   sentence runs over 40 words.
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
trap 'rm -f "$findings"' EXIT
found() { echo "docs: $*" >>"$findings"; }

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

if [ -s "$findings" ]; then
    cat "$findings" >&2
    exit 1
fi
echo "docs: every path and ZEFMOR_* variable the documents name is in the tree, and every one the scripts read is explained"
