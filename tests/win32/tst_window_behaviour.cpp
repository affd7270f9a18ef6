// SPDX-License-Identifier: GPL-3.0-or-later
// The window's behaviour on Windows through its real controls, with the
// platform's own mouse, key and character messages through its event loop:
// the cases every toolkit's window replays, the bad inputs pasted into each
// locator field, the names a screen reader reads.
//
//     tst_window_behaviour [--dpi N] [--older-system S] [--separator C]
//         (C: the decimal separator of the user's regional settings)

#include "behaviour_cases.h"
#include "window_test.h"

#include <oleacc.h>

#include <algorithm>

using namespace window_test;

namespace {

// A key pressed and let go, as the keyboard sends it to `target`.
void strike(HWND target, WPARAM virtualKey, LPARAM extended = 0, bool system = false)
{
    PostMessageW(target, system ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, 1 | extended);
    PostMessageW(target, system ? WM_SYSKEYUP : WM_KEYUP, virtualKey, 1 | extended | (3u << 30));
}

// A click in the middle of `control`, with the left or the right button.
void clickMiddle(HWND control, UINT down, UINT up, WPARAM button)
{
    RECT inside;
    GetClientRect(control, &inside);
    const LPARAM middle = MAKELPARAM(inside.right / 2, inside.bottom / 2);
    PostMessageW(control, down, button, middle);
    PostMessageW(control, up, 0, middle);
}

// The Shift and Ctrl keys held down or not, as the keyboard's state the
// window reads.
void setModifiers(bool shift, bool control)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = keys[VK_LCONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Each key of the behaviour cases as the keyboard sends it. The two keys
// that open a context menu are Action::Kind::MenuCommand's.
struct Keystroke
{
    behaviour::Key key;
    WPARAM virtualKey;
    bool shift = false;
    bool control = false;
    LPARAM extended = 0; // the keypad's Enter: Return with the extended-key flag
};
using Key = behaviour::Key;
constexpr Keystroke keystrokes[] = { { Key::Tab, VK_TAB }, { Key::Backtab, VK_TAB, true },
    { Key::Enter, VK_RETURN }, { Key::KeypadEnter, VK_RETURN, false, false, 1 << 24 },
    { Key::Escape, VK_ESCAPE }, { Key::Space, VK_SPACE }, { Key::Backspace, VK_BACK },
    { Key::Home, VK_HOME }, { Key::ShiftHome, VK_HOME, true }, { Key::End, VK_END },
    { Key::Right, VK_RIGHT }, { Key::ShiftLeft, VK_LEFT, true }, { Key::Undo, 'Z', false, true },
    { Key::Redo, 'Y', false, true } };

void putOnClipboard(HWND owner, std::u16string_view text)
{
    // Zeroed: the text ends with its NUL.
    HGLOBAL memory =
        GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (text.size() + 1) * sizeof(char16_t));
    std::ranges::copy(text, static_cast<char16_t *>(GlobalLock(memory)));
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

// The visible top-level window of the class `wanted`, if any.
HWND visibleOfClass(const wchar_t *wanted)
{
    HWND window = nullptr;
    do
        window = FindWindowExW(nullptr, window, wanted, nullptr);
    while (window && !IsWindowVisible(window));
    return window;
}

// Every message box is checked here, while its own loop runs, and then
// dismissed with OK. The window opens one kind of box, the empty message:
// owned by the window, which waits; titled with the application's title,
// "Rotavel", as its users know it (not the program file's name "rotavel", nor
// the platform's "Error" for a box given no title); no text, no icon, and OK
// as its only button.
HWND watchedForm = nullptr;
int emptyMessages = 0;

void CALLBACK dismissMessageBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND window = visibleOfClass(L"#32770");
    if (!window)
        return;
    ++emptyMessages;
    check(GetWindow(window, GW_OWNER) == watchedForm, "the message box belongs to the window");
    check(!IsWindowEnabled(watchedForm), "the window waits while the message box is open");
    check(textOf(window) == u"Rotavel", "the message box is titled ", textOf(window));
    int buttons = 0;
    for (HWND shown = GetWindow(window, GW_CHILD); shown; shown = GetWindow(shown, GW_HWNDNEXT)) {
        if (!IsWindowVisible(shown))
            continue;
        if (SendMessageW(shown, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
            check(++buttons == 1 && GetDlgCtrlID(shown) == IDOK, "buttons other than OK alone");
        else if ((GetWindowLongPtrW(shown, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            // Wine keeps an empty one where the box has no icon.
            check(!SendMessageW(shown, STM_GETICON, 0, 0), "an icon");
        else
            check(textOf(shown).empty(), "the text \"", textOf(shown), "\"");
    }
    check(buttons > 0, "no OK button");
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
        reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
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

void CALLBACK driveMenu(HWND, UINT, UINT_PTR, DWORD)
{
    // Shift, held to open the menu with F10, is let go once it is open.
    setModifiers(false, false);
    HWND menuWindow = visibleOfClass(L"#32768");
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
    const UINT state = wanted >= 0 ? GetMenuState(menu, UINT(wanted), MF_BYPOSITION) : 0;
    if ((state & MF_HILITE) && !(state & (MF_GRAYED | MF_DISABLED))) {
        menuChoice.chosen = true;
        strike(menuWindow, VK_RETURN);
    } else if (wanted < 0 || ++menuChoice.steps > 2 * GetMenuItemCount(menu)) {
        // Closed, or its loop would take every later key.
        menuChoice.found = false;
        menuChoice.chosen = true;
        strike(menuWindow, VK_ESCAPE);
    } else {
        strike(menuWindow, VK_DOWN);
    }
}

void replay(HWND form, const behaviour::Action &action)
{
    using behaviour::Action;
    switch (action.kind) {
    case Action::Kind::Click:
        clickMiddle(find(form, action.control), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
        break;
    case Action::Kind::Type:
        for (const char16_t unit : action.text)
            PostMessageW(GetFocus(), WM_CHAR, unit, 1);
        break;
    case Action::Kind::CloseBox:
        // What the title bar's close box sends.
        PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case Action::Kind::Paste:
        putOnClipboard(form, action.text);
        // Ctrl+V, as the edit box gets it from the keyboard.
        PostMessageW(GetFocus(), WM_CHAR, 0x16, 1);
        break;
    case Action::Kind::Clipboard:
        putOnClipboard(nullptr, action.text);
        return;
    case Action::Kind::MenuCommand: {
        menuChoice = { std::u16string(action.text) };
        const UINT_PTR drive = SetTimer(nullptr, 0, 20, driveMenu);
        if (action.key == Key::ShiftF10) {
            // F10 comes as a system key, Alt or not.
            setModifiers(true, false);
            strike(GetFocus(), VK_F10, 0, true);
        } else {
            // For the menu key, a right click on the focused field, which
            // leaves its selection as it is. (Wine opens no menu for the menu
            // key itself.)
            clickMiddle(GetFocus(), WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON);
        }
        settle(form);
        setModifiers(false, false);
        KillTimer(nullptr, drive);
        check(menuChoice.chosen && menuChoice.found, "the context menu opens with its item ",
            action.text);
        break;
    }
    case Action::Kind::Press: {
        const auto *stroke = std::ranges::find(keystrokes, action.key, &Keystroke::key);
        check(stroke != std::end(keystrokes), "a keystroke for each key pressed");
        for (int i = 0; i < action.times && stroke != std::end(keystrokes); ++i) {
            setModifiers(stroke->shift, stroke->control);
            strike(GetFocus(), stroke->virtualKey, stroke->extended);
            settle(form);
            setModifiers(false, false);
        }
        return;
    }
    }
    settle(form);
}

// The selection in `field` as its first and its last position.
std::pair<int, int> selectionOf(HWND field)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(field, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return { int(start), int(end) };
}

void sharedBehaviour(char16_t separator)
{
    for (behaviour::Case expected : behaviour::cases()) {
        const Checking checking(expected.name);
        HWND form = openForm2();
        watchedForm = form;
        emptyMessages = 0;
        const UINT_PTR watch = SetTimer(nullptr, 0, 20, dismissMessageBox);
        for (const behaviour::Action &action : expected.actions)
            replay(form, action);
        KillTimer(nullptr, watch);

        for (const behaviour::Field &field : expected.fields) {
            std::u16string wanted(field.windowsText.value_or(field.text));
            // The cases are written for a ".": the regional settings give
            // the separator of the coordinate fields.
            if (std::string_view("Text7 Text2 Text4 Text8").find(field.control)
                != std::string_view::npos)
                std::ranges::replace(wanted, u'.', separator);
            const std::u16string shown = IsWindow(form) ? textOf(find(form, field.control)) : u"";
            check(shown == wanted, field.control, " shows \"", shown, "\", not \"", wanted, "\"");
        }
        check(expected.focus.empty() || GetFocus() == find(form, expected.focus),
            "the focus is not on ", expected.focus);
        const auto [start, end] = selectionOf(GetFocus());
        check(expected.caret < 0 || (start == expected.caret && end == start), "the caret at ",
            start, "..", end, ", not ", expected.caret);
        for (const layout_cases::Control &control : layout_cases::controls) {
            if (!control.visible && IsWindow(form))
                check(!IsWindowVisible(find(form, control.name)), control.name, " stays hidden");
        }
        check(emptyMessages == expected.emptyMessages, emptyMessages, " message boxes");
        const std::u16string held = expected.clipboard ? clipboardText() : u"";
        check(held == expected.clipboard.value_or(u""), "the clipboard holds \"", held, "\"");
        check(!IsWindow(form) == expected.closed, expected.closed ? "window gone" : "window open");
        close(form);
    }
}

// The shared bad inputs, pasted into an empty locator field, against the
// platform's plain edit box that upper-cases (ES_UPPERCASE) given the same
// paste. (An edit box holds no NUL: the platform's clipboard text ends at
// the first one.)
void badInput()
{
    for (const behaviour::BadInput &bad : behaviour::badInputs) {
        const std::u16string input = behaviour::wholeInput(bad);
        for (const std::string_view field : { "Text3", "Text5" }) {
            const Checking checking("pasted into " + std::string(field) + ": " + bad.name);
            HWND form = openForm2();
            for (const behaviour::Action &action :
                behaviour::emptied(field, field == "Text3" ? 6 : 3))
                replay(form, action);
            replay(form, behaviour::paste(input));

            HWND plain = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL | ES_UPPERCASE,
                0, 0, 50, 20, form, nullptr, GetModuleHandleW(nullptr), nullptr);
            // The limit the platform documents for an edit box (Wine's own is 30000).
            SendMessageW(plain, EM_SETLIMITTEXT, 32767, 0);
            SendMessageW(plain, WM_PASTE, 0, 0);
            const std::u16string expected = textOf(plain);
            HWND box = find(form, field);
            const std::u16string shown = textOf(box);
            // Six characters in Locator 2 calculate, and the calculation judges them.
            if (!(field == "Text5" && expected.size() == 6)) {
                check(shown == expected, shown.size(),
                    " characters, not as a plain edit box keeps them, upper-cased");
                const auto [start, end] = selectionOf(box);
                check(start == std::ssize(expected) && end == start, "the caret at the end");
            }
            close(form);
        }
    }
}

// What a screen reader announces for each field and button, read through
// the platform's accessibility interface.
void screenReaderNames()
{
    const Checking checking("screen reader names");
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND form = openForm2();
    for (const layout_cases::Control &control : layout_cases::controls) {
        if (!control.spokenName)
            continue;
        const std::string_view wanted = control.spokenName;
        // MinGW-w64's IID_IAccessible is not the interface's identifier;
        // the one the header declares is.
        IAccessible *accessible = nullptr;
        const HRESULT found = AccessibleObjectFromWindow(find(form, control.name), OBJID_CLIENT,
            __uuidof(IAccessible), reinterpret_cast<void **>(&accessible));
        check(SUCCEEDED(found) && accessible, control.name, " is accessible");
        if (!accessible)
            continue;
        VARIANT self {};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        accessible->get_accName(self, &name);
        const std::u16string said = name
            ? std::u16string(reinterpret_cast<const char16_t *>(name), SysStringLen(name))
            : u"(no name)";
        check(said == std::u16string(wanted.begin(), wanted.end()), control.name, " is named \"",
            said, "\", not \"", wanted, "\"");
        SysFreeString(name);
        accessible->Release();
    }
    close(form);
    CoUninitialize();
}

} // namespace

int main(int argc, char *argv[])
{
    char16_t separator = u'.';
    if (!setUp(argc, argv, &separator))
        return 2;
    screenReaderNames();
    sharedBehaviour(separator);
    badInput();
    return finish();
}
