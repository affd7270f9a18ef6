// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the tests of the window on Windows share: counting the checks, the
// window opened and closed, its event loop run until it rests, each control
// found in its place at the screen's dpi (as an automation tool or a screen
// reader finds it), and the options every test takes:
//
//     --dpi N: the screen's dpi, 96 (unless told), 144 or 192
//     --older-system windows7|windows81: the way of Windows 7 (the system's
//         dpi only) or 8.1 (a monitor's dpi, no window's), without the later
//         systems' functions
//
// Each test prints each failure and ends with "N passed, N failed".

#include "layout_cases.h"
#include "window/win32/form2_window.h"
#include "window/win32/later_windows.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <type_traits>

namespace window_test {

inline int passed = 0;
inline int failed = 0;
inline std::string current; // the check under way
inline int screenDpi = USER_DEFAULT_SCREEN_DPI;

// A text as ASCII for a failure's line, every other unit as \uXXXX.
inline std::string narrow(std::u16string_view text)
{
    std::string bytes;
    for (const char16_t unit : text) {
        char escaped[8] = { char(unit) };
        if (unit < 0x20 || unit >= 0x7F)
            std::snprintf(escaped, sizeof escaped, "\\u%04X", unsigned(unit));
        bytes += escaped;
    }
    return bytes;
}

// One part of a failure's line: a number, a UTF-16 text or a narrow one.
template <typename Part> std::string said(const Part &part)
{
    if constexpr (std::is_arithmetic_v<Part>)
        return std::to_string(part);
    else if constexpr (std::is_convertible_v<Part, std::u16string_view>)
        return narrow(part);
    else
        return std::string(part);
}

// Counts a failure when `condition` is false, and prints the parts.
template <typename... Parts> void check(bool condition, const Parts &...parts)
{
    if (condition)
        return;
    ++failed;
    std::printf("FAIL: %s: %s\n", current.c_str(), (said(parts) + ...).c_str());
}

// One check, named: it counts as passed at its end unless a part of it failed.
struct Checking
{
    explicit Checking(std::string name) { current = std::move(name); }
    ~Checking() { passed += failed == failedBefore; }
    const int failedBefore = failed;
};

using layout_cases::Place;

// The column of layout_cases for `dpi`; the test ends at a dpi it has no
// places for.
inline int columnFor(int dpi)
{
    const auto column = std::ranges::find(layout_cases::dpis, dpi) - layout_cases::dpis;
    if (column < std::ssize(layout_cases::dpis))
        return int(column);
    std::printf("no places worked out for %d dpi\n", dpi);
    std::exit(2);
}

// The control standing in the middle of its place at `dpi`.
inline HWND find(HWND form, std::string_view name, int dpi = screenDpi)
{
    const auto *row = std::ranges::find(layout_cases::controls, name, &layout_cases::Control::name);
    if (row == std::end(layout_cases::controls)) {
        std::printf("no control %.*s in the layout\n", int(name.size()), name.data());
        std::exit(2);
    }
    const Place place = row->at[columnFor(dpi)];
    const POINT middle { place.left + place.width / 2, place.top + place.height / 2 };
    HWND found = ChildWindowFromPointEx(form, middle, CWP_ALL);
    return found == form ? nullptr : found;
}

inline std::u16string textOf(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::u16string text(std::size_t(length) + 1, u'\0');
    const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t *>(text.data()), length + 1);
    text.resize(std::size_t(copied));
    return text;
}

// Runs the event loop until nothing is left to do.
inline void settle(HWND form)
{
    for (int idle = 0; idle < 3; ++idle) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            idle = 0;
            if (message.message != WM_QUIT)
                window::win32::deliver(message, form);
        }
        Sleep(1);
    }
}

inline HWND openForm2()
{
    HWND form = window::win32::createForm2(GetModuleHandleW(nullptr));
    ShowWindow(form, SW_SHOWNORMAL);
    SetForegroundWindow(form);
    UpdateWindow(form);
    settle(form);
    return form;
}

inline void close(HWND form)
{
    if (IsWindow(form))
        DestroyWindow(form);
    settle(form);
}

// Takes the options, --separator into `separator` where asked for; false,
// said, for one it does not know.
inline bool setUp(int argc, char *argv[], char16_t *separator = nullptr)
{
    using window::win32::OlderSystem;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        if (option == "--dpi")
            screenDpi = std::stoi(value);
        else if (option == "--separator" && separator && value.size() == 1)
            *separator = char16_t(value[0]);
        else if (option == "--older-system" && (value == "windows7" || value == "windows81"))
            window::win32::useOnlyFunctionsOf(
                value == "windows7" ? OlderSystem::Windows7 : OlderSystem::Windows81);
        else
            return std::printf("no such option: %s %s\n", argv[i], argv[i + 1]), false;
    }
    return true;
}

inline int finish()
{
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}

} // namespace window_test
