# Installs the build into a scratch prefix and checks that every file the desktop needs is
# where it looks for it, and that the installed entry and metadata still validate.
# cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -DICON_SIZES=16;32;... -P checkinstall.cmake
cmake_minimum_required(VERSION 3.25)


file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
    bin/volcanelle
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml)
foreach(size IN LISTS ICON_SIZES)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/volcanelle.png)
endforeach()
foreach(path IN LISTS expected)
    if(NOT EXISTS ${PREFIX}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

file(STRINGS ${PREFIX}/share/applications/${APP_ID}.desktop entry)
foreach(line "Exec=volcanelle" "Icon=volcanelle")
    if(NOT line IN_LIST entry)
        message(FATAL_ERROR "desktop entry lacks ${line}")
    endif()
endforeach()
file(READ ${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>")
    message(FATAL_ERROR "the metadata does not launch ${APP_ID}.desktop")
endif()

execute_process(COMMAND desktop-file-validate ${PREFIX}/share/applications/${APP_ID}.desktop
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "installed desktop entry does not validate")
endif()
execute_process(COMMAND appstreamcli validate-tree --no-net ${PREFIX} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "installed tree does not validate")
endif()
file(REMOVE_RECURSE ${PREFIX})
