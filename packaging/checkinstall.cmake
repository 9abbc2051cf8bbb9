# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the game's part of the build as its package would (prefix /usr, into a scratch root) and checks that every
# file lands where Debian's policy puts it, that nothing else is installed, and that the
# installed entry and metadata still validate.
# cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DVERSION=... -DPREFIX=... -DAPP_ID=... -DICON_SIZES=16;24;... -P checkinstall.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${PREFIX}
                        ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr --component game
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
    usr/games/volcanelle
    usr/libexec/volcanelle/volcanelle-network
    usr/share/applications/${APP_ID}.desktop
    usr/share/metainfo/${APP_ID}.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg
    usr/share/man/man6/volcanelle.6.gz
    usr/share/man/fr/man6/volcanelle.6.gz
    usr/share/doc/volcanelle/copyright
    usr/share/doc/volcanelle/changelog.Debian.gz
    usr/share/lintian/overrides/volcanelle)
foreach(size IN LISTS ICON_SIZES)
    list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
foreach(path IN LISTS expected)
    if(NOT path IN_LIST installed)
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
foreach(path IN LISTS installed)
    if(NOT path IN_LIST expected)
        message(FATAL_ERROR "installed but not expected: ${path}")
    endif()
endforeach()
foreach(program usr/games/volcanelle usr/libexec/volcanelle/volcanelle-network)
    execute_process(COMMAND test -x ${PREFIX}/${program} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${program} is not executable")
    endif()
endforeach()
# The installed game must find the installed network program: with a platform that does not
# exist, only that program's display check answers --host.
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=absente
                        ${PREFIX}/usr/games/volcanelle --host --port 0
                TIMEOUT 20 RESULT_VARIABLE result ERROR_VARIABLE err)
if(NOT result EQUAL 1 OR NOT err MATCHES "« absente »")
    message(FATAL_ERROR "the installed game does not start its network program: ${result} ${err}")
endif()

# The launcher must start the installed program and name the window's class.
file(STRINGS ${PREFIX}/usr/share/applications/${APP_ID}.desktop entry)
foreach(line "Exec=/usr/games/volcanelle" "Icon=${APP_ID}" "StartupWMClass=${APP_ID}")
    if(NOT line IN_LIST entry)
        message(FATAL_ERROR "desktop entry lacks ${line}")
    endif()
endforeach()
file(READ ${PREFIX}/usr/share/metainfo/${APP_ID}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>")
    message(FATAL_ERROR "the metadata does not launch ${APP_ID}.desktop")
endif()

# The version is written once, in project(); the histories must have an entry for it, and the
# manual page carries it.
string(FIND "${metainfo}" "<release version=\"${VERSION}\"" at)
if(at EQUAL -1)
    message(FATAL_ERROR "the metadata's releases have none for ${VERSION}")
endif()
file(STRINGS ${SOURCE_DIR}/packaging/changelog first LIMIT_COUNT 1)
if(NOT first MATCHES "^volcanelle \\(${VERSION}-[0-9]+\\) ")
    message(FATAL_ERROR "the changelog's last entry is not for ${VERSION}: ${first}")
endif()
execute_process(COMMAND gzip -dc ${PREFIX}/usr/share/man/man6/volcanelle.6.gz
                OUTPUT_VARIABLE page)
if(NOT page MATCHES "\"Volcanelle ${VERSION}\"")
    message(FATAL_ERROR "the manual page does not name version ${VERSION}")
endif()

execute_process(COMMAND desktop-file-validate ${PREFIX}/usr/share/applications/${APP_ID}.desktop
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "installed desktop entry does not validate")
endif()
execute_process(COMMAND appstreamcli validate-tree --no-net ${PREFIX} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "installed tree does not validate")
endif()
file(REMOVE_RECURSE ${PREFIX})
