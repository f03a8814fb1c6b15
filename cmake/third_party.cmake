# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Writes THIRD-PARTY.txt beside Zefmor.exe from the link map of that very build: every component
# that is not ours and went into the program, with its licence (cmake/third_party_table.cmake),
# the Debian package and version it came from, and where its full terms are. Linked in are the
# loose objects the linker loaded and the archives it took at least one member from; what the build
# tree holds is ours. A linked file the table does not know stops the build, naming it.
cmake_minimum_required(VERSION 3.20)
# Run with -DMAP=<link map> -DBUILD_DIR=<build tree, where the linker ran> -DOUTPUT=<THIRD-PARTY.txt>.

# A notice that no longer matches the program is worse than none.
file(REMOVE ${OUTPUT})
set(components "")
macro(third_party component licence)
    list(LENGTH components index)
    list(APPEND components ${index})
    set(component_${index} "${component}")
    set(licence_${index} "${licence}")
    foreach(known ${ARGN})
        set(owner_${known} ${index})
    endforeach()
endmacro()
include(${CMAKE_CURRENT_LIST_DIR}/third_party_table.cmake)

file(READ ${MAP} map)
# The archives the linker took members from, each listed once per member at the start of a line in
# the map's first section, which ends where the next one begins.
string(FIND "${map}" "Archive member included to satisfy reference by file (symbol)\n" start)
if(start EQUAL -1)
    message(FATAL_ERROR " ${MAP} lists no archive members, so what went into Zefmor.exe cannot be told")
endif()
string(SUBSTRING "${map}" ${start} -1 members)
string(LENGTH "${members}" end)
foreach(next "\nAllocating common symbols\n" "\nDiscarded input sections\n" "\nMemory Configuration\n")
    string(FIND "${members}" "${next}" at)
    if(at GREATER -1 AND at LESS end)
        set(end ${at})
    endif()
endforeach()
string(SUBSTRING "${members}" 0 ${end} members)
# Variables about a file are keyed by a hash of its path, which may hold any character.
string(REGEX MATCHALL "\n[^ \n][^(\n]*\\([^)\n]*\\)" archives "${members}")
set(linked "")
foreach(entry ${archives})
    string(REGEX MATCH "^\n(.*)\\((.*)\\)$" entry "${entry}")
    string(MD5 key "${CMAKE_MATCH_1}")
    if(NOT DEFINED member_${key})
        set(member_${key} "${CMAKE_MATCH_2} from ")
        list(APPEND linked "${CMAKE_MATCH_1}")
    endif()
endforeach()
# The loose objects it loaded whole.
file(STRINGS ${MAP} objects REGEX "^LOAD .*\\.o(bj)?$")
foreach(entry ${objects})
    string(REGEX REPLACE "^LOAD " "" entry "${entry}")
    list(APPEND linked "${entry}")
endforeach()

file(REAL_PATH ${BUILD_DIR} tree)
foreach(path ${linked})
    file(REAL_PATH "${path}" resolved BASE_DIRECTORY ${BUILD_DIR})
    string(FIND "${resolved}/" "${tree}/" in_tree)
    if(in_tree EQUAL 0)
        continue()
    endif()
    get_filename_component(name "${resolved}" NAME)
    if(NOT DEFINED owner_${name})
        string(MD5 key "${path}")
        message(FATAL_ERROR " Zefmor.exe links in ${name} (${member_${key}}${resolved}), which cmake/third_party_table.cmake does not know")
    endif()
    list(APPEND files_${owner_${name}} ${name})
    list(APPEND paths_${owner_${name}} "${resolved}")
    list(APPEND all_paths "${resolved}")
endforeach()

# Which Debian package each file came from, and its version, where the host has a package database.
find_program(DPKG_QUERY dpkg-query)
if(DPKG_QUERY AND all_paths)
    execute_process(COMMAND ${DPKG_QUERY} -S ${all_paths} OUTPUT_VARIABLE owners ERROR_QUIET)
    string(REGEX MATCHALL "[^\n]+" owners "${owners}")
    foreach(line ${owners})
        if(NOT line MATCHES "^diversion by " AND line MATCHES "^([^:, ]+)[^/]*: (/.*)$")
            string(MD5 key "${CMAKE_MATCH_2}")
            set(package_of_${key} ${CMAKE_MATCH_1})
            list(APPEND packages ${CMAKE_MATCH_1})
        endif()
    endforeach()
    if(packages)
        list(REMOVE_DUPLICATES packages)
        execute_process(COMMAND ${DPKG_QUERY} -W "--showformat=\${Package} \${Version}\\n" ${packages}
                        OUTPUT_VARIABLE versions ERROR_QUIET)
        string(REGEX MATCHALL "[^\n]+" versions "${versions}")
        foreach(line ${versions})
            if(line MATCHES "^([^ ]+) (.+)$")
                set(version_of_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
            endif()
        endforeach()
    endif()
endif()

set(text "Zefmor.exe: the code of others it holds
========================================

Zefmor is under the MIT licence: see LICENSE.txt. Zefmor.exe is linked
statically, so it also holds the code of others listed below, as the link
map of this very build shows it. Each part came with the compiler, from the
Debian package named; its full terms are in the file named.
")
foreach(index ${components})
    if(NOT files_${index})
        continue()
    endif()
    list(REMOVE_DUPLICATES files_${index})
    list(SORT files_${index})
    # Names on lines of at most 75 characters.
    set(names "")
    set(width 11)
    foreach(name ${files_${index}})
        string(LENGTH "${name}, " length)
        math(EXPR width "${width} + ${length}")
        if(names AND width GREATER 76)
            string(APPEND names ",\n           ")
            math(EXPR width "11 + ${length}")
        elseif(names)
            string(APPEND names ", ")
        endif()
        string(APPEND names "${name}")
    endforeach()
    string(APPEND text "\n${component_${index}}\n  Licence: ${licence_${index}}\n  Files:   ${names}\n")
    set(from "")
    foreach(path ${paths_${index}})
        string(MD5 key "${path}")
        if(DEFINED package_of_${key})
            list(APPEND from ${package_of_${key}})
        else()
            list(APPEND from -)
        endif()
    endforeach()
    list(REMOVE_DUPLICATES from)
    list(SORT from)
    foreach(package ${from})
        if(DEFINED version_of_${package})
            string(APPEND text "  Package: ${package} ${version_of_${package}}\n"
                               "  Terms:   /usr/share/doc/${package}/copyright\n")
        else()
            string(APPEND text "  Package: unknown (no Debian package holds it where it was built)\n"
                               "  Terms:   the licence files of the compiler it came with\n")
        endif()
    endforeach()
endforeach()
# Read on Windows: CR LF line ends.
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUTPUT}.new "${text}")
file(RENAME ${OUTPUT}.new ${OUTPUT})
