// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The screen's density, asked of the system in one place. The functions
// that give it per monitor came with later systems than the oldest this
// program starts on (Windows 7, see later_windows.h): where the system lacks
// one, the fallback gives the same answer at the system's dpi, which is the
// only dpi such a system has.

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

} // namespace window::win32
