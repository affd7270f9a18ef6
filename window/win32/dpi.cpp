// SPDX-License-Identifier: GPL-3.0-or-later
#include "dpi.h"

#include "later_windows.h"

#include <initializer_list>

namespace window::win32 {

namespace {

// The kind of dpi GetDpiForMonitor gives for 0: MDT_EFFECTIVE_DPI, the one
// the user's scale setting gives the monitor.
constexpr int effectiveDpi = 0;

// Sizes the system gives at its own dpi, at `dpi` instead.
int scaled(int systemValue, UINT dpi)
{
    return MulDiv(systemValue, static_cast<int>(dpi), static_cast<int>(systemDpi()));
}

} // namespace

UINT systemDpi()
{
    // It changes only with a new sign-in, so once is enough.
    static const UINT dpi = [] {
        HDC screen = GetDC(nullptr);
        const int dotsPerInch = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
        if (screen)
            ReleaseDC(nullptr, screen);
        return dotsPerInch > 0 ? static_cast<UINT>(dotsPerInch) : UINT(USER_DEFAULT_SCREEN_DPI);
    }();
    return dpi;
}

UINT dpiOf(HWND window)
{
    const DpiFunctions &system = dpiFunctions();
    if (system.getDpiForWindow) {
        if (const UINT dpi = system.getDpiForWindow(window))
            return dpi;
    }
    if (system.getDpiForMonitor) {
        UINT x = 0;
        UINT y = 0;
        HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(system.getDpiForMonitor(monitor, effectiveDpi, &x, &y)) && x > 0)
            return x;
    }
    return systemDpi();
}

void adjustWindowRect(RECT &rect, DWORD style, DWORD extendedStyle, UINT dpi)
{
    const DpiFunctions &system = dpiFunctions();
    if (system.adjustWindowRectExForDpi
        && system.adjustWindowRectExForDpi(&rect, style, FALSE, extendedStyle, dpi))
        return;
    // The frame at the system's dpi: the frame a system without per-monitor
    // layout draws on every monitor.
    AdjustWindowRectEx(&rect, style, FALSE, extendedStyle);
}

int systemMetric(int index, UINT dpi)
{
    const DpiFunctions &system = dpiFunctions();
    if (system.getSystemMetricsForDpi)
        return system.getSystemMetricsForDpi(index, dpi);
    return scaled(GetSystemMetrics(index), dpi);
}

bool nonClientMetrics(NONCLIENTMETRICSW &metrics, UINT dpi)
{
    metrics.cbSize = sizeof metrics;
    const DpiFunctions &system = dpiFunctions();
    if (system.systemParametersInfoForDpi
        && system.systemParametersInfoForDpi(
            SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return true;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return false;
    // The fonts come at the system's dpi: their heights at `dpi` instead,
    // as the later function gives them.
    for (LOGFONTW *font : { &metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
             &metrics.lfStatusFont, &metrics.lfMessageFont })
        font->lfHeight = scaled(font->lfHeight, dpi);
    return true;
}

} // namespace window::win32
