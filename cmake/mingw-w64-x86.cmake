# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 32-bit Windows (x86), which also runs on 64-bit
# Windows, with Debian's MinGW-w64 toolchain (package g++-mingw-w64-i686):
#     cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86.cmake ...
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ROTAVEL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
