# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Fails unless the program imports only DLLs that every Windows has: no compiler runtime DLLs.
cmake_minimum_required(VERSION 3.20)
# Run with -DEXE=<program> -DOBJDUMP=<objdump of the toolchain>.
set(allowed advapi32.dll bcrypt.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll
            ole32.dll shell32.dll user32.dll)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump failed on ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
if(NOT names)
    message(FATAL_ERROR "${EXE} shows no import table")
endif()
foreach(entry IN LISTS names)
    string(REPLACE "DLL Name: " "" dll "${entry}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" lower)
    if(NOT lower IN_LIST allowed)
        message(FATAL_ERROR "${EXE} needs ${dll}, which a clean Windows does not have")
    endif()
    message(STATUS "imports ${dll}")
endforeach()
# A windowed program: the GUI subsystem (2), so no console opens with it.
if(NOT dump MATCHES "Subsystem[ \t]+0+2[ \t]")
    message(FATAL_ERROR "${EXE} is not a GUI subsystem program")
endif()
