# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# What Zefmor.exe may link in that is not ours, and where its terms are. cmake/third_party.cmake
# names in THIRD-PARTY.txt each file the link map shows, with the copyright lines and the full text
# of its licence as the Debian copyright file of the package it came from gives them, and stops the
# build on a linked file or archive member this table does not cover, and on a file whose package
# was built from another source package than its row names. Add a row only once its terms are read.
#
#   third_party(COMPONENT SOURCE-PACKAGE FROM SOURCE FILES FILE...)
#   third_party(COMPONENT SOURCE-PACKAGE FROM SOURCE MEMBERS ARCHIVE NAME...)
#       For a package whose copyright file is in Debian's machine-readable form: the files, or the
#       members of ARCHIVE, were built from SOURCE, a path in the source package's tree, and the
#       copyright file's paragraph whose Files: covers SOURCE gives their terms. In SOURCE, % stands
#       for the member's NAME, or for a whole file's name without "lib" and its extension. A member's
#       NAME is its name in the archive without the lib32_/lib64_<library>_a- that the runtime's
#       build puts before it and without .o; * in NAME stands for any characters. A * in SOURCE is
#       taken as it stands, so only a pattern of Debian's that covers any characters there covers it.
#       An archive with MEMBERS rows is taken member by member: its members no row names stop the
#       build. A member named by several rows (two sources can give one name) gets all their terms.
#   third_party(COMPONENT SOURCE-PACKAGE LICENCE NAME COPYRIGHT FIRST-WORDS
#               TEXT TITLE FIRST-LINE FILES FILE...)
#       For a package whose copyright file is free text: the copyright lines are its paragraph that
#       begins with FIRST-WORDS, the licence is NAME, and the text given under TITLE runs from the
#       line FIRST-LINE to the next two empty lines.

# mingw-w64 (Debian 12's copyright file, and Debian 13's): crt/ and misc/ are public domain, apart
# from a few files of misc/ named on their own; gdtoa/ is Lucent's (qnan.c and strtodnrp.c David M.
# Gay's); everything no paragraph names, the import definitions among it, is ZPL-2.1.
third_party("MinGW-w64 start-up code" mingw-w64 FROM mingw-w64-crt/crt/crtexe.c FILES crt2.o)
# All of libmingw32.a is built from crt/ (mingw-w64 10 and 12).
third_party("MinGW-w64 start-up code" mingw-w64 FROM mingw-w64-crt/crt/%.c MEMBERS libmingw32.a
    _newmode CRT_fp10 charmax cinitexe crt0_c crt0_w crt_handler crtexewin cxa_atexit
    cxa_thread_atexit dll_argv dllargv gccmain merr mingw_custom mingw_helpers natstart pesect
    pseudo-reloc pseudo-reloc-list tls_atexit tlsmcrt tlsmthread tlssup tlsthrd ucrtexewin udll_argv
    udllargc usermatherr wildcard xncommod xthdloc xtxtmode)
third_party("MinGW-w64 runtime library" mingw-w64 FROM mingw-w64-crt/misc/%.c MEMBERS libmingwex.a
    mingw_matherr)
# The conversions of floating-point numbers to text and back, which formatted printing pulls in.
third_party("MinGW-w64 runtime library" mingw-w64 FROM mingw-w64-crt/gdtoa/%.c MEMBERS libmingwex.a
    dmisc dtoa g__fmt g_dfmt g_ffmt g_xfmt gdtoa gethex gmisc hd_init hexnan misc qnan smisc strtodg
    strtodnrp strtof strtopx sum ulp)
# mingw-w64 10 builds a second strtof into libmingwex.a, from stdio/.
third_party("MinGW-w64 runtime library" mingw-w64 FROM mingw-w64-crt/stdio/%.c MEMBERS libmingwex.a
    strtof)
third_party("MinGW-w64 runtime library" mingw-w64 FROM mingw-w64-crt/misc/%.c MEMBERS libmsvcrt.a
    __p__acmdln __p__commode __p__fmode invalid_parameter_handler)
third_party("MinGW-w64 runtime library" mingw-w64 FROM mingw-w64-crt/stdio/%.c MEMBERS libmsvcrt.a
    acrt_iob_func)
third_party("MinGW-w64 runtime library" mingw-w64 FROM mingw-w64-crt/lib-common/msvcrt.def.in
    MEMBERS libmsvcrt.a libmsvcrt_def*)
# Import libraries are built from lib32/<name>.def (x86) or lib-common/<name>.def or .def.in (x64).
third_party("MinGW-w64 import stubs of the Windows system libraries" mingw-w64
    FROM mingw-w64-crt/lib*/%.def* FILES
    libadvapi32.a libbcrypt.a libcomctl32.a libcomdlg32.a libgdi32.a libkernel32.a libole32.a
    libshell32.a libuser32.a)
# The GCC packages' copyright file (gcc-mingw-w64-base's) holds the runtime library exception whole;
# GPL-3.0's own terms ask nothing of a program that links code under the exception.
third_party("GCC support code" gcc-mingw-w64
    LICENCE "GPL-3.0-or-later with the GCC Runtime Library Exception 3.1"
    COPYRIGHT "GCC is Copyright"
    TEXT "GCC Runtime Library Exception 3.1" "GCC RUNTIME LIBRARY EXCEPTION"
    FILES crtbegin.o crtend.o libgcc.a libgcc_eh.a libssp.a libssp_nonshared.a libstdc++.a)
