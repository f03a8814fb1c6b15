# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# What Zefmor.exe may link in that is not ours: for each component, its licence in a few words and
# the files the linker takes it from. cmake/third_party.cmake names in THIRD-PARTY.txt each
# component the link map shows, and stops the build on a linked file this table does not know:
# add a row only once its terms are read (for a Debian toolchain, in the package's copyright file).
# Terms that ask for their notice in every copy (winpthreads' MIT licence, for one) need that notice
# shipped in the release too, not only a row here.
#   third_party(COMPONENT LICENCE FILE...)

# Debian's copyright file of mingw-w64: crt/, of which crt2.o and libmingw32.a are built, is public
# domain; the rest of the runtime and the import libraries are ZPL-2.1.
third_party("MinGW-w64 start-up code" "public domain" crt2.o libmingw32.a)
third_party("MinGW-w64 runtime library" "ZPL-2.1 (Zope Public License 2.1)" libmingwex.a libmsvcrt.a)
third_party("MinGW-w64 import stubs of the Windows system libraries" "ZPL-2.1 (Zope Public License 2.1)"
    libadvapi32.a libbcrypt.a libcomctl32.a libcomdlg32.a libgdi32.a libkernel32.a libole32.a
    libshell32.a libuser32.a)
third_party("GCC support code" "GPL-3.0-or-later with the GCC Runtime Library Exception 3.1"
    crtbegin.o crtend.o libgcc.a libgcc_eh.a libssp.a libssp_nonshared.a libstdc++.a)
