// SPDX-License-Identifier: GPL-3.0-or-later
// The window on Windows, through its real controls: the behaviour cases
// every toolkit's window replays, here as the platform's own mouse, key and
// character messages through the window's event loop, and the layout in
// pixels at the screen's dpi. Controls are found by their places in the
// layout table, as an automation tool or a screen reader finds them.
//
//     tst_window_win32 [--dpi N] [--separator S] [--program rotavel.exe]
//                      [--older-system windows7|windows81]
//
// --dpi: the dpi the screen must have (the layout is checked at it);
// --separator: the decimal separator the user's regional settings give;
// --program: the program file whose icon and manifest are checked;
// --older-system: everything the way of Windows 7 (the system's dpi only) or
// 8.1 (a monitor's dpi, no window's), without the later systems' functions.
// Prints each failure and ends with "N passed, N failed".

#include "behaviour_cases.h"
#include "window/form2_layout.h"
#include "window/upper_case.h"
#include "window/win32/dpi.h"
#include "window/win32/later_windows.h"
#include "window/win32/form2_window.h"

#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The layout table and upper-casing, as the window itself has them.
using namespace window;

namespace {

int passed = 0;
int failed = 0;
std::string current; // the case or check under way

void check(bool condition, const std::string &what)
{
    if (condition)
        return;
    ++failed;
    std::printf("FAIL: %s: %s\n", current.c_str(), what.c_str());
}

std::string narrow(std::u16string_view text)
{
    std::string bytes;
    for (const char16_t unit : text) {
        if (unit >= 0x20 && unit < 0x7F) {
            bytes += char(unit);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", unsigned(unit));
            bytes += escaped;
        }
    }
    return bytes;
}

const ControlSpec &spec(std::string_view name)
{
    for (const ControlSpec &control : form2Controls) {
        if (control.name == name)
            return control;
    }
    std::printf("no control %.*s in the layout\n", int(name.size()), name.data());
    std::exit(2);
}

RECT placeOf(HWND form, const ControlSpec &control)
{
    const int dpi = int(window::win32::dpiOf(form));
    const int left = twipsToPixels(control.leftTwips, dpi);
    const int top = twipsToPixels(control.topTwips, dpi);
    return { left, top, left + twipsToPixels(control.widthTwips, dpi),
        top + twipsToPixels(control.heightTwips, dpi) };
}

// The control standing in the middle of its place in the layout table.
HWND find(HWND form, std::string_view name)
{
    const RECT place = placeOf(form, spec(name));
    const POINT middle { (place.left + place.right) / 2, (place.top + place.bottom) / 2 };
    HWND found = ChildWindowFromPointEx(form, middle, CWP_ALL);
    return found == form ? nullptr : found;
}

std::string nameOf(HWND form, HWND control)
{
    for (const ControlSpec &candidate : form2Controls) {
        if (find(form, candidate.name) == control)
            return candidate.name;
    }
    return control ? "(another window)" : "(none)";
}

std::u16string textOf(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::u16string text(std::size_t(length) + 1, u'\0');
    const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t *>(text.data()), length + 1);
    text.resize(std::size_t(copied));
    return text;
}

// Runs the event loop until nothing is left to do. False once the program
// has been told to end.
bool settle(HWND form)
{
    bool running = true;
    for (int idle = 0; idle < 3; ++idle) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            idle = 0;
            if (message.message == WM_QUIT)
                running = false;
            else
                window::win32::deliver(message, form);
        }
        Sleep(1);
    }
    return running;
}

// While the window's message box is open, its own loop runs this: it looks
// at the box, checks it and dismisses it.
HWND watchedForm = nullptr;
int emptyMessages = 0;

BOOL CALLBACK dismissMessageBox(HWND window, LPARAM)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    ++emptyMessages;
    check(GetWindow(window, GW_OWNER) == watchedForm, "the message box belongs to the window");
    check(!IsWindowEnabled(watchedForm), "the window waits while the message box is open");
    HWND message = GetDlgItem(window, 0xFFFF);
    check(!message || textOf(message).empty(), "the message is empty");
    HWND icon = GetDlgItem(window, 20);
    check(!icon || !IsWindowVisible(icon), "the message box has no icon");
    check(GetDlgItem(window, IDOK) && IsWindowVisible(GetDlgItem(window, IDOK)), "an OK button");
    for (const int other : { IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO }) {
        HWND button = GetDlgItem(window, other);
        check(!button || !IsWindowVisible(button), "no button but OK");
    }
    const std::u16string title = textOf(window);
    // The application's title as its users know it, not the program file's
    // name ("rotavel").
    check(title == u"Rotavel", "the application's title: " + narrow(title));
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
        reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
    return FALSE;
}

void CALLBACK watchForMessageBox(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), dismissMessageBox, 0);
}

void post(HWND target, UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessageW(target, message, wParam, lParam);
}

void putOnClipboard(HWND owner, std::u16string_view text)
{
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    auto *units = static_cast<char16_t *>(GlobalLock(memory));
    std::copy(text.begin(), text.end(), units);
    units[text.size()] = 0;
    GlobalUnlock(memory);
    OpenClipboard(owner);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

std::u16string clipboardText()
{
    std::u16string text;
    if (!OpenClipboard(nullptr))
        return u"(the clipboard does not open)";
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *units = static_cast<const char16_t *>(GlobalLock(memory))) {
            text = units;
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    return text;
}

// The Shift and Ctrl keys held down or not, as the keyboard's state the
// window reads.
void setModifiers(bool shift, bool control)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_LSHIFT] = keys[VK_SHIFT];
    keys[VK_CONTROL] = control ? 0x80 : 0;
    keys[VK_LCONTROL] = keys[VK_CONTROL];
    SetKeyboardState(keys);
}

// While a context menu is open, its own loop runs this: it finds the item
// wanted and moves to it with the arrow keys, one step a tick, then chooses
// it with Enter, as a keyboard user does.
struct MenuChoice
{
    std::u16string item;
    int steps = 0;
    bool chosen = false;
    bool found = true;
};
MenuChoice menuChoice;

BOOL CALLBACK findOpenMenu(HWND window, LPARAM found)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wcscmp(className, L"#32768") != 0 || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND *>(found) = window;
    return FALSE;
}

void CALLBACK driveMenu(HWND, UINT, UINT_PTR, DWORD)
{
    // Shift, held to open the menu with F10, is let go once it is open.
    setModifiers(false, false);
    HWND menuWindow = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findOpenMenu, LPARAM(&menuWindow));
    if (!menuWindow || menuChoice.chosen)
        return;
    auto *menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    // The edit box's items carry the messages they send as their ids (Undo
    // one of two), the same in every language of the user interface.
    const std::pair<std::u16string_view, UINT> commands[] = { { u"Undo", EM_UNDO },
        { u"Undo", WM_UNDO }, { u"Cut", WM_CUT }, { u"Copy", WM_COPY }, { u"Paste", WM_PASTE },
        { u"Delete", WM_CLEAR }, { u"Select All", EM_SETSEL } };
    int wanted = -1;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        for (const auto &[item, id] : commands) {
            if (item == menuChoice.item && GetMenuItemID(menu, i) == id)
                wanted = i;
        }
    }
    const bool reached =
        wanted >= 0 && (GetMenuState(menu, UINT(wanted), MF_BYPOSITION) & MF_HILITE);
    const bool enabled = wanted >= 0
        && !(GetMenuState(menu, UINT(wanted), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
    if (reached && enabled) {
        menuChoice.chosen = true;
        post(menuWindow, WM_KEYDOWN, VK_RETURN, 1);
        post(menuWindow, WM_KEYUP, VK_RETURN, 1 | (3u << 30));
    } else if (wanted < 0 || ++menuChoice.steps > 2 * GetMenuItemCount(menu)) {
        // Closed, or its loop would take every later key.
        menuChoice.found = false;
        menuChoice.chosen = true;
        post(menuWindow, WM_KEYDOWN, VK_ESCAPE, 1);
        post(menuWindow, WM_KEYUP, VK_ESCAPE, 1 | (3u << 30));
    } else {
        post(menuWindow, WM_KEYDOWN, VK_DOWN, 1);
        post(menuWindow, WM_KEYUP, VK_DOWN, 1 | (3u << 30));
    }
}

void replay(HWND form, const behaviour::Action &action)
{
    using behaviour::Action;
    using behaviour::Key;
    switch (action.kind) {
    case Action::Kind::Click: {
        HWND control = find(form, action.control);
        RECT inside;
        GetClientRect(control, &inside);
        const LPARAM middle = MAKELPARAM(inside.right / 2, inside.bottom / 2);
        post(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
        post(control, WM_LBUTTONUP, 0, middle);
        break;
    }
    case Action::Kind::Type:
        for (const char16_t unit : action.text)
            post(GetFocus(), WM_CHAR, unit, 1);
        break;
    case Action::Kind::CloseBox:
        // What the title bar's close box sends.
        post(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case Action::Kind::Paste:
        putOnClipboard(form, action.text);
        // Ctrl+V, as the edit box gets it from the keyboard.
        post(GetFocus(), WM_CHAR, 0x16, 1);
        break;
    case Action::Kind::Clipboard:
        putOnClipboard(nullptr, action.text);
        return;
    case Action::Kind::MenuCommand: {
        menuChoice = { std::u16string(action.text) };
        const UINT_PTR drive = SetTimer(nullptr, 0, 20, driveMenu);
        HWND focus = GetFocus();
        if (action.key == behaviour::Key::ShiftF10) {
            // F10 comes as a system key, Alt or not.
            setModifiers(true, false);
            post(focus, WM_SYSKEYDOWN, VK_F10, 1);
            post(focus, WM_SYSKEYUP, VK_F10, 1 | (3u << 30));
        } else {
            // For the menu key, a right click on the focused field, which
            // leaves its selection as it is. (Wine opens no menu for the menu
            // key itself.)
            RECT inside;
            GetClientRect(focus, &inside);
            const LPARAM middle = MAKELPARAM(inside.right / 2, inside.bottom / 2);
            post(focus, WM_RBUTTONDOWN, MK_RBUTTON, middle);
            post(focus, WM_RBUTTONUP, 0, middle);
        }
        settle(form);
        setModifiers(false, false);
        KillTimer(nullptr, drive);
        check(menuChoice.chosen && menuChoice.found,
            "the context menu opens with its item " + narrow(action.text));
        break;
    }
    case Action::Kind::Press: {
        const auto virtualKey = [&] {
            switch (action.key) {
            case Key::Tab:
            case Key::Backtab:
                return VK_TAB;
            case Key::Enter:
            case Key::KeypadEnter:
                return VK_RETURN;
            case Key::Escape:
                return VK_ESCAPE;
            case Key::Space:
                return VK_SPACE;
            case Key::Backspace:
                return VK_BACK;
            case Key::Home:
            case Key::ShiftHome:
                return VK_HOME;
            case Key::End:
                return VK_END;
            case Key::Right:
                return VK_RIGHT;
            case Key::ShiftLeft:
                return VK_LEFT;
            case Key::MenuKey:
            case Key::ShiftF10:
                break; // they open a menu: Action::Kind::MenuCommand
            case Key::Undo:
                return int('Z');
            case Key::Redo:
                return int('Y');
            }
            return 0;
        }();
        const bool shifted = action.key == Key::Backtab || action.key == Key::ShiftLeft
            || action.key == Key::ShiftHome;
        const bool control = action.key == Key::Undo || action.key == Key::Redo;
        // The keypad's Enter is Return with the extended-key flag.
        const LPARAM extended = action.key == Key::KeypadEnter ? 1 << 24 : 0;
        for (int i = 0; i < action.times; ++i) {
            setModifiers(shifted, control);
            post(GetFocus(), WM_KEYDOWN, WPARAM(virtualKey), 1 | extended);
            post(GetFocus(), WM_KEYUP, WPARAM(virtualKey), 1 | extended | (3u << 30));
            settle(form);
            setModifiers(false, false);
        }
        return;
    }
    }
    settle(form);
}

HWND openForm2()
{
    HWND form = window::win32::createForm2(GetModuleHandleW(nullptr));
    ShowWindow(form, SW_SHOWNORMAL);
    SetForegroundWindow(form);
    UpdateWindow(form);
    settle(form);
    return form;
}

void close(HWND form)
{
    if (IsWindow(form))
        DestroyWindow(form);
    settle(form);
}

void sharedBehaviour(std::u16string_view separator)
{
    for (behaviour::Case expected : behaviour::cases()) {
        current = expected.name;
        const int failedBefore = failed;
        HWND form = openForm2();
        watchedForm = form;
        emptyMessages = 0;
        const UINT_PTR watch = SetTimer(nullptr, 0, 20, watchForMessageBox);
        for (const behaviour::Action &action : expected.actions)
            replay(form, action);
        KillTimer(nullptr, watch);

        for (const behaviour::Field &field : expected.fields) {
            std::u16string wanted(field.windowsText.value_or(field.text));
            // The cases are written for a ".": the regional settings give
            // the separator of the coordinate fields.
            const char *name = spec(field.control).name;
            if (std::string_view("Text7 Text2 Text4 Text8").find(name) != std::string_view::npos) {
                const auto point = wanted.find(u'.');
                if (point != std::u16string::npos)
                    wanted.replace(point, 1, separator);
            }
            const std::u16string shown = IsWindow(form) ? textOf(find(form, field.control)) : u"";
            check(shown == wanted,
                std::string(name) + " shows \"" + narrow(shown) + "\", not \"" + narrow(wanted)
                    + "\"");
        }
        if (!expected.focus.empty()) {
            check(nameOf(form, GetFocus()) == expected.focus,
                "the focus is on " + nameOf(form, GetFocus()) + ", not "
                    + std::string(expected.focus));
        }
        if (expected.caret >= 0) {
            DWORD start = 0;
            DWORD end = 0;
            SendMessageW(GetFocus(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
            check(int(start) == expected.caret && start == end,
                "the caret at " + std::to_string(start) + ".." + std::to_string(end) + ", not "
                    + std::to_string(expected.caret));
        }
        for (const ControlSpec &control : form2Controls) {
            if (!control.visible && IsWindow(form))
                check(!IsWindowVisible(find(form, control.name)),
                    std::string(control.name) + " stays hidden");
        }
        check(emptyMessages == expected.emptyMessages,
            std::to_string(emptyMessages) + " message boxes");
        if (expected.clipboard) {
            const std::u16string held = clipboardText();
            check(held == *expected.clipboard, "the clipboard holds \"" + narrow(held) + "\"");
        }
        check(!IsWindow(form) == expected.closed, expected.closed ? "window gone" : "window open");
        close(form);
        if (failed == failedBefore)
            ++passed;
    }
}

void layoutInPixels(int expectedDpi)
{
    current = "layout at " + std::to_string(expectedDpi) + " dpi";
    const int failedBefore = failed;
    HWND form = openForm2();
    const int dpi = int(window::win32::dpiOf(form));
    check(dpi == expectedDpi, "the screen has " + std::to_string(dpi) + " dpi");

    check(textOf(form) == u"Rotavel 1.1 - Quillo", "the caption");
    RECT client;
    GetClientRect(form, &client);
    check(client.right == twipsToPixels(form2ClientWidthTwips, dpi)
            && client.bottom == twipsToPixels(form2ClientHeightTwips, dpi),
        "client area " + std::to_string(client.right) + " x " + std::to_string(client.bottom));
    const LONG_PTR style = GetWindowLongPtrW(form, GWL_STYLE);
    check((style & WS_OVERLAPPEDWINDOW) == WS_OVERLAPPEDWINDOW, "a resizable frame with all boxes");
    check(SendMessageW(form, WM_GETICON, ICON_SMALL, 0)
            && SendMessageW(form, WM_GETICON, ICON_BIG, 0),
        "the window's icons");
    check(!GetMenu(form), "no menu bar");

    for (const ControlSpec &control : form2Controls) {
        HWND shown = find(form, control.name);
        const std::string name = control.name;
        check(shown != nullptr, name + " in its place");
        if (!shown)
            continue;
        RECT frame;
        GetWindowRect(shown, &frame);
        MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT *>(&frame), 2);
        const RECT place = placeOf(form, control);
        check(EqualRect(&frame, &place) != 0,
            name + " at " + std::to_string(frame.left) + "," + std::to_string(frame.top) + " "
                + std::to_string(frame.right - frame.left) + "x"
                + std::to_string(frame.bottom - frame.top));
        check(bool(IsWindowVisible(shown)) == control.visible, name + " visible as laid out");
        check(SendMessageW(shown, WM_GETFONT, 0, 0) != 0, name + " has the message font");
        if (control.kind == ControlKind::TextBox && control.visible) {
            // The text starts at the box's left edge, not scrolled out of view.
            const auto first = SendMessageW(shown, EM_POSFROMCHAR, 0, 0);
            const int x = short(LOWORD(first));
            check(first != -1 && x >= 0 && x < dpi / 8, name + " shows its text from the left");
        }
        if (control.kind != ControlKind::PictureBox) {
            const std::string_view text = control.text;
            check(textOf(shown) == std::u16string(text.begin(), text.end()), name + " text");
        }
    }
    close(form);
    if (failed == failedBefore)
        ++passed;
}

// The pixels a window shows, as 32-bit BGRX rows from its top-left corner.
std::vector<std::uint32_t> pixelsOf(HWND window, int width, int height)
{
    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height));
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC shown = GetDC(window);
    HDC memory = CreateCompatibleDC(shown);
    void *bits = nullptr;
    HBITMAP copy = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, shown, 0, 0, SRCCOPY);
    GdiFlush();
    std::copy_n(static_cast<const std::uint32_t *>(bits), pixels.size(), pixels.begin());
    SelectObject(memory, previous);
    DeleteObject(copy);
    DeleteDC(memory);
    ReleaseDC(window, shown);
    return pixels;
}

std::vector<std::uint32_t> pixelsOf(HBITMAP bitmap, int width, int height)
{
    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height));
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Moved to a monitor of another dpi, the window lays itself out anew for
// it, as the platform's WM_DPICHANGED asks: the controls in twips at the new
// dpi, the window at the place suggested.
void movedToAnotherMonitor()
{
    current = "moved to a monitor of twice the dpi";
    const int failedBefore = failed;
    HWND form = openForm2();
    const int newDpi = int(window::win32::dpiOf(form)) * 2;
    RECT suggested { 40, 30, 40 + 1100, 30 + 1000 };
    SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi), LPARAM(&suggested));
    settle(form);

    // The place and size suggested, whatever the client area would want:
    // the platform scales a size the user chose.
    RECT frame;
    GetWindowRect(form, &frame);
    check(EqualRect(&frame, &suggested) != 0,
        "at the place and size suggested, not " + std::to_string(frame.left) + ","
            + std::to_string(frame.top) + " " + std::to_string(frame.right - frame.left) + "x"
            + std::to_string(frame.bottom - frame.top));
    for (const ControlSpec &control : form2Controls) {
        HWND shown = GetWindow(form, GW_CHILD);
        // The control that was at its place at the old dpi, wherever it is now.
        for (; shown; shown = GetWindow(shown, GW_HWNDNEXT)) {
            RECT place;
            GetWindowRect(shown, &place);
            MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT *>(&place), 2);
            const RECT wanted { twipsToPixels(control.leftTwips, newDpi),
                twipsToPixels(control.topTwips, newDpi),
                twipsToPixels(control.leftTwips + control.widthTwips, newDpi),
                twipsToPixels(control.topTwips + control.heightTwips, newDpi) };
            if (place.left == wanted.left && place.top == wanted.top)
                break;
        }
        check(shown != nullptr, std::string(control.name) + " at its place for the new dpi");
    }
    // The photograph drawn for the new dpi: twice as wide, it fills the box
    // where at the old dpi the box showed only its background.
    HWND box = find(form, "Picture1");
    RECT inner;
    GetClientRect(box, &inner);
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const int oldWidth = MulDiv(208, int(window::win32::dpiOf(form)), USER_DEFAULT_SCREEN_DPI);
    const std::vector<std::uint32_t> shown = pixelsOf(box, int(inner.right), int(inner.bottom));
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::uint32_t background = std::uint32_t(GetRValue(face)) << 16
        | std::uint32_t(GetGValue(face)) << 8 | GetBValue(face);
    int beyond = 0;
    int bare = 0;
    for (int y = 0; y < inner.bottom; ++y) {
        for (int x = oldWidth + 2; x < inner.right; ++x) {
            ++beyond;
            bare += (shown[std::size_t(y) * std::size_t(inner.right) + std::size_t(x)] & 0xFFFFFF)
                == background;
        }
    }
    check(beyond > 0 && bare < beyond / 10,
        "the photograph drawn for the new dpi (" + std::to_string(bare) + " of "
            + std::to_string(beyond) + " pixels beyond its old width bare)");
    close(form);
    if (failed == failedBefore)
        ++passed;
}

// The user picks another message font (Settings): the controls take it,
// as the platform's WM_SETTINGCHANGE asks, and take the old one back.
void messageFontChanged()
{
    current = "a new message font";
    const int failedBefore = failed;
    HWND form = openForm2();
    const auto heightShown = [&] {
        LOGFONTW font {};
        const auto shown =
            reinterpret_cast<HFONT>(SendMessageW(find(form, "Text3"), WM_GETFONT, 0, 0));
        GetObjectW(shown, sizeof font, &font);
        return std::abs(font.lfHeight);
    };
    const int before = heightShown();
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const LONG chosen = metrics.lfMessageFont.lfHeight;
    // Twice as tall. Written to the profile, as Settings does: Wine tells the
    // windows of a change only then. Put back below.
    metrics.lfMessageFont.lfHeight = chosen * 2;
    SystemParametersInfoW(
        SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    settle(form);
    const int after = heightShown();
    metrics.lfMessageFont.lfHeight = chosen;
    SystemParametersInfoW(
        SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    settle(form);
    // One pixel either way: each height is rounded at the window's dpi.
    check(std::abs(after - 2 * before) <= 1,
        "the font is " + std::to_string(after) + " pixels tall, not twice "
            + std::to_string(before));
    check(heightShown() == before, "the old font back");
    close(form);
    if (failed == failedBefore)
        ++passed;
}

// The shared bad inputs, pasted into an empty locator field. (An edit box
// holds no NUL: the platform's clipboard text ends at the first one.)
void badInput()
{
    for (const behaviour::BadInput &bad : behaviour::badInputs) {
        const std::u16string input = behaviour::wholeInput(bad);
        for (const char *name : { "Text3", "Text5" }) {
            current = "pasted into " + std::string(name) + ": " + bad.name;
            const int failedBefore = failed;
            HWND form = openForm2();
            const std::string_view field = name;
            replay(form, behaviour::click(field));
            replay(form, behaviour::press(behaviour::Key::End));
            replay(form, behaviour::press(behaviour::Key::Backspace, field == "Text3" ? 6 : 3));
            replay(form, behaviour::paste(input));

            HWND plain = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 50, 20,
                form, nullptr, GetModuleHandleW(nullptr), nullptr);
            SendMessageW(plain, EM_SETLIMITTEXT, textBoxMaxLength, 0);
            SendMessageW(plain, WM_PASTE, 0, 0);
            const std::u16string expected = upperCase(textOf(plain));
            HWND box = find(form, field);
            const std::u16string shown = textOf(box);
            // Six characters in Locator 2 calculate, and the calculation judges them.
            if (!(field == "Text5" && expected.size() == 6)) {
                check(
                    shown.size() == expected.size(), std::to_string(shown.size()) + " characters");
                check(shown == expected, "kept as a plain edit box keeps it, upper-cased");
                DWORD start = 0;
                DWORD end = 0;
                SendMessageW(box, EM_GETSEL, WPARAM(&start), LPARAM(&end));
                check(start == expected.size() && end == start, "the caret at the end");
            }
            close(form);
            if (failed == failedBefore)
                ++passed;
        }
    }
}

// What a screen reader announces for each control, read through the
// platform's accessibility interface: a field by the label that names it in
// the layout table, a button by its caption.
void screenReaderNames()
{
    current = "screen reader names";
    const int failedBefore = failed;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND form = openForm2();
    for (const ControlSpec &control : form2Controls) {
        std::string_view wanted;
        if (control.kind == ControlKind::CommandButton) {
            wanted = control.text;
        } else if (control.kind == ControlKind::TextBox && control.visible) {
            for (const ControlSpec &label : form2Controls) {
                if (label.kind == ControlKind::Label && label.buddy
                    && std::string_view(label.buddy) == control.name)
                    wanted = label.text;
            }
            check(!wanted.empty(), std::string(control.name) + " has a label in the layout");
        } else {
            continue;
        }
        // MinGW-w64's IID_IAccessible is not the interface's identifier;
        // the one the header declares is.
        IAccessible *accessible = nullptr;
        const HRESULT found = AccessibleObjectFromWindow(find(form, control.name), OBJID_CLIENT,
            __uuidof(IAccessible), reinterpret_cast<void **>(&accessible));
        check(SUCCEEDED(found) && accessible, std::string(control.name) + " is accessible");
        if (!accessible)
            continue;
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        accessible->get_accName(self, &name);
        const std::u16string said = name
            ? std::u16string(reinterpret_cast<const char16_t *>(name), SysStringLen(name))
            : u"(no name)";
        check(said == std::u16string(wanted.begin(), wanted.end()),
            std::string(control.name) + " is named \"" + narrow(said) + "\", not \""
                + std::string(wanted) + "\"");
        SysFreeString(name);
        accessible->Release();
    }
    close(form);
    CoUninitialize();
    if (failed == failedBefore)
        ++passed;
}

// Sharpness: the standard deviation of the Laplacian of the grey levels.
double sharpness(const std::vector<std::uint32_t> &pixels, int width, int height)
{
    const auto grey = [&](int x, int y) {
        const std::uint32_t p = pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
        return 0.114 * (p & 0xFF) + 0.587 * (p >> 8 & 0xFF) + 0.299 * (p >> 16 & 0xFF);
    };
    double sum = 0;
    double squares = 0;
    int count = 0;
    for (int y = 1; y + 1 < height; ++y) {
        for (int x = 1; x + 1 < width; ++x) {
            const double laplacian =
                grey(x - 1, y) + grey(x + 1, y) + grey(x, y - 1) + grey(x, y + 1) - 4 * grey(x, y);
            sum += laplacian;
            squares += laplacian * laplacian;
            ++count;
        }
    }
    const double mean = sum / count;
    return std::sqrt(squares / count - mean * mean);
}

// The compass photograph as the picture box shows it: at 96 dpi the
// photograph itself, pixel for pixel; from 120 dpi up drawn from the
// double-density rendering, clearly sharper than the photograph stretched.
void photographShown()
{
    current = "the photograph";
    const int failedBefore = failed;
    constexpr int photographWidth = 208;
    constexpr int photographHeight = 415;
    HWND form = openForm2();
    HWND box = find(form, "Picture1");
    const int dpi = int(window::win32::dpiOf(form));
    const int width = MulDiv(photographWidth, dpi, USER_DEFAULT_SCREEN_DPI);
    const int height = MulDiv(photographHeight, dpi, USER_DEFAULT_SCREEN_DPI);
    RECT inner;
    GetClientRect(box, &inner);
    // What the box shows of it: the box clips the photograph.
    const int shownWidth = std::min(width, int(inner.right));
    const int shownHeight = std::min(height, int(inner.bottom));
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const std::vector<std::uint32_t> shown = pixelsOf(box, shownWidth, shownHeight);

    HBITMAP photograph = static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    check(photograph != nullptr, "the photograph among the resources");
    if (dpi == USER_DEFAULT_SCREEN_DPI) {
        const std::vector<std::uint32_t> original =
            pixelsOf(photograph, photographWidth, photographHeight);
        int different = 0;
        for (int y = 0; y < shownHeight; ++y) {
            for (int x = 0; x < shownWidth; ++x) {
                const std::size_t at =
                    std::size_t(y) * std::size_t(photographWidth) + std::size_t(x);
                different +=
                    (shown[std::size_t(y) * std::size_t(shownWidth) + std::size_t(x)] & 0xFFFFFF)
                    != (original[at] & 0xFFFFFF);
            }
        }
        check(different == 0, std::to_string(different) + " pixels differ from the photograph");
    } else if (dpi >= 120) {
        // The photograph stretched to the same size, as a screen without the
        // double-density rendering would show it.
        HDC screen = GetDC(nullptr);
        HDC source = CreateCompatibleDC(screen);
        HDC target = CreateCompatibleDC(screen);
        HBITMAP stretched = CreateCompatibleBitmap(screen, shownWidth, shownHeight);
        HGDIOBJ oldSource = SelectObject(source, photograph);
        HGDIOBJ oldTarget = SelectObject(target, stretched);
        SetStretchBltMode(target, HALFTONE);
        SetBrushOrgEx(target, 0, 0, nullptr);
        StretchBlt(
            target, 0, 0, width, height, source, 0, 0, photographWidth, photographHeight, SRCCOPY);
        SelectObject(source, oldSource);
        SelectObject(target, oldTarget);
        DeleteDC(source);
        DeleteDC(target);
        ReleaseDC(nullptr, screen);
        const double blurred =
            sharpness(pixelsOf(stretched, shownWidth, shownHeight), shownWidth, shownHeight);
        DeleteObject(stretched);
        const double sharp = sharpness(shown, shownWidth, shownHeight);
        std::printf(
            "sharpness at %d dpi: %.2f, the photograph stretched %.2f\n", dpi, sharp, blurred);
        // Measured under Wine: 44 against 14 at 192 dpi, 41 against 18 at 144.
        constexpr double clearlySharper = 1.5;
        check(sharp > clearlySharper * blurred,
            "sharpness " + std::to_string(sharp) + " against " + std::to_string(blurred)
                + " stretched");
    }
    if (photograph)
        DeleteObject(photograph);
    close(form);
    if (failed == failedBefore)
        ++passed;
}

// The bytes of resource number 1 of `type` in the program file; none when
// the file does not open or holds no such resource.
std::optional<std::string> resourceOf(const std::wstring &program, const wchar_t *type)
{
    HMODULE file = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = file ? FindResourceW(file, MAKEINTRESOURCEW(1), type) : nullptr;
    std::optional<std::string> bytes;
    if (found) {
        const auto *data = static_cast<const char *>(LockResource(LoadResource(file, found)));
        bytes.emplace(data, SizeofResource(file, found));
    }
    if (file)
        FreeLibrary(file);
    return bytes;
}

// The program file's manifest: the version of this build, the program's
// own architecture, and per-monitor layout with the forms older systems
// read.
void programManifest(const std::wstring &program)
{
    current = "program manifest";
    const int failedBefore = failed;
    const auto manifest = resourceOf(program, MAKEINTRESOURCEW(24)); // RT_MANIFEST
    check(manifest.has_value(), "a manifest, number 1");
    if (!manifest)
        return;
#ifdef _WIN64
    const std::string architecture = "processorArchitecture=\"amd64\"";
#else
    const std::string architecture = "processorArchitecture=\"x86\"";
#endif
    const std::string wanted[] = { "name=\"Rotavel\" version=\"" ROTAVEL_VERSION_FOUR_PARTS "\"",
        architecture, ">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}" /* Windows 7 */ };
    // The program's own identity is the first assemblyIdentity, before the
    // common controls' (whose architecture is "*").
    const std::string identity = manifest->substr(0, manifest->find("<dependency>"));
    for (const std::string &part : wanted) {
        const bool inIdentity = part.find("version=") != std::string::npos || part == architecture;
        std::string collapsed = inIdentity ? identity : *manifest;
        // The identity's attributes may be spread over lines.
        std::replace(collapsed.begin(), collapsed.end(), '\n', ' ');
        for (std::size_t gap; (gap = collapsed.find("  ")) != std::string::npos;)
            collapsed.erase(gap, 1);
        check(collapsed.find(part) != std::string::npos, "the manifest has " + part);
    }
    if (failed == failedBefore)
        ++passed;
}

// The program file's icon: the window's two 24 x 24 images first (256
// colours with a mask, 32 bits with alpha), then larger renderings for
// denser screens.
void programIcon(const std::wstring &program)
{
    current = "program icon";
    const int failedBefore = failed;
    const auto group = resourceOf(program, RT_GROUP_ICON);
    check(group.has_value(), "a group icon, number 1");
    if (!group)
        return;
    const auto *bytes = reinterpret_cast<const unsigned char *>(group->data());
    const auto size = DWORD(group->size());
    // GRPICONDIR: reserved, type 1, count; then 14 bytes per image.
    constexpr DWORD headerSize = 6;
    constexpr DWORD entrySize = 14;
    const int count = size >= headerSize ? bytes[4] | bytes[5] << 8 : 0;
    check(count >= 2 && size == headerSize + entrySize * DWORD(count), "a group of images");
    int largest = 0;
    for (int i = 0; i < count && size == headerSize + entrySize * DWORD(count); ++i) {
        const unsigned char *entry = bytes + headerSize + entrySize * DWORD(i);
        const int width = entry[0] == 0 ? 256 : entry[0];
        const int bits = entry[6] | entry[7] << 8;
        if (i < 2) {
            check(width == 24 && entry[1] == 24, "the first two images are 24 x 24");
            check(bits == (i == 0 ? 8 : 32), "in 256 colours, then in 32 bits");
        }
        largest = std::max(largest, width);
    }
    check(largest >= 48, "a larger rendering for denser screens");
    if (failed == failedBefore)
        ++passed;
}

} // namespace

int main(int argc, char *argv[])
{
    int dpi = USER_DEFAULT_SCREEN_DPI;
    std::u16string separator = u".";
    std::wstring program;
    std::string olderSystem;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        if (option == "--dpi")
            dpi = std::stoi(value);
        else if (option == "--separator")
            separator.assign(value.begin(), value.end());
        else if (option == "--program")
            program.assign(value.begin(), value.end());
        else if (option == "--older-system")
            olderSystem = value;
    }
    if (olderSystem == "windows7")
        window::win32::useOnlyFunctionsOf(window::win32::OlderSystem::Windows7);
    else if (olderSystem == "windows81")
        window::win32::useOnlyFunctionsOf(window::win32::OlderSystem::Windows81);
    else if (!olderSystem.empty())
        return std::printf("no such older system: %s\n", olderSystem.c_str()), 2;

    if (!program.empty()) {
        programIcon(program);
        programManifest(program);
    }
    layoutInPixels(dpi);
    photographShown();
    screenReaderNames();
    sharedBehaviour(separator);
    movedToAnotherMonitor();
    messageFontChanged();
    badInput();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
