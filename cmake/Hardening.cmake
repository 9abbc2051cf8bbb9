# SPDX-License-Identifier: GPL-3.0-or-later
# Hardening for every program built here, as Debian builds its packages: position-independent
# executables, full RELRO with immediate binding, stack protector and clash protection, and
# fortified libc calls where the optimiser can see buffer sizes.
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -fstack-clash-protection)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|i.86")
    add_compile_options(-fcf-protection)
endif()
# Fortify needs optimisation; a build without any would only warn.
add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
add_link_options(-Wl,-z,relro -Wl,-z,now)
