# SPDX-License-Identifier: GPL-3.0-or-later
# Every tracked source file names its licence in its first lines, so that a file copied out of
# the project still says under what terms.
# cmake -DGIT=git -DSOURCE_DIR=... -P checklicence.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} ls-files RESULT_VARIABLE result
                OUTPUT_VARIABLE listing)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "git ls-files failed in ${SOURCE_DIR}")
endif()
string(REPLACE "\n" ";" files "${listing}")

set(missing)
foreach(file IN LISTS files)
    if(NOT file MATCHES "(\\.(cpp|h|sh|cmake|py)|CMakeLists\\.txt|^\\.ci/run)$")
        continue()
    endif()
    # Deleted but not yet committed: nothing to check.
    if(NOT EXISTS ${SOURCE_DIR}/${file})
        continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${file} head LIMIT_COUNT 3)
    if(NOT head MATCHES "SPDX-License-Identifier: GPL-3\\.0-or-later")
        list(APPEND missing ${file})
    endif()
endforeach()
if(missing)
    list(JOIN missing "\n  " lines)
    message(FATAL_ERROR "no SPDX-License-Identifier: GPL-3.0-or-later line at the top of:\n  ${lines}")
endif()
