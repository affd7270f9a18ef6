# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Arm (Debian arm64, the Raspberry Pi's 64-bit
# system) on an amd64 Debian 12 with Debian's multiarch: the cross compiler
# of crossbuild-essential-arm64, Qt's arm64 libraries of qt6-base-dev:arm64,
# and this machine's own Qt (qt6-base-dev) for the tools that run during the
# build, moc and rcc.
#     cmake -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake ...

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(ROTAVEL_CROSS_TRIPLE aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${ROTAVEL_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ROTAVEL_CROSS_TRIPLE}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${ROTAVEL_CROSS_TRIPLE})

# Multiarch keeps the arm64 libraries beside this machine's, under
# /usr/lib/aarch64-linux-gnu: the search starts at / and picks the arm64
# ones by their library architecture; programs are this machine's.
set(CMAKE_FIND_ROOT_PATH /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's build tools come from the host's Qt.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# The tests run under QEMU's user mode, with the arm64 libraries of this
# system (binfmt registration is not needed).
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static -L /)
