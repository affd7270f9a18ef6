# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 toolchain
# (package g++-mingw-w64-x86-64):
#     cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake ...

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ROTAVEL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ROTAVEL_MINGW_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ROTAVEL_MINGW_TRIPLE}-g++)
set(CMAKE_RC_COMPILER ${ROTAVEL_MINGW_TRIPLE}-windres)

# Headers and libraries come from the Windows sysroot only; programs run here.
set(CMAKE_FIND_ROOT_PATH /usr/${ROTAVEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
