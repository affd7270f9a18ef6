# SPDX-License-Identifier: GPL-3.0-or-later
# The geometry library on another platform: a plain C++ driver that checks
# the reference values the QtTest suites check at home, built with the
# Windows program (MinGW has no Qt here) and run by tests/win32.
add_executable(geometry_cross_test ${CMAKE_CURRENT_LIST_DIR}/geometry_cross_test.cpp)
target_link_libraries(geometry_cross_test PRIVATE geometry)
rotavel_warnings(geometry_cross_test)
if(MINGW)
    # No MinGW runtime DLLs to find at run time.
    target_link_options(geometry_cross_test PRIVATE -static)
endif()
