# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows (x64) with Debian's MinGW-w64 toolchain
# (package g++-mingw-w64-x86-64):
#     cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x64.cmake ...
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ROTAVEL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
