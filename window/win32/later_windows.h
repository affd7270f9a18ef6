// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every function this program uses that Windows 7, the oldest system it
// starts on, lacks, and the one library it loads only when it needs it: all
// looked up at run time, here. The program file imports nothing else, so it
// loads on every system from 7 on; each caller has a fallback for a function
// that is missing. The tests can have the program go the way of an older
// system on a later one.

#include <windows.h>

#include <objbase.h>

namespace window::win32 {

// The functions that give a window's, a monitor's or a frame's measures at a
// dpi of its own; each null where the system lacks it.
struct DpiFunctions
{
    UINT(WINAPI *getDpiForWindow)(HWND) = nullptr; // Windows 10 1607
    BOOL(WINAPI *adjustWindowRectExForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr; // 10 1607
    int(WINAPI *getSystemMetricsForDpi)(int, UINT) = nullptr; // Windows 10 1607
    BOOL(WINAPI *systemParametersInfoForDpi)(UINT, UINT, PVOID, UINT, UINT) = nullptr; // 10 1607
    // A monitor's dpi before windows had one of their own (shcore.dll); its
    // second argument is the kind of dpi, 0 for the effective one.
    HRESULT(WINAPI *getDpiForMonitor)(HMONITOR, int, UINT *, UINT *) = nullptr; // Windows 8.1
};

// Looked up on first use, once for the run of the program.
const DpiFunctions &dpiFunctions();

// The three functions of the platform's object library (ole32.dll) that
// decoding a picture needs, the library loaded from the system's folder on
// the first call and kept; null where it cannot be. Only a dense screen's
// photograph needs them: at 96 dpi the program never loads the library,
// which would cost the window time before it shows.
struct ObjectLibrary
{
    decltype(&CoInitializeEx) initialize = nullptr;
    decltype(&CoCreateInstance) createInstance = nullptr;
    decltype(&CoUninitialize) uninitialize = nullptr;
};
ObjectLibrary objectLibrary();

// The systems whose way the tests may ask for on a later system.
enum class OlderSystem {
    Windows7, // the system's dpi only
    Windows81, // a monitor's dpi (shcore.dll), no window's
};

// From here on, goes the way of `system`, using only the dpi functions it
// has: what the tests of that way call, before any window is made.
void useOnlyFunctionsOf(OlderSystem system);

} // namespace window::win32
