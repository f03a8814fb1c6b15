# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
"""What Zefmor.exe may link in that is not ours, and where its terms are (third_party.py).

Add a row only once its terms are read. Each row names the component it is listed under and the
Debian source package its files come from, then either:
- "built_from", a path in that source's tree, for whole "files" or "members" of "archive" (names
  apart by spaces): the last paragraph of the package's machine-readable copyright file whose
  Files: covers it gives the terms. "%" stands for a member's name, or for a file's name without
  "lib" and its extension. A member's name leaves out the "lib32_/lib64_<library>_a-" the
  runtime's build puts before it and ".o"; * in it stands for any characters. An archive with
  member rows is taken member by member.
- "licence", "copyright" and "text", for a free-text copyright file: the copyright lines are the
  paragraph that begins with "copyright"; the text, under the title text[0], runs from the line
  text[1] to the next two empty lines.
"""

MINGW, STARTUP, RUNTIME = "mingw-w64", "MinGW-w64 start-up code", "MinGW-w64 runtime library"

# mingw-w64 (Debian 12's copyright file, and Debian 13's): crt/ and misc/ are public domain, apart
# from a few files of misc/ named on their own; gdtoa/ is Lucent's (qnan.c and strtodnrp.c David M.
# Gay's); everything no paragraph names, the import definitions among it, is ZPL-2.1.
ROWS = [
    dict(component=STARTUP, source_package=MINGW, built_from="mingw-w64-crt/crt/crtexe.c",
         files="crt2.o"),
    # All of libmingw32.a is built from crt/ (mingw-w64 10 and 12): listed member by member all the
    # same, so that a new member is read before it is shipped.
    dict(component=STARTUP, source_package=MINGW, built_from="mingw-w64-crt/crt/%.c",
         archive="libmingw32.a", members="""_newmode CRT_fp10 charmax cinitexe crt0_c crt0_w
         crt_handler crtexewin cxa_atexit cxa_thread_atexit dll_argv dllargv gccmain merr
         mingw_custom mingw_helpers natstart pesect pseudo-reloc pseudo-reloc-list tls_atexit
         tlsmcrt tlsmthread tlssup tlsthrd ucrtexewin udll_argv udllargc usermatherr wildcard
         xncommod xthdloc xtxtmode"""),
    dict(component=RUNTIME, source_package=MINGW, built_from="mingw-w64-crt/misc/%.c",
         archive="libmingwex.a", members="mingw_matherr"),
    # The conversions of floating-point numbers to text and back, which formatted printing pulls in.
    dict(component=RUNTIME, source_package=MINGW, built_from="mingw-w64-crt/gdtoa/%.c",
         archive="libmingwex.a", members="""dmisc dtoa g__fmt g_dfmt g_ffmt g_xfmt gdtoa gethex
         gmisc hd_init hexnan misc qnan smisc strtodg strtodnrp strtof strtopx sum ulp"""),
    # mingw-w64 10 builds a second strtof into libmingwex.a, from stdio/.
    dict(component=RUNTIME, source_package=MINGW, built_from="mingw-w64-crt/stdio/%.c",
         archive="libmingwex.a", members="strtof"),
    dict(component=RUNTIME, source_package=MINGW, built_from="mingw-w64-crt/misc/%.c",
         archive="libmsvcrt.a",
         members="__p__acmdln __p__commode __p__fmode invalid_parameter_handler"),
    dict(component=RUNTIME, source_package=MINGW, built_from="mingw-w64-crt/stdio/%.c",
         archive="libmsvcrt.a", members="acrt_iob_func"),
    dict(component=RUNTIME, source_package=MINGW,
         built_from="mingw-w64-crt/lib-common/msvcrt.def.in", archive="libmsvcrt.a",
         members="libmsvcrt_def*"),
    # Import libraries are built from lib32/NAME.def (x86), lib-common/NAME.def or .def.in (x64).
    dict(component="MinGW-w64 import stubs of the Windows system libraries", source_package=MINGW,
         built_from="mingw-w64-crt/lib*/%.def*", files="""libadvapi32.a libbcrypt.a libcomctl32.a
         libcomdlg32.a libgdi32.a libkernel32.a libole32.a libshell32.a libuser32.a"""),
    # The GCC packages' copyright file (gcc-mingw-w64-base's) holds the runtime library exception
    # whole; GPL-3.0's own terms ask nothing of a program that links code under the exception.
    dict(component="GCC support code", source_package="gcc-mingw-w64",
         licence="GPL-3.0-or-later with the GCC Runtime Library Exception 3.1",
         copyright="GCC is Copyright",
         text=("GCC Runtime Library Exception 3.1", "GCC RUNTIME LIBRARY EXCEPTION"),
         files="crtbegin.o crtend.o libgcc.a libgcc_eh.a libssp.a libssp_nonshared.a libstdc++.a"),
]
