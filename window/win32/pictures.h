// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The compass photograph as the Windows program has it: the photograph
// itself, a bitmap resource, and its rendering at twice the density, a
// compressed resource decoded by the platform's imaging component.

#include <windows.h>

namespace window::win32 {

// The rendering of the photograph a screen of `dpi` gets (the rule of
// window/photograph.h), loaded or decoded on first use and kept for the run
// of the program, and its scale: 1 for the photograph itself, 2 for the
// double-density rendering. Where that rendering cannot be decoded, the
// photograph itself; a null bitmap where neither can be had.
struct Photograph
{
    HBITMAP bitmap = nullptr;
    int scale = 1;
};
Photograph photographFor(HINSTANCE instance, UINT dpi);

} // namespace window::win32
