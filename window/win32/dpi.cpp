// SPDX-License-Identifier: GPL-3.0-or-later
#include "dpi.h"

#include <cstddef>
#include <initializer_list>

namespace window::win32 {

namespace {

// The functions as the later systems declare them.
using GetDpiForWindowFunction = UINT(WINAPI *)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI *)(LPRECT, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFunction = int(WINAPI *)(int, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI *)(UINT, UINT, PVOID, UINT, UINT);
// Windows 8.1's per-monitor dpi, before windows had one of their own;
// MDT_EFFECTIVE_DPI is its type 0.
using GetDpiForMonitorFunction = HRESULT(WINAPI *)(HMONITOR, int, UINT *, UINT *);
constexpr int effectiveDpi = 0;

struct Functions
{
    GetDpiForWindowFunction getDpiForWindow = nullptr; // Windows 10 1607
    AdjustWindowRectExForDpiFunction adjustWindowRectExForDpi = nullptr; // Windows 10 1607
    GetSystemMetricsForDpiFunction getSystemMetricsForDpi = nullptr; // Windows 10 1607
    SystemParametersInfoForDpiFunction systemParametersInfoForDpi = nullptr; // Windows 10 1607
    GetDpiForMonitorFunction getDpiForMonitor = nullptr; // Windows 8.1
};

template <typename Function> Function lookUp(HMODULE library, const char *name)
{
    if (!library)
        return nullptr;
    // Through the one function pointer type that converts to any other
    // without a warning: the types above are the functions' own.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

Functions lookUpAll()
{
    Functions found;
    HMODULE user = GetModuleHandleW(L"user32.dll");
    found.getDpiForWindow = lookUp<GetDpiForWindowFunction>(user, "GetDpiForWindow");
    found.adjustWindowRectExForDpi =
        lookUp<AdjustWindowRectExForDpiFunction>(user, "AdjustWindowRectExForDpi");
    found.getSystemMetricsForDpi =
        lookUp<GetSystemMetricsForDpiFunction>(user, "GetSystemMetricsForDpi");
    found.systemParametersInfoForDpi =
        lookUp<SystemParametersInfoForDpiFunction>(user, "SystemParametersInfoForDpi");
    if (!found.getDpiForWindow)
        found.getDpiForMonitor = lookUp<GetDpiForMonitorFunction>(
            // Not on Windows 7.
            systemLibrary(L"shcore.dll"), "GetDpiForMonitor");
    return found;
}

// Looked up on first use, once for the run of the program.
Functions &functions()
{
    static Functions found = lookUpAll();
    return found;
}

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
    const Functions &system = functions();
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
    const Functions &system = functions();
    if (system.adjustWindowRectExForDpi
        && system.adjustWindowRectExForDpi(&rect, style, FALSE, extendedStyle, dpi))
        return;
    // The frame at the system's dpi: the frame a system without per-monitor
    // layout draws on every monitor.
    AdjustWindowRectEx(&rect, style, FALSE, extendedStyle);
}

int systemMetric(int index, UINT dpi)
{
    const Functions &system = functions();
    if (system.getSystemMetricsForDpi)
        return system.getSystemMetricsForDpi(index, dpi);
    return scaled(GetSystemMetrics(index), dpi);
}

bool nonClientMetrics(NONCLIENTMETRICSW &metrics, UINT dpi)
{
    metrics.cbSize = sizeof metrics;
    const Functions &system = functions();
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

void useOnlyFunctionsOf(OlderSystem system)
{
    Functions &found = functions();
    found = Functions {};
    if (system == OlderSystem::Windows81)
        found.getDpiForMonitor =
            lookUp<GetDpiForMonitorFunction>(systemLibrary(L"shcore.dll"), "GetDpiForMonitor");
}

HMODULE systemLibrary(const wchar_t *name)
{
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    // Room for the folder, a backslash and the terminating zero at least.
    if (length == 0 || length + 2 > MAX_PATH)
        return nullptr;
    std::size_t end = length;
    path[end++] = L'\\';
    for (const wchar_t *unit = name; *unit; ++unit) {
        if (end + 1 >= MAX_PATH)
            return nullptr;
        path[end++] = *unit;
    }
    path[end] = L'\0';
    return LoadLibraryW(path);
}

} // namespace window::win32
