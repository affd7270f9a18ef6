// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The screen's density, asked of the system in one place. The functions
// that give it per monitor came with later systems than the oldest this
// program starts on (Windows 7): each is looked up once, at run time, and
// where the system lacks it, the fallback gives the same answer at the
// system's dpi, which is the only dpi such a system has.

#include <windows.h>

namespace window::win32 {

// The dpi `window` is shown at: its monitor's where the system lays out
// per monitor, else the system's.
UINT dpiOf(HWND window);

// The system's dpi, from the screen's device context.
UINT systemDpi();

// `rect`, a client area, grown by the frame of a window of `style` and
// `extendedStyle` (no menu) at `dpi`.
void adjustWindowRect(RECT &rect, DWORD style, DWORD extendedStyle, UINT dpi);

// The system metric `index` (SM_CXICON...) at `dpi`.
int systemMetric(int index, UINT dpi);

// The system's fonts and sizes of the non-client area at `dpi`; false when
// the system gives none.
bool nonClientMetrics(NONCLIENTMETRICSW &metrics, UINT dpi);

// The systems whose way the tests may ask for on a later system.
enum class OlderSystem {
    Windows7, // the system's dpi only
    Windows81, // a monitor's dpi (shcore.dll), no window's
};

// From here on, goes the way of `system`, using only the functions it has:
// what the tests of that way call, before any window is made.
void useOnlyFunctionsOf(OlderSystem system);

// The library `name` (as L"ole32.dll") from the system's own folder, never
// one of that name beside the program; null when it cannot be loaded.
HMODULE systemLibrary(const wchar_t *name);

} // namespace window::win32
