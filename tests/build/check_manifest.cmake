# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Reads the manifest straight from the built program, so it is checked on hosts that cannot run
# the program too: it must name the build's own architecture everywhere (a mismatch stops the
# program loading) and ask to run as the invoking user.
cmake_minimum_required(VERSION 3.20)
# Run with -DEXE=<program> -DARCH=<x86|amd64>.
file(STRINGS ${EXE} architectures REGEX "processorArchitecture=\"[^\"]*\"")
if(NOT architectures)
    message(FATAL_ERROR "${EXE} carries no manifest naming an architecture")
endif()
string(REGEX MATCHALL "processorArchitecture=\"[^\"]*\"" named "${architectures}")
foreach(entry IN LISTS named)
    if(NOT entry STREQUAL "processorArchitecture=\"${ARCH}\"")
        message(FATAL_ERROR "${EXE} is built for ${ARCH}, but its manifest says ${entry}")
    endif()
endforeach()
file(STRINGS ${EXE} level REGEX "requestedExecutionLevel[^>]*level=\"asInvoker\"")
if(NOT level)
    message(FATAL_ERROR "${EXE} does not ask to run as the invoking user")
endif()
list(LENGTH named count)
message(STATUS "manifest names ${ARCH} ${count} times and asks for asInvoker")
