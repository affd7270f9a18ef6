// SPDX-License-Identifier: GPL-3.0-or-later
#include "later_windows.h"

#include <cstddef>

namespace window::win32 {

namespace {

// The library `name` (as L"ole32.dll") from the system's own folder, never
// one of that name beside the program; null when it cannot be loaded.
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

// `function` set to the function `name` of `library`, or null.
template <typename Function> void lookUp(Function &function, HMODULE library, const char *name)
{
    // Through the one function pointer type that converts to any other
    // without a warning: the types above are the functions' own.
    function = library
        ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)))
        : nullptr;
}

DpiFunctions lookUpDpiFunctions()
{
    DpiFunctions found;
    HMODULE user = GetModuleHandleW(L"user32.dll");
    lookUp(found.getDpiForWindow, user, "GetDpiForWindow");
    lookUp(found.adjustWindowRectExForDpi, user, "AdjustWindowRectExForDpi");
    lookUp(found.getSystemMetricsForDpi, user, "GetSystemMetricsForDpi");
    lookUp(found.systemParametersInfoForDpi, user, "SystemParametersInfoForDpi");
    // Needed only where windows have no dpi of their own; not on Windows 7.
    if (!found.getDpiForWindow)
        lookUp(found.getDpiForMonitor, systemLibrary(L"shcore.dll"), "GetDpiForMonitor");
    return found;
}

DpiFunctions &foundDpiFunctions()
{
    static DpiFunctions found = lookUpDpiFunctions();
    return found;
}

} // namespace

const DpiFunctions &dpiFunctions()
{
    return foundDpiFunctions();
}

ObjectLibrary objectLibrary()
{
    static const ObjectLibrary found = [] {
        ObjectLibrary library;
        HMODULE ole32 = systemLibrary(L"ole32.dll");
        lookUp(library.initialize, ole32, "CoInitializeEx");
        lookUp(library.createInstance, ole32, "CoCreateInstance");
        lookUp(library.uninitialize, ole32, "CoUninitialize");
        return library;
    }();
    return found;
}

void useOnlyFunctionsOf(OlderSystem system)
{
    DpiFunctions &found = foundDpiFunctions();
    found = DpiFunctions {};
    if (system == OlderSystem::Windows81)
        lookUp(found.getDpiForMonitor, systemLibrary(L"shcore.dll"), "GetDpiForMonitor");
}

} // namespace window::win32
