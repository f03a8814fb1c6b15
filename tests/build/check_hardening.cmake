# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Reads the exploit protections back from the built program, so a flag lost from the build is
# noticed on any host: randomised addresses with the relocations they need, the high-entropy range
# on x64, no code run from data pages, terminal-server awareness, and stack cookies in the code.
cmake_minimum_required(VERSION 3.20)
# Run with -DEXE=<program> -DOBJDUMP=<objdump of the toolchain> -DMAP=<its link map> -DARCH=<x86|amd64>.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE header RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump failed on ${EXE}")
endif()

function(require_flag field bit name)
    if(NOT header MATCHES "\n${field}[ \t]+(0x)?([0-9a-fA-F]+)")
        message(FATAL_ERROR "${EXE} shows no ${field}")
    endif()
    math(EXPR set "0x${CMAKE_MATCH_2} & ${bit}")
    if(NOT set)
        message(FATAL_ERROR "${EXE} lacks ${name}")
    endif()
    message(STATUS "${name}")
endfunction()

require_flag(DllCharacteristics 0x0040 DYNAMIC_BASE)
require_flag(DllCharacteristics 0x0100 NX_COMPAT)
require_flag(DllCharacteristics 0x8000 TERMINAL_SERVER_AWARE)
if(ARCH STREQUAL "amd64")
    require_flag(DllCharacteristics 0x0020 HIGH_ENTROPY_VA)
endif()

# Randomised addresses need the relocations to move the program: not stripped, and present.
if(NOT header MATCHES "\nCharacteristics 0x([0-9a-fA-F]+)")
    message(FATAL_ERROR "${EXE} shows no file characteristics")
endif()
math(EXPR stripped "0x${CMAKE_MATCH_1} & 0x0001")
if(stripped OR NOT header MATCHES "Entry 5 [0-9a-fA-F]+ ([0-9a-fA-F]+) Base Relocation Directory")
    message(FATAL_ERROR "${EXE} has no relocations, so it always loads at one address")
endif()
math(EXPR relocations "0x${CMAKE_MATCH_1}")
if(relocations EQUAL 0)
    message(FATAL_ERROR "${EXE} has an empty relocation directory, so it always loads at one address")
endif()
message(STATUS "relocations: ${relocations} bytes")

# Stack cookies: protected functions end by calling the check that stops the program when their
# cookie was overwritten. The stripped program has no names, so the link map says where it is.
file(STRINGS ${MAP} check REGEX "^ +0x[0-9a-fA-F]+ +_*stack_chk_fail$")
if(NOT check MATCHES "0x0*([0-9a-fA-F]+)")
    message(FATAL_ERROR "${EXE} has no stack-cookie check linked in: no function is protected")
endif()
set(address ${CMAKE_MATCH_1})
execute_process(COMMAND ${OBJDUMP} -d ${EXE} OUTPUT_VARIABLE code RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump could not disassemble ${EXE}")
endif()
string(REGEX MATCHALL "\t(call|j[a-z]+) +0x${address}\n" calls "${code}")
list(LENGTH calls count)
if(count EQUAL 0)
    message(FATAL_ERROR "${EXE} never calls its stack-cookie check: no function is protected")
endif()
message(STATUS "stack cookies: ${count} calls to the check at 0x${address}")
