# SPDX-License-Identifier: GPL-3.0-or-later
# What both Windows toolchains share; included by mingw-w64-x64.cmake and
# mingw-w64-x86.cmake once they have named their MinGW-w64 triple.

set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ROTAVEL_MINGW_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ROTAVEL_MINGW_TRIPLE}-g++)
set(CMAKE_RC_COMPILER ${ROTAVEL_MINGW_TRIPLE}-windres)

# The program starts on Windows 7 SP1 and later: built against the headers
# of Windows 7, a direct call of a function that a later Windows brought
# does not compile. Such functions are looked up at run time instead
# (window/win32/dpi.cpp).
set(ROTAVEL_WINDOWS_VERSION "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601")
set(CMAKE_C_FLAGS_INIT "${ROTAVEL_WINDOWS_VERSION}")
set(CMAKE_CXX_FLAGS_INIT "${ROTAVEL_WINDOWS_VERSION}")
set(CMAKE_RC_FLAGS_INIT "${ROTAVEL_WINDOWS_VERSION}")

# Headers and libraries come from the Windows sysroot only; programs run here.
set(CMAKE_FIND_ROOT_PATH /usr/${ROTAVEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
