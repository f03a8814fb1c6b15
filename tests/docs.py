#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
"""The documents (README.md and docs/*.md) stay true to the tree: one line, naming the file and the line,
for each finding docs/testing.md lists. Markdown is read as CommonMark by Debian's python3-markdown-it."""
import glob, os, re, shlex, subprocess, sys, tempfile
from pathlib import Path
from markdown_it import MarkdownIt

README_LINES, README_COMMANDS, DOC_LINES, SENTENCE_WORDS = 130, 80, 150, 40
SCRIPT = re.compile(r"(\./)?(scripts|tests)/[\w/.-]*\.(sh|py)")
# A read of a ZEFMOR_* variable in shell, Python, C++ and CMake.
READS = r"""(\$\{?|\$ENV\{|environ(\.get\(|\[)["']|getenv\(["']|GetEnvironmentVariable\w?\(L?")""" \
        r"ZEFMOR_[A-Z0-9_]+"
CMAKE = re.compile(r"\.cmake$|CMakeLists\.txt$")

def walk(text):
    """In order: ("heading", LINE, LEVEL), ("code", LINE, [COMMAND]) for each command of a code block,
    ("line", LINE, [CODE SPAN...]), ("link", LINE, TARGET) and ("prose", LINE, PARAGRAPH)."""
    tokens = MarkdownIt("commonmark").enable("table").parse(text)
    for i, t in enumerate(tokens):
        if t.type == "heading_open":
            yield "heading", t.map[0] + 1, int(t.tag[1])
        elif t.type in ("code_block", "fence"):  # a command continued with a backslash is one
            for m in re.finditer(r"(?:.*\\\n)*.*\S.*", t.content):
                line = t.map[0] + 1 + (t.type == "fence") + t.content.count("\n", 0, m.start())
                yield "code", line, [m[0].replace("\\\n", " ")]
        elif t.type == "inline":
            line, spans = t.map[0] + 1, []
            for c in t.children:
                if c.type in ("softbreak", "hardbreak"):
                    yield "line", line, spans
                    line, spans = line + 1, []
                elif c.type == "code_inline":
                    spans.append(c.content)
                elif c.type in ("link_open", "image"):
                    yield "link", line, c.attrs.get("href") or c.attrs.get("src")
            yield "line", line, spans
            if tokens[i - 1].type == "paragraph_open":
                yield "prose", t.map[0] + 1, t.content

def given_options(spans):
    """(SCRIPT, OPTION) for each --option a line's code gives the script its command runs, or, quoted alone,
    the script the line names before it or else after; the options left to none; the scripts it starts."""
    given, alone, started, last = [], [], [], None
    for command in (c for span in spans for c in re.split(r"(?:\s\|\|?|\s&&|;)\s", span)):
        try:
            words = shlex.split(command)
        except ValueError:
            words = command.split()
        words = [re.sub(r'^[\[("]+|[\])}",.;:]+$', "", w).removeprefix("./") for w in words]
        runs = next((w for w in words if not re.match(r"[A-Za-z_]\w*=|(env|sudo|exec)$", w)), "")
        options = [w.split("=")[0] for w in words if re.match(r"--[a-z0-9]", w)]
        if SCRIPT.fullmatch(runs):
            given, started = given + [(runs, o) for o in options], started + [runs]
        elif runs.startswith("--") and last:
            given += [(last, o) for o in options]
        elif runs.startswith("--"):
            alone += options
        for script in filter(SCRIPT.fullmatch, words):
            given, alone, last = given + [(script, o) for o in alone], [], script
    return given, alone, started

def reads_option(root, script, option):
    """Whether SCRIPT, or a scripts/lib file it sources, reads OPTION outside its comments."""
    text = Path(root, script).read_text(encoding="utf-8")
    for lib in (Path(root, "scripts/lib", n) for n in re.findall(r"(?m)^\s*\. .*?([\w-]+\.sh)", text)):
        text += lib.read_text(encoding="utf-8") if lib.is_file() else ""
    code = "\n".join(line for line in text.splitlines() if not line.lstrip().startswith("#"))
    return re.search(r"(^|[^\w-])" + re.escape(option) + r"([^\w-]|$)", code, re.M)

def printed_lines(root):
    """For each WORD, a pattern of each line the scripts print that starts with "WORD: ": an echo, or a call
    of a helper that echoes "WORD: $*". An expansion matches any text, such as N or COMMIT in a document."""
    text = "\n".join(Path(f).read_text(encoding="utf-8") for p in ("scripts/*.sh", "scripts/lib/*.sh",
                     "tests/*.sh", "tests/release/*.sh", ".ci/*") for f in glob.glob(os.path.join(root, p)))
    helpers, lines = {"echo": [""]}, {}
    for name, body in re.findall(r"(?ms)^\s*([a-z_]\w*)\(\) *\{(.*?\}[ \t;]*)$", text):
        helpers.setdefault(name, []).extend(re.findall(r'echo "([a-z][a-z0-9-]*: )\$\*"', body))
    # A command continued with a backslash is one line; echo joins its words with a space.
    for line in re.sub(r'" +"', " ", re.sub(r"\\\n", " ", text)).splitlines():
        calls = [] if re.search(r'\(\) *\{|echo "[a-z][a-z0-9-]*: \$\*"', line) else helpers.items()
        for said in (word + m[1] for name, words in calls for word in words
                     for m in re.finditer(rf'(?:^|\W){name} "(.*)', line)):
            said = (said.rpartition('"')[0] or said).replace("\\$", "\2")
            said = re.sub(r"\$\{[^}]*\}|\$\(\([^)]*\)\)|\$\([^)]*\)|\$([A-Za-z_]\w*|[0-9*@#?!-])", "\1", said)
            if re.match(r"[a-z][a-z0-9-]*: ", said):
                pieces = said.replace('\\"', '"').replace("\2", "$").split("\1")
                lines.setdefault(said.split(":")[0], []).append(re.compile(".*".join(map(re.escape, pieces))))
    return lines

def doc_findings(root, doc, text, printers):
    """A document's findings in ROOT. An option left to none goes with the script of its section's synopsis."""
    found, synopses, level = [], [], 0
    for kind, line, thing in walk(text):
        if kind == "heading":
            level, synopses = thing, [s for s in synopses if s[0] < thing]
        elif kind == "link" and not re.match(r"(https?|mailto):", thing):
            target = thing.partition("#")[0]
            if target and not os.path.exists(os.path.join(root, os.path.dirname(doc), target)):
                found.append(f"{doc}:{line}: the link {target} leads nowhere")
        elif kind == "prose":  # cut into sentences at ".", "?" or "!", with any closing marks
            ends = [m.end() for m in re.finditer(r"[.?!][\"')*`]*(?=\s|$)", thing)]
            for start, end in zip([0] + ends, ends + [len(thing)]):
                if len(words := thing[start:end].split()) > SENTENCE_WORDS:
                    at = line + thing.count("\n", 0, start) + thing.startswith("\n", start)
                    found.append(f"{doc}:{at}: a sentence of {len(words)} words: {' '.join(words)[:60]}...")
        elif kind in ("code", "line"):
            given, alone, started = given_options(thing)
            for script in started if kind == "code" else []:
                synopses.append((level, script))
                if Path(root, script).is_file() and not os.access(Path(root, script), os.X_OK):
                    found.append(f"{doc}:{line}: {script} is given as a command and is not executable")
            for script, option in given + [(synopses[-1][1], o) for o in alone if synopses]:
                if Path(root, script).is_file() and not reads_option(root, script, option):
                    found.append(f"{doc}:{line}: {option} is not an option {script} reads")
            for span in thing if kind == "line" else []:
                word = re.match(r"([a-z][a-z0-9-]*): ", span)
                if word and word[1] in printers and not any(p.fullmatch(span) for p in printers[word[1]]):
                    found.append(f"{doc}:{line}: `{span}` is no line that a script prints")
    return found

def tree_findings(root, docs):
    texts = {doc: Path(root, doc).read_text(encoding="utf-8") for doc in docs}
    # The reads outside the documents and the build (ignored by git); CMake writes its own ${NAME} too.
    grep = subprocess.run(["git", "-C", root, "grep", "--no-index", "--exclude-standard", "-InoE", READS, "--",
                           ".", ":!docs", ":!README.md"], stdout=subprocess.PIPE, text=True, check=False).stdout
    reads = [(path, int(n), read[read.index("ZEFMOR_"):]) for path, n, read in
             (g.split(":", 2) for g in grep.splitlines()) if read.startswith("$ENV{") or not CMAKE.search(path)]
    found, printers = [], printed_lines(root)
    for doc, text in texts.items():
        # A name, or a path; a pattern such as scripts/*.sh must match a file.
        for m in re.finditer(r"ZEFMOR_[A-Z0-9_]+|(?<![\w.-])(scripts|tests|docs|cmake|\.ci)/[\w./*-]*", text):
            name, line = m[0].rstrip("."), text.count("\n", 0, m.start()) + 1
            if not m[1] and name not in {r[2] for r in reads}:
                found.append(f"{doc}:{line}: {name} is read nowhere in the tree")
            elif m[1] and not glob.glob(os.path.join(root, name)):
                found.append(f"{doc}:{line}: {name} does not exist")
        found += doc_findings(root, doc, text, printers)
        lines, most = text.count("\n"), README_LINES if doc == "README.md" else DOC_LINES
        found += [f"{doc}:{lines}: {doc} has {lines} lines, more than {most}"] if lines > most else []
    for path, n, name in sorted(set(reads)):
        if re.match(r"(scripts|tests/release|tests/build|cmake|\.ci)/", path) and \
                not any(re.search(rf"\b{name}\b", text) for text in texts.values()):
            found.append(f"{path}:{n}: {name} is read here and explained in no document")
    for command in ("scripts/run.sh", "scripts/test.sh"):
        first = next((n for n, line in enumerate(texts["README.md"].splitlines(), 1) if command in line), 0)
        if not 0 < first <= README_COMMANDS:
            found.append(f"README.md:{first}: {command} is not within its first {README_COMMANDS} lines")
    return found

# The options and quotes checks' own cases, in a small tree: each row is a document line and the text its
# finding must hold, or - for none. A list item falls under the synopsis of its section, up to a heading.
FILES = {"scripts/tool.sh": '# scripts/tool.sh [--commit COMMIT] [--old]\n. "$root/scripts/lib/opts.sh"\n'
                            'case $1 in --commit) shift 2 ;; esac\necho "tool: $passed passed, $failed failed"\n',
         "scripts/lib/opts.sh": 'case $1 in --with) shift 2 ;; esac\nsays() { echo "tool: $*"; }\n'
                                'says "rebuilt ${1#v} in $(pwd)" \\\n    "at last"\n'}
CASES = """-\t# Tool
-\t    scripts/tool.sh --commit C --with F
--rev\t    scripts/tool.sh --commit C \\
-\t        --rev D
--rev\t`scripts/tool.sh --rev C` runs it.
--old\t`--old` is what `scripts/tool.sh` once read.
-\t`ctest --test-dir b` runs what `scripts/tool.sh` built.
-\tIt ends with `tool: N passed, 0 failed`.
`tool: N passed, 0 fail`\tIt ends with `tool: N passed, 0 fail`.
-\tOr with `tool: rebuilt COMMIT in FOLDER at last`.
`tool: rebuilt COMMIT`\tNot with `tool: rebuilt COMMIT`.
-\t- `--with F` puts F in.
--gone\t- `--gone` is no more.
-\t# Elsewhere
-\t- `--gone` is another program's."""

def case_findings():
    rows = [row.split("\t", 1) for row in CASES.splitlines()]
    with tempfile.TemporaryDirectory(prefix="zefmor-docs-cases.") as cases:
        Path(cases, "scripts/lib").mkdir(parents=True)
        for path, text in FILES.items():
            Path(cases, path).write_text(text, encoding="utf-8")
        Path(cases, "scripts/tool.sh").chmod(0o755)
        given = doc_findings(cases, "case.md", "\n".join(row[1] for row in rows), printed_lines(cases))
    got = [" | ".join(g for g in given if g.startswith(f"case.md:{n}: ")) for n in range(1, len(rows) + 1)]
    return [f"tests/docs.py: its case '{text}' gives {found or 'nothing'}, not {expected}"
            for (expected, text), found in zip(rows, got) if (found if expected == "-" else expected not in found)]

if __name__ == "__main__":
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    docs = ["README.md"] + sorted(os.path.relpath(d, root) for d in glob.glob(os.path.join(root, "docs/*.md")))
    findings = tree_findings(root, docs) + case_findings()
    for finding in findings:
        print("docs:", finding, file=sys.stderr)
    if findings:
        sys.exit(1)
    print("docs: every path, option, quoted line and ZEFMOR_* variable the documents give is true to the"
          " tree, and every variable the scripts read is explained")
