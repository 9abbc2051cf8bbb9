# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the accessibility checker the browser test runs, exactly as its lock file pins it,
# into the build folder; nothing is done when that version is already there.
# cmake -DNPM=npm -DFROM=<folder with package.json> -DTO=<build folder> -P axeinstall.cmake
cmake_minimum_required(VERSION 3.25)
file(MAKE_DIRECTORY ${TO})
foreach(name package.json package-lock.json)
    configure_file(${FROM}/${name} ${TO}/${name} COPYONLY)
endforeach()
if(EXISTS ${TO}/node_modules/axe-core/axe.min.js AND
   ${TO}/node_modules/.package-lock.json IS_NEWER_THAN ${TO}/package-lock.json)
    return()
endif()
execute_process(COMMAND ${NPM} ci --no-audit --no-fund WORKING_DIRECTORY ${TO}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "npm ci failed in ${TO}")
endif()
