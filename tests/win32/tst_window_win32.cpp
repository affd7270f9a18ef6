// SPDX-License-Identifier: GPL-3.0-or-later
// The window on Windows, through its real controls: the behaviour cases
// every toolkit's window replays, here as the platform's own mouse, key and
// character messages through the window's event loop, and the layout in
// pixels at the screen's dpi. Controls are found by their places in the
// layout table, as an automation tool or a screen reader finds them.
//
//     tst_window_win32 [--dpi N] [--separator S] [--program rotavel.exe]
//
// --dpi: the dpi the screen must have (the layout is checked at it);
// --separator: the decimal separator the user's regional settings give;
// --program: the program file whose icon is checked.
// Prints each failure and ends with "N passed, N failed".

#include "behaviour_cases.h"
#include "window/form2_layout.h"
#include "window/upper_case.h"
#include "window/win32/form2_window.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>

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
    const int dpi = int(GetDpiForWindow(form));
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

std::wstring moduleTitle()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    return name.substr(0, name.find_last_of(L'.'));
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
                win32::deliver(message, form);
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
    check(std::wstring(title.begin(), title.end()) == moduleTitle(),
        "the application's title: " + narrow(title));
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

void setShift(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    keys[VK_LSHIFT] = keys[VK_SHIFT];
    SetKeyboardState(keys);
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
        // A right click on the focused field opens its context menu, and
        // leaves its selection as it is. (Wine opens none for the menu key.)
        menuChoice = { std::u16string(action.text) };
        const UINT_PTR drive = SetTimer(nullptr, 0, 20, driveMenu);
        HWND focus = GetFocus();
        RECT inside;
        GetClientRect(focus, &inside);
        const LPARAM middle = MAKELPARAM(inside.right / 2, inside.bottom / 2);
        post(focus, WM_RBUTTONDOWN, MK_RBUTTON, middle);
        post(focus, WM_RBUTTONUP, 0, middle);
        settle(form);
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
            }
            return 0;
        }();
        const bool shifted = action.key == Key::Backtab || action.key == Key::ShiftLeft
            || action.key == Key::ShiftHome;
        // The keypad's Enter is Return with the extended-key flag.
        const LPARAM extended = action.key == Key::KeypadEnter ? 1 << 24 : 0;
        for (int i = 0; i < action.times; ++i) {
            setShift(shifted);
            post(GetFocus(), WM_KEYDOWN, WPARAM(virtualKey), 1 | extended);
            post(GetFocus(), WM_KEYUP, WPARAM(virtualKey), 1 | extended | (3u << 30));
            settle(form);
            setShift(false);
        }
        return;
    }
    }
    settle(form);
}

HWND openForm2()
{
    HWND form = win32::createForm2(GetModuleHandleW(nullptr));
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
            std::u16string wanted(field.text);
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
    const int dpi = int(GetDpiForWindow(form));
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

// Moved to a monitor of another dpi, the window lays itself out anew for
// it, as the platform's WM_DPICHANGED asks: the controls in twips at the new
// dpi, the window at the place suggested.
void movedToAnotherMonitor()
{
    current = "moved to a monitor of twice the dpi";
    const int failedBefore = failed;
    HWND form = openForm2();
    const int newDpi = int(GetDpiForWindow(form)) * 2;
    RECT suggested { 40, 30, 40 + 1100, 30 + 1000 };
    SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi), LPARAM(&suggested));
    settle(form);

    // The frame around the client area is the platform's to scale; Wine,
    // which sends no such message itself, keeps it as it was.
    RECT frame;
    GetWindowRect(form, &frame);
    check(frame.left == suggested.left && frame.top == suggested.top, "at the place suggested");
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

// The program file's icon: the window's two 24 x 24 images first (256
// colours with a mask, 32 bits with alpha), then larger renderings for
// denser screens.
void programIcon(const std::wstring &program)
{
    current = "program icon";
    const int failedBefore = failed;
    HMODULE file = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    check(file != nullptr, "the program file opens");
    HRSRC found = file ? FindResourceW(file, MAKEINTRESOURCEW(1), RT_GROUP_ICON) : nullptr;
    check(found != nullptr, "a group icon, number 1");
    if (!found)
        return;
    const auto *bytes = static_cast<const unsigned char *>(LockResource(LoadResource(file, found)));
    const DWORD size = SizeofResource(file, found);
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
    FreeLibrary(file);
    if (failed == failedBefore)
        ++passed;
}

} // namespace

int main(int argc, char *argv[])
{
    int dpi = USER_DEFAULT_SCREEN_DPI;
    std::u16string separator = u".";
    std::wstring program;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        if (option == "--dpi")
            dpi = std::stoi(value);
        else if (option == "--separator")
            separator.assign(value.begin(), value.end());
        else if (option == "--program")
            program.assign(value.begin(), value.end());
    }

    if (!program.empty())
        programIcon(program);
    layoutInPixels(dpi);
    sharedBehaviour(separator);
    movedToAnotherMonitor();
    badInput();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
