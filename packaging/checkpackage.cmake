# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages with cpack and has lintian review them: any error or warning fails.
# Info and pedantic tags are shown for the record.
# cmake -DBUILD_DIR=... -DWORK_DIR=... -P checkpackage.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND cpack --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}
                WORKING_DIRECTORY ${BUILD_DIR} RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${output}")
endif()
file(GLOB packages ${WORK_DIR}/*.deb)
list(LENGTH packages count)
if(NOT count EQUAL EXPECTED)
    message(FATAL_ERROR "expected ${EXPECTED} packages in ${WORK_DIR}, found: ${packages}")
endif()

execute_process(COMMAND lintian --allow-root --pedantic --display-info --fail-on error,warning ${packages}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lintian finds errors or warnings in ${packages}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
