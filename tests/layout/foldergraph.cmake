# SPDX-License-Identifier: GPL-3.0-or-later
# The folders of src/ as a graph read from the includes: a folder includes only folders listed
# before it in src/CMakeLists.txt (so there is no cycle either), and the network library links
# no rules. Run as: cmake -DSRC=<src folder> -P foldergraph.cmake
file(STRINGS ${SRC}/CMakeLists.txt lines REGEX "^add_subdirectory\\(")
set(order "")
foreach(line IN LISTS lines)
    string(REGEX REPLACE "^add_subdirectory\\(([a-z]+)\\).*" "\\1" folder "${line}")
    list(APPEND order ${folder})
endforeach()

set(faults "")
foreach(folder IN LISTS order)
    list(FIND order ${folder} rank)
    file(GLOB sources ${SRC}/${folder}/*.h ${SRC}/${folder}/*.cpp)
    foreach(source IN LISTS sources)
        file(STRINGS ${source} includes REGEX "^#include \"[a-z]+/")
        foreach(include IN LISTS includes)
            string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target "${include}")
            list(FIND order ${target} targetRank)
            if(targetRank EQUAL -1 OR targetRank GREATER rank)
                list(APPEND faults "${source}: ${include} (${folder} may not include ${target})")
            endif()
        endforeach()
    endforeach()
endforeach()

file(READ ${SRC}/net/CMakeLists.txt netBuild)
if(netBuild MATCHES "volcanelle_engine")
    list(APPEND faults "net/CMakeLists.txt links the rules library")
endif()

if(faults)
    list(JOIN faults "\n" text)
    message(FATAL_ERROR "Folder graph broken:\n${text}")
endif()
list(LENGTH order folders)
message(STATUS "Folder graph: ${folders} folders, every include points down")
