// SPDX-License-Identifier: GPL-3.0-or-later
// start_shortcut LINK [--leave-open]
// Starts a shortcut (.lnk) as a click on the Start-menu entry does, waits
// for a window with the program's caption as long as a user waits, and
// prints "started: " and the program file behind it; fails when the shell
// starts nothing or no such window shows. Then closes the window as the
// close box does and waits for the program to end, or with --leave-open
// leaves it running.

#include "form2_layout.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string_view>

namespace {

int fail(const char *what)
{
    std::printf("FAIL: %s\n", what);
    return 1;
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    const bool leaveOpen = argc == 3 && std::wstring_view(argv[2]) == L"--leave-open";
    if (argc != 2 && !leaveOpen)
        return fail("usage: start_shortcut LINK [--leave-open]");
    if (FindWindowA(nullptr, window::form2Caption))
        return fail("the program's window is open already");
    // The shell resolves the shortcut itself, and may do so through COM; it
    // need not say which process it started, so the program is found by its
    // window.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    SHELLEXECUTEINFOW start {};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_FLAG_NO_UI;
    start.lpFile = argv[1];
    start.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&start))
        return fail("the shell starts nothing from the shortcut");
    HWND window = nullptr;
    for (int waited = 0; waited < 300 && !IsWindowVisible(window); ++waited) {
        Sleep(100);
        window = FindWindowA(nullptr, window::form2Caption);
    }
    if (!IsWindowVisible(window))
        return fail("no window with the program's caption");
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return fail("the program's process cannot be watched");
    wchar_t image[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    QueryFullProcessImageNameW(process, 0, image, &length);
    std::printf("started: %ls\n", image);
    if (leaveOpen)
        return 0;
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0)
        return fail("the program did not end when its window was closed");
    DWORD exitCode = 1;
    GetExitCodeProcess(process, &exitCode);
    if (exitCode != 0)
        return fail("the program ended with a failure");
    std::printf("closed: the program ended\n");
    return 0;
}
