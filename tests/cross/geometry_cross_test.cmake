# SPDX-License-Identifier: GPL-3.0-or-later
# The geometry library on another platform: a plain C++ driver that replays
# the reference cases the QtTest suites replay at home (tests/geometry_cases.h),
# built with the Windows program (MinGW has no Qt here) and run by tests/win32.
add_executable(geometry_cross_test ${CMAKE_CURRENT_LIST_DIR}/geometry_cross_test.cpp)
target_include_directories(geometry_cross_test PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(geometry_cross_test PRIVATE geometry)
rotavel_warnings(geometry_cross_test)
if(MINGW)
    # No MinGW runtime DLLs to find at run time.
    target_link_options(geometry_cross_test PRIVATE -static)
endif()
