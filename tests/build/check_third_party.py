# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
"""check_third_party.py MAP BUILD_DIR WORK: THIRD-PARTY.txt, written from copies of the program's
real link map, names every file and archive member the map shows linked from outside the build
tree; gives each package with the version dpkg-query reports; quotes the licence texts as the
packages' own copyright files hold them; gives Lucent's terms once a gdtoa member of libmingwex.a
is added; and stops the build, leaving no notice, on a member or library the table does not cover
and on a row naming another source package than the file's."""
import fnmatch
import io
import os
import re
import shutil
import subprocess
import sys
import unittest
from unittest import mock

# The notice's writer and its table are in cmake/, where the build runs them.
CMAKE_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "cmake")
MAP, BUILD_DIR, WORK = sys.argv[1:4]
sys.path.insert(0, CMAKE_DIR)
sys.dont_write_bytecode = True  # the check writes nothing into the sources
import third_party  # noqa: E402

with open(MAP, encoding="utf-8") as f:
    REAL_MAP = f.read()
MINGWEX, PREFIX = re.search(r"\n([^\n(]*/libmingwex\.a)\((lib\d+_libmingwex_a-)", REAL_MAP).groups()
LIBS = os.path.dirname(MINGWEX)
REFERENCE = "                              libzefmor_core.a(run.cpp.obj) (symbol)\n"
DPKG = shutil.which("dpkg-query")


def notice(name, added=""):
    """The notice and the generator's exit code and output, from the real map with ADDED put first
    among its archive members."""
    folder = os.path.join(WORK, name)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "Zefmor.map"), "w", encoding="utf-8") as f:
        f.write(REAL_MAP.replace("by file (symbol)\n\n", "by file (symbol)\n\n" + added, 1))
    output = os.path.join(folder, "THIRD-PARTY.txt")
    run = subprocess.run([sys.executable, os.path.join(CMAKE_DIR, "third_party.py"),
                          os.path.join(folder, "Zefmor.map"), BUILD_DIR, output],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if not os.path.exists(output):
        return None, run.returncode, run.stdout.strip()
    with open(output, encoding="utf-8") as f:
        return f.read(), run.returncode, run.stdout.strip()


def copyright_file(path):
    """The copyright file of the package that holds the file at PATH."""
    package = subprocess.run([DPKG, "-S", os.path.realpath(os.path.join(BUILD_DIR, path))],
                             stdout=subprocess.PIPE, text=True).stdout.split(":")[0]
    with open(f"/usr/share/doc/{package}/copyright", encoding="utf-8") as f:
        return f.read()


class Notice(unittest.TestCase):
    def test_names_every_part_the_map_shows_linked(self):
        written, code, out = notice("real")
        self.assertEqual(code, 0, out)
        listed = {}
        files = " ".join(" ".join(re.findall(r"  Files:     ([^:]*)\n  ", written)).split())
        for name, members in re.findall(r"([^\s,()]+)(?:\(([^)]*)\))?", files):
            listed.setdefault(name, []).extend(members.split(", ") if members else ["*"])
        tree = os.path.realpath(BUILD_DIR) + "/"
        section = REAL_MAP.split("Archive member included")[1].split("\nMemory Configuration\n")[0]
        parts = re.findall(r"\n([^ \n][^(\n]*)\(([^)\n]*)\)", section)
        parts += [(path, "*") for path in re.findall(r"^LOAD (.*\.o)$", REAL_MAP, re.M)]
        for path, member in parts:
            path = os.path.realpath(os.path.join(BUILD_DIR, path))
            if not path.startswith(tree):
                stem = re.sub(r"^lib(32|64)_[^-]*_a-", "", member)
                self.assertTrue(any(fnmatch.fnmatchcase(stem, pattern) for pattern
                                    in listed.get(os.path.basename(path), [])), f"{path}({member})")

    @unittest.skipUnless(DPKG, "no Debian package database here, so no copyright file to quote")
    def test_quotes_the_packages_own_terms(self):
        written, code, out = notice("real")
        from debian import copyright
        mingw = copyright.Copyright(io.StringIO(copyright_file(MINGWEX)), strict=False)
        zpl = next(p.license.text for p in mingw.all_paragraphs() if getattr(p, "license", None)
                   and p.license.synopsis == "ZPL-2.1" and p.license.text)
        everything = next(p for p in mingw.all_files_paragraphs() if p.files == ("*",))
        gcc_file = re.search(r"\n([^\n(]*/libgcc\.a)\(", REAL_MAP)[1]
        gcc = copyright_file(gcc_file)
        exception = gcc[gcc.index("\nGCC RUNTIME LIBRARY EXCEPTION\n") + 1:].split("\n\n\n")[0]
        for part in (f"Copyright: {everything.copyright}\n", zpl, exception):
            self.assertIn(part, written, out)
        self.assertNotIn("/usr/share", written)

        # The last paragraph that covers a gdtoa source is Lucent's, not the first (Files: *).
        written, code, out = notice("gdtoa", f"{LIBS}/libmingwex.a({PREFIX}dtoa.o)\n{REFERENCE}")
        lucent = next(p for p in mingw.all_files_paragraphs() if "mingw-w64-crt/gdtoa/*" in p.files)
        self.assertRegex(written, r"libmingwex\.a\(dtoa\.o\)\n[^\n]*\n  Copyright: "
                         + re.escape(lucent.copyright) + "\n  Licence:   Lucent\n")
        self.assertIn(lucent.license.text, written)

    @unittest.skipUnless(DPKG, "no Debian package database here, so no version to compare")
    def test_gives_each_package_its_installed_version(self):
        written, code, out = notice("real")
        given = re.findall(r"^  Package:   (.*)$", written, re.M)
        self.assertTrue(given, out)
        for line in given:
            package = line.split(" ")[0]
            version = subprocess.run([DPKG, "-W", "-f=${Version}", package],
                                     stdout=subprocess.PIPE, text=True).stdout
            self.assertEqual(line, f"{package} {version}")

    def test_stops_on_what_the_table_does_not_cover(self):
        written, code, out = notice("unknown", f"{MINGWEX}({PREFIX}not_in_the_table.o)"
                                    "\n" + REFERENCE)
        self.assertNotEqual(code, 0)
        self.assertRegex(out, f"links in {PREFIX}not_in_the_table\\.o of libmingwex\\.a ")
        self.assertIsNone(written)
        written, code, out = notice("winpthreads", f"{LIBS}/libpthread.a(libwinpthread_la-mutex.o)"
                                    "\n" + REFERENCE)
        self.assertNotEqual(code, 0)
        self.assertRegex(out, r"links in libpthread\.a \(libwinpthread_la-mutex\.o from ")
        self.assertIsNone(written)

    @unittest.skipUnless(DPKG, "no Debian package database here, so no source package to compare")
    def test_stops_on_a_row_naming_another_source_package(self):
        rows = [dict(row) for row in third_party.ROWS]
        for row in rows:
            if "libgcc.a" in row.get("files", ""):
                row["source_package"] = "mingw-w64"
        with mock.patch.object(third_party, "ROWS", rows), self.assertRaises(SystemExit) as stopped:
            items = third_party.items_of(third_party.linked_files(REAL_MAP), BUILD_DIR)
            third_party.notice(items, *third_party.packages_of(sorted({i["path"] for i in items})))
        self.assertRegex(str(stopped.exception), r"\S+ comes from gcc-mingw-w64-\S+, built from "
                         r"the source package gcc-mingw-w64, but its row in \S+ names mingw-w64$")


if __name__ == "__main__":
    shutil.rmtree(WORK, ignore_errors=True)
    unittest.main(argv=sys.argv[:1] + sys.argv[4:], verbosity=2)
