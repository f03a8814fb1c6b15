# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# A library the notice's table does not know stops the build, naming it: the notice is written
# from a copy of the program's real link map to which one member of winpthreads is added, as a
# std::mutex pulls it in (through libpthread.a), and must fail, name it and leave no THIRD-PARTY.txt.
cmake_minimum_required(VERSION 3.20)
# Run with -DMAP=<link map> -DBUILD_DIR=<build tree> -DWORK=<scratch folder>.
file(READ ${MAP} map)
if(NOT map MATCHES "\n([^\n(]*/)libmingwex\\.a\\(")
    message(FATAL_ERROR "${MAP} shows no libmingwex.a member to put winpthreads beside")
endif()
string(REPLACE "by file (symbol)\n\n"
    "by file (symbol)\n\n${CMAKE_MATCH_1}libpthread.a(libwinpthread_la-mutex.o)\n                              libzefmor_core.a(run.cpp.obj) (pthread_mutex_lock)\n"
    map "${map}")
file(REMOVE_RECURSE ${WORK})
file(WRITE ${WORK}/Zefmor.map "${map}")
execute_process(COMMAND ${CMAKE_COMMAND} -DMAP=${WORK}/Zefmor.map -DBUILD_DIR=${BUILD_DIR}
                        -DOUTPUT=${WORK}/THIRD-PARTY.txt -P ${CMAKE_CURRENT_LIST_DIR}/third_party.cmake
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(rc EQUAL 0 OR NOT out MATCHES "links in libpthread\\.a \\(libwinpthread_la-mutex\\.o from " OR EXISTS ${WORK}/THIRD-PARTY.txt)
    message(FATAL_ERROR "winpthreads linked in was not refused by name (exit ${rc}): ${out}")
endif()
string(STRIP "${out}" out)
message(STATUS "refused: ${out}")
