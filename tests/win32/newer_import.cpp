// SPDX-License-Identifier: GPL-3.0-or-later
// A program that calls a function of Windows 10 directly, as the window
// never may: the program file test must refuse it (program_file_rejects_newer).
// Built against the Windows 10 headers, which declare the function.
#undef WINVER
#undef _WIN32_WINNT
#define WINVER 0x0A00
#define _WIN32_WINNT 0x0A00
#include <windows.h>

int main()
{
    return static_cast<int>(GetDpiForWindow(GetDesktopWindow()));
}
