# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
"""third_party.py MAP BUILD_DIR OUTPUT: writes THIRD-PARTY.txt from the link map of that very build.

Each file or archive member from outside the build tree that went into Zefmor.exe is named with its
Debian package and version, and the terms its copyright file gives for the source it was built from
(third_party_table.py); then the licences' texts, each once. What the table does not cover stops
the build. Without Debian's package database the notice says so.
"""
import fnmatch
import functools
import os
import re
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True  # the build writes nothing into the sources
from third_party_table import ROWS  # noqa: E402

try:
    from debian import copyright  # Debian's own reader of its copyright files
except ImportError:
    copyright = None

TABLE = "cmake/third_party_table.py"


def stop(message):
    sys.exit(f"third_party: {message}")


def linked_files(map_text):
    """{path: [member...]}: the archives the linker took members from, then the loose objects."""
    heading = "Archive member included to satisfy reference by file (symbol)\n"
    if heading not in map_text:
        stop("the link map lists no archive members, so what went in cannot be told")
    section = map_text[map_text.index(heading):]
    following = "Allocating common symbols|Discarded input sections|Memory Configuration"
    section = re.split(rf"\n(?:{following})\n", section)[0]
    linked = {}
    for path, member in re.findall(r"\n([^ \n][^(\n]*)\(([^)\n]*)\)", section):
        linked.setdefault(path, []).append(member)
    for path in re.findall(r"^LOAD (.*\.o(?:bj)?)$", map_text, re.M):
        linked.setdefault(path, [])
    return linked


def items_of(linked, build_dir):
    """Each linked file, or member of an archive the table takes member by member, as a dict with
    its row and the source it was built from."""
    tree, items = os.path.realpath(build_dir) + "/", []
    for path, members in linked.items():
        resolved = os.path.realpath(os.path.join(build_dir, path))
        name = os.path.basename(resolved)
        by_member = [row for row in ROWS if row.get("archive") == name]
        # (row, member as the notice names it, what % stands for in the row's source)
        taken = [(row, "", re.sub(r"^lib|\.[^.]*$", "", name)) for row in ROWS
                 if not by_member and name in row.get("files", "").split()]
        if resolved.startswith(tree):
            continue
        for member in dict.fromkeys(members) if by_member else []:
            stem = re.sub(r"^lib(32|64)_[^-]*_a-|\.o$", "", member)
            found = []
            for row in by_member:  # each row's first name that covers the member
                covering = [p for p in row["members"].split() if fnmatch.fnmatchcase(stem, p)]
                found += [(row, covering[0] + ".o", stem)] if covering else []
            if not found:
                stop(f"Zefmor.exe links in {member} of {name} ({resolved}), "
                     f"which {TABLE} does not cover")
            taken += found
        if not taken:
            member = f"{members[0]} from " if members else ""
            stop(f"Zefmor.exe links in {name} ({member}{resolved}), which {TABLE} does not know")
        items += [dict(path=resolved, file=name, row=row, member=member, source=row.get(
            "built_from", "").replace("%", stem)) for row, member, stem in taken]
    return items


def packages_of(paths):
    """{path: package} and {package: (source package, version)}, where dpkg knows them."""
    if not shutil.which("dpkg-query") or not paths:
        return {}, {}
    run = dict(stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    owners = subprocess.run(["dpkg-query", "-S", *paths], **run).stdout
    package_of = {path: package for package, path
                  in re.findall(r"^(?!diversion by )([^:, ]+)[^/\n]*: (/.*)$", owners, re.M)}
    shown = subprocess.run(["dpkg-query", "-W", "-f=${Package} ${source:Package} ${Version}\\n",
                            *sorted(set(package_of.values()))], **run).stdout if package_of else ""
    return package_of, {m[0]: m[1:] for m in re.findall(r"^(\S+) (\S+) (.+)$", shown, re.M)}


@functools.lru_cache(maxsize=None)
def read_copyright(path):
    """The machine-readable copyright file at PATH, and the licences' texts it holds, by name."""
    if copyright is None:
        stop(f"{sys.executable} cannot read {path}: install python3-debian")
    with open(path, encoding="utf-8") as f:
        parsed = copyright.Copyright(f, strict=False)
    return parsed, {p.license.synopsis: p.license.text for p in parsed.all_paragraphs()
                    if getattr(p, "license", None) and p.license.text}


def terms_of(row, source, path, texts):
    """(order, copyright lines, licence) that the copyright file PATH gives for SOURCE of ROW; the
    texts of its licences go into TEXTS, each once."""
    if "built_from" in row:
        parsed, given = read_copyright(path)
        # The last paragraph whose Files: covers the source decides, as the format has it.
        found = parsed.find_files_paragraph(source)
        if found is None:
            stop(f"{path} gives no terms for {source}")
        licence = found.license.synopsis
        # A licence may be an expression of several, each with its own text.
        needed = {name: given.get(name) for name in re.split(r" +(?:and|or) +", licence)
                  if name != "public-domain"}
        for name, text in needed.items():
            if text is None or "/usr/share/" in text:
                stop(f"{path} holds no text of {name}, the licence of {source}")
        order = next(i for i, p in enumerate(parsed.all_files_paragraphs()) if p is found)
        key, lines = (path, 0, order), re.sub(r"\n[ \t]+", "\n", found.copyright)
    else:
        with open(path, encoding="utf-8") as f:
            content = "\n" + f.read()
        (title, first), licence = row["text"], row["licence"]
        start, text_start = content.find("\n" + row["copyright"]), content.find(f"\n{first}\n")
        if start == -1 or text_start == -1:
            stop(f"{path} no longer holds a paragraph beginning \"{row['copyright']}\" "
                       f"and a line \"{first}\"")
        needed = {title: content[text_start + 1:].split("\n\n\n")[0] + "\n"}
        key, lines = (path, 1, ROWS.index(row)), " ".join(content[start:].split("\n\n")[0].split())
    for name, text in needed.items():
        if texts.setdefault(name, text) != text:
            stop(f"{path} gives another text for {name} than the notice already holds")
    return key, lines, licence


def wrap(text):
    """Words on lines of at most 75 characters, the lines after the first indented by 13."""
    lines = [""]
    for word in text.split():
        if lines[-1] and 13 + len(lines[-1]) + 1 + len(word) > 75:
            lines.append("")
        lines[-1] += (" " if lines[-1] else "") + word
    return ("\n" + " " * 13).join(lines)


HEADING = """Zefmor.exe: the code of others it holds
========================================

Zefmor is under the MIT licence: see LICENSE.txt. Zefmor.exe is linked
statically, so it also holds the code of others listed below, as the link
map of this very build shows it. Each part came with the compiler"""
KNOWN = """, from the
Debian package named, whose copyright file gives the copyright lines and the
licence of the source it was built from, quoted here. The texts of the
licences follow the list, each once; public-domain parts need none.
"""
UNKNOWN = """; where it
was built no Debian package held it, so the licence files of the compiler
give its terms.
"""


def notice(items, package_of, source_of):
    texts, groups = {}, {}  # groups: {component: {terms: [item...]}}
    for item in items:
        row, package = item["row"], package_of.get(item["path"])
        if package in source_of and source_of[package][0] != row["source_package"]:
            stop(f"{item['file']} comes from {package}, built from the source package "
                       f"{source_of[package][0]}, but its row in {TABLE} names "
                       f"{row['source_package']}")
        copyright_file = f"/usr/share/doc/{package}/copyright"
        if not package:
            key, item["terms"] = ("~unknown",), None
        elif not os.path.exists(copyright_file):
            stop(f"{package}, which {item['file']} comes from, has no {copyright_file}")
        else:
            copyright_file = os.path.realpath(copyright_file)
            key, *item["terms"] = terms_of(row, item["source"], copyright_file, texts)
        groups.setdefault(row["component"], {}).setdefault(key, []).append(item)

    text = HEADING + (KNOWN if any(i["terms"] for i in items) else UNKNOWN)
    for component in dict.fromkeys(row["component"] for row in ROWS):
        if component not in groups:
            continue
        text += f"\n{component}\n"
        # Groups in a fixed order: by the copyright file and paragraph that give their terms.
        for number, key in enumerate(sorted(groups[component])):
            group, taken, names = groups[component][key], {}, []
            for item in group:
                taken.setdefault(item["file"], set()).add(item["member"])
            # Whole files by name, members after the name of their archive.
            for name in sorted(taken):
                members = sorted(taken[name] - {""})
                names.append(name + (f"({', '.join(members)})" if members else ""))
            text += ("\n" if number else "") + f"  Files:     {wrap(', '.join(names))}\n"
            if group[0]["terms"] is None:
                text += ("  Package:   unknown (no Debian package holds it where it was built)\n"
                         "  Terms:     the licence files of the compiler it came with\n")
                continue
            for package in sorted({package_of[i["path"]] for i in group}):
                text += f"  Package:   {package} {source_of[package][1]}\n"
            lines, licence = group[0]["terms"]
            lines = lines.replace("\n", "\n" + " " * 13) if "\n" in lines else wrap(lines)
            text += f"  Copyright: {lines}\n  Licence:   {wrap(licence)}\n"
    if texts:
        text += "\n\nThe licences' texts\n===================\n"
        for name, body in texts.items():
            text += f"\n{name}\n{'-' * len(name)}\n\n{body.rstrip(chr(10))}\n"
    return text


if __name__ == "__main__":
    map_path, build_dir, output = sys.argv[1:]
    # A notice that no longer matches the program is worse than none.
    if os.path.exists(output):
        os.remove(output)
    with open(map_path, encoding="utf-8", errors="surrogateescape") as f:
        items = items_of(linked_files(f.read()), build_dir)
    text = notice(items, *packages_of(sorted({item["path"] for item in items})))
    # Read on Windows: CR LF line ends.
    with open(output + ".new", "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)
    os.replace(output + ".new", output)
