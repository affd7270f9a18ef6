# SPDX-License-Identifier: GPL-3.0-or-later
# The geometry's reference cases (tests/geometry_cases.h) replayed by a plain
# C++ driver: registered by tests/ on Linux and by tests/win32 with the Windows
# program, which has no Qt.
add_executable(geometry_cross_test ${CMAKE_CURRENT_LIST_DIR}/geometry_cross_test.cpp)
target_include_directories(geometry_cross_test PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(geometry_cross_test PRIVATE geometry)
rotavel_warnings(geometry_cross_test)
if(MINGW)
    # No MinGW runtime DLLs to find at run time.
    target_link_options(geometry_cross_test PRIVATE -static)
endif()
