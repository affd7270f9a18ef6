// SPDX-License-Identifier: GPL-3.0-or-later
// start_shortcut LINK [--leave-open]
// Starts the program a shortcut (.lnk) names, as a click on the Start-menu
// entry does, and checks that it opens its window: prints the shortcut's
// target, fails when the target is no file, when the shell does not start
// it, or when no window with the program's caption shows within the time
// a user waits; then closes the window as the close box does and waits for
// the program to end, or with --leave-open leaves it running.

#include "form2_layout.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

int fail(const char *what)
{
    std::printf("FAIL: %s\n", what);
    return 1;
}

std::wstring targetOf(const std::wstring &link)
{
    std::wstring target;
    IShellLinkW *shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
            reinterpret_cast<void **>(&shellLink))))
        return target;
    IPersistFile *file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ))
            && SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    shellLink->Release();
    return target;
}

// The visible window with the program's caption, in any process.
BOOL CALLBACK findCaption(HWND window, LPARAM lParam)
{
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    // The caption is ASCII.
    const std::string_view wanted = window::form2Caption;
    bool same = std::char_traits<wchar_t>::length(caption) == wanted.size();
    for (std::size_t i = 0; same && i < wanted.size(); ++i)
        same = caption[i] == static_cast<wchar_t>(wanted[i]);
    if (same && IsWindowVisible(window)) {
        *reinterpret_cast<HWND *>(lParam) = window;
        return FALSE;
    }
    return TRUE;
}

HWND programWindow()
{
    HWND found = nullptr;
    EnumWindows(findCaption, reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    const bool leaveOpen = argc == 3 && std::wstring_view(argv[2]) == L"--leave-open";
    if (argc != 2 && !leaveOpen)
        return fail("usage: start_shortcut LINK [--leave-open]");
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring link = argv[1];
    const std::wstring target = targetOf(link);
    std::printf("target: %ls\n", target.c_str());
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (target.empty() || attributes == INVALID_FILE_ATTRIBUTES
        || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return fail("the shortcut names no file");

    if (programWindow())
        return fail("the program's window is open already");
    // The shell resolves the shortcut itself; it need not say which process
    // it started, so the program is found by its window.
    SHELLEXECUTEINFOW start {};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    start.lpFile = link.c_str();
    start.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&start))
        return fail("the shell starts nothing from the shortcut");
    if (start.hProcess)
        CloseHandle(start.hProcess);
    HWND window = nullptr;
    for (int waited = 0; waited < 300 && !window; ++waited) {
        Sleep(100);
        window = programWindow();
    }
    if (!window)
        return fail("no window with the program's caption");
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return fail("the program's process cannot be watched");
    wchar_t image[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    QueryFullProcessImageNameW(process, 0, image, &length);
    std::printf("started: %ls, a window \"%s\"\n", image, window::form2Caption);
    if (CompareStringOrdinal(image, -1, target.c_str(), -1, TRUE) != CSTR_EQUAL) {
        TerminateProcess(process, 1);
        return fail("the window is another program's");
    }

    if (leaveOpen) {
        CloseHandle(process);
        std::printf("left open\n");
        return 0;
    }
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0)
        return fail("the program did not end when its window was closed");
    DWORD exitCode = 1;
    GetExitCodeProcess(process, &exitCode);
    CloseHandle(process);
    if (exitCode != 0)
        return fail("the program ended with a failure");
    std::printf("closed: the program ended\n");
    CoUninitialize();
    return 0;
}
