# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Builds a target that must not build, and passes only where the build stopped for the reason
# given: a warning lets the build go on, and a build stopped for another reason proves nothing.
cmake_minimum_required(VERSION 3.20)
# Run with -DBUILD_DIR=<build tree> -DTARGET=<target> -DREASON=<regular expression>.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${TARGET}
                OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
message(STATUS "${out}")
if(rc EQUAL 0)
    message(FATAL_ERROR "${TARGET} was built, though it should have been refused")
endif()
if(NOT out MATCHES "${REASON}")
    message(FATAL_ERROR "${TARGET} failed to build, but not with \"${REASON}\"")
endif()
