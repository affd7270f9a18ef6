# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 32-bit Windows (x86), which also runs on 64-bit
# Windows, with Debian's MinGW-w64 toolchain (package g++-mingw-w64-i686):
#     cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86.cmake ...
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ROTAVEL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# Doubles in SSE2 registers, 64 bits wide like the memory they come from, not
# in the x87's 80-bit ones: every step of the solution is rounded as on x64
# and Linux, so the results agree to the last bit (with the x87 a cosine that
# must come out as exactly 0 misses it, and a distance of 0 becomes 9985 km).
# Every processor Windows 8 and later runs on has SSE2, and so has every
# processor since the Pentium 4 and the Athlon 64.
string(APPEND CMAKE_C_FLAGS_INIT " -msse2 -mfpmath=sse")
string(APPEND CMAKE_CXX_FLAGS_INIT " -msse2 -mfpmath=sse")
