// SPDX-License-Identifier: GPL-3.0-or-later
#include "form2_window.h"

#include "controls.h"
#include "dpi.h"
#include "resources.h"
#include "window/form2_handlers.h"
#include "window/form2_layout.h"

#include <commctrl.h>

#include <new>
#include <string>
#include <vector>

namespace window::win32 {

namespace {

const wchar_t form2Class[] = L"RotavelForm2";

// Control ids follow the layout table; none is IDOK or IDCANCEL, which the
// keyboard interface sends for Enter and Escape.
constexpr int firstControlId = 100;

// The layout table's texts are ASCII.
std::wstring wide(std::string_view ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

const wchar_t *units(std::u16string_view text)
{
    return reinterpret_cast<const wchar_t *>(text.data());
}

// The window as the handlers see it: the runtime operations over its
// controls, and the delivery of their events.
class Form2Window final : public FormsRuntime
{
public:
    explicit Form2Window(HWND window)
        : m_window(window)
    {
    }
    // The window and every control are gone by now: nothing uses the font
    // or the icons any more.
    ~Form2Window()
    {
        if (m_font)
            DeleteObject(m_font);
        if (m_bigIcon)
            DestroyIcon(m_bigIcon);
        if (m_smallIcon)
            DestroyIcon(m_smallIcon);
    }
    Form2Window(const Form2Window &) = delete;
    Form2Window &operator=(const Form2Window &) = delete;

    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    // The window is gone; the object goes when nothing holds it any more.
    void release()
    {
        m_window = nullptr;
        if (m_holds == 0)
            delete this;
    }

    // Holds the object while a message to its window is handled: a message
    // may destroy the window (the close box, Exit) halfway through.
    class Hold
    {
    public:
        explicit Hold(Form2Window &form)
            : m_form(form)
        {
            ++m_form.m_holds;
        }
        ~Hold()
        {
            if (--m_form.m_holds == 0 && !m_form.m_window)
                delete &m_form;
        }
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;

    private:
        Form2Window &m_form;
    };

private:
    void createControls(HINSTANCE instance);
    void fitTo(UINT dpi);
    void layOut(UINT dpi);
    void setIcons(UINT dpi);
    HWND control(std::string_view name) const;
    HWND firstInTabOrder() const;

    std::u16string text(std::string_view box) const override;
    void assignText(std::string_view box, std::u16string_view text) override;
    void assignTextKeepingUndo(std::string_view box, std::u16string_view text) override;
    void assignSelStart(std::string_view box, std::size_t position) override;
    void press(std::string_view button) override;
    void showEmptyMessage() override;
    void unload() override;
    std::u16string decimalSeparator() const override;

    HWND m_window;
    HFONT m_font = nullptr;
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    HWND m_focus = nullptr; // the control to give the focus back to
    int m_holds = 0;
};

void Form2Window::createControls(HINSTANCE instance)
{
    // Creation order is the order of Tab: ascending tab index. Each label
    // comes just before the field it names, where screen readers look for a
    // field's name; labels take no focus, so Tab passes over them.
    std::vector<std::size_t> creation;
    for (const std::size_t i : form2TabOrder()) {
        for (std::size_t j = 0; j < form2Controls.size(); ++j) {
            const ControlSpec &label = form2Controls[j];
            if (label.kind == ControlKind::Label && label.buddy
                && std::string_view(label.buddy) == form2Controls[i].name)
                creation.push_back(j);
        }
        creation.push_back(i);
    }

    for (const std::size_t i : creation) {
        const ControlSpec &spec = form2Controls[i];
        const DWORD visible = spec.visible ? WS_VISIBLE : 0;
        // Every control a group of its own: arrow keys do not move the focus.
        const DWORD child = WS_CHILD | visible;
        const DWORD focusable = child | WS_TABSTOP | WS_GROUP;
        const wchar_t *windowClass = nullptr;
        DWORD style = child;
        DWORD extendedStyle = 0;
        std::wstring text = wide(spec.text);
        switch (spec.kind) {
        case ControlKind::PictureBox:
            windowClass = pictureBoxClass;
            style = focusable;
            extendedStyle = WS_EX_CLIENTEDGE;
            // It holds the focus when the window opens: a screen reader
            // should have something better to announce than an empty frame.
            text = L"Compass";
            break;
        case ControlKind::Label:
            windowClass = WC_STATICW;
            style = child | SS_LEFT | SS_NOPREFIX;
            break;
        case ControlKind::TextBox:
            windowClass = WC_EDITW;
            style = focusable | ES_LEFT | ES_AUTOHSCROLL;
            extendedStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::CommandButton:
            windowClass = WC_BUTTONW;
            style = focusable | BS_PUSHBUTTON;
            break;
        }
        const auto id = static_cast<INT_PTR>(firstControlId + i);
        HWND control = CreateWindowExW(extendedStyle, windowClass, text.c_str(), style, 0, 0, 0, 0,
            m_window, reinterpret_cast<HMENU>(id), instance, nullptr);
        if (spec.kind == ControlKind::TextBox) {
            SendMessageW(control, EM_SETLIMITTEXT, textBoxMaxLength, 0);
            makeTextBox(control, spec.name);
        } else if (spec.kind == ControlKind::CommandButton) {
            neverDefault(control);
        }
    }
    m_focus = firstInTabOrder();
}

// The client area in twips at `dpi`, the frame around it the platform's,
// where the window is.
void Form2Window::fitTo(UINT dpi)
{
    RECT frame { 0, 0, twipsToPixels(form2ClientWidthTwips, static_cast<int>(dpi)),
        twipsToPixels(form2ClientHeightTwips, static_cast<int>(dpi)) };
    adjustWindowRect(frame, static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_STYLE)),
        static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_EXSTYLE)), dpi);
    SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
        SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    layOut(dpi);
}

// Places every control for `dpi` dots per inch, with the message font of
// that dpi.
void Form2Window::layOut(UINT dpi)
{
    const int dotsPerInch = static_cast<int>(dpi);
    HFONT font = createMessageFont(dpi);
    for (std::size_t i = 0; i < form2Controls.size(); ++i) {
        const ControlSpec &spec = form2Controls[i];
        HWND control = GetDlgItem(m_window, firstControlId + static_cast<int>(i));
        SetWindowPos(control, nullptr, twipsToPixels(spec.leftTwips, dotsPerInch),
            twipsToPixels(spec.topTwips, dotsPerInch), twipsToPixels(spec.widthTwips, dotsPerInch),
            twipsToPixels(spec.heightTwips, dotsPerInch), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (spec.kind == ControlKind::PictureBox)
            setPictureDpi(control, dpi);
    }
    // The old font goes only now that no control uses it.
    if (m_font)
        DeleteObject(m_font);
    m_font = font;
    setIcons(dpi);
}

void Form2Window::setIcons(UINT dpi)
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_window, GWLP_HINSTANCE));
    const auto load = [&](int width, int height) {
        return static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(IDI_FORM2), IMAGE_ICON, width, height, 0));
    };
    HICON big = load(systemMetric(SM_CXICON, dpi), systemMetric(SM_CYICON, dpi));
    HICON small = load(systemMetric(SM_CXSMICON, dpi), systemMetric(SM_CYSMICON, dpi));
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (m_bigIcon)
        DestroyIcon(m_bigIcon);
    if (m_smallIcon)
        DestroyIcon(m_smallIcon);
    m_bigIcon = big;
    m_smallIcon = small;
}

HWND Form2Window::control(std::string_view name) const
{
    for (std::size_t i = 0; i < form2Controls.size(); ++i) {
        if (form2Controls[i].name == name)
            return GetDlgItem(m_window, firstControlId + static_cast<int>(i));
    }
    return nullptr;
}

HWND Form2Window::firstInTabOrder() const
{
    return GetNextDlgTabItem(m_window, nullptr, FALSE);
}

LRESULT Form2Window::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const auto *create = reinterpret_cast<const CREATESTRUCTW *>(lParam);
        createControls(create->hInstance);
        fitTo(dpiOf(m_window));
        // The caret waits after each initial text, where typing goes on; set
        // once the boxes have their size, or they would scroll the text away.
        for (const ControlSpec &spec : form2Controls) {
            if (spec.kind == ControlKind::TextBox)
                assignSelStart(spec.name, std::string_view(spec.text).size());
        }
        return 0;
    }
    case WM_COMMAND: {
        // Change of every text box and Click of every button go to the
        // handlers, which pick their own; Enter and Escape (IDOK, IDCANCEL)
        // come here too, and do nothing.
        const int id = LOWORD(wParam) - firstControlId;
        if (id < 0 || id >= static_cast<int>(form2Controls.size()) || lParam == 0)
            return 0;
        const ControlSpec &spec = form2Controls[static_cast<std::size_t>(id)];
        const WORD code = HIWORD(wParam);
        if (spec.kind == ControlKind::TextBox && code == EN_CHANGE)
            raise(*this, spec.name, Event::Change);
        else if (spec.kind == ControlKind::CommandButton && code == BN_CLICKED)
            raise(*this, spec.name, Event::Click);
        return 0;
    }
    case WM_ACTIVATE:
        // The focus leaves with the window and comes back to where it was.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(m_window, focus))
                m_focus = focus;
        } else if (!HIWORD(wParam)) {
            SetFocus(m_focus && IsWindow(m_focus) ? m_focus : firstInTabOrder());
        }
        return 0;
    case WM_SETFOCUS:
        SetFocus(m_focus && IsWindow(m_focus) ? m_focus : firstInTabOrder());
        return 0;
    case WM_DPICHANGED: {
        // Moved to a screen of another density: the window takes the place
        // and size the platform suggests (which keeps a size the user chose,
        // scaled), and the controls their twips at the new dpi.
        const RECT &suggested = *reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_window, nullptr, suggested.left, suggested.top,
            suggested.right - suggested.left, suggested.bottom - suggested.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
        layOut(HIWORD(wParam));
        return 0;
    }
    case WM_SETTINGCHANGE:
        // The user chose another message font: the controls take it.
        if (wParam == SPI_SETNONCLIENTMETRICS)
            layOut(dpiOf(m_window));
        return DefWindowProcW(m_window, message, wParam, lParam);
    case WM_DESTROY:
        // The program's one window: with it gone, the program ends. The font
        // and icons go with the object, once the controls are gone too.
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

std::u16string Form2Window::text(std::string_view box) const
{
    HWND edit = control(box);
    const int length = GetWindowTextLengthW(edit);
    std::u16string shown(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(edit, reinterpret_cast<wchar_t *>(shown.data()), length + 1);
    shown.resize(static_cast<std::size_t>(copied));
    return shown;
}

void Form2Window::assignText(std::string_view box, std::u16string_view newText)
{
    // The edit box reports a change even for the text it already shows.
    if (text(box) == newText)
        return;
    const std::u16string terminated(newText);
    SetWindowTextW(control(box), units(terminated));
}

void Form2Window::assignTextKeepingUndo(std::string_view box, std::u16string_view newText)
{
    if (text(box) == newText)
        return;
    // Replaced as the user replaces it, selected whole and typed over: the
    // edit box keeps what it showed for Undo, which WM_SETTEXT would forget.
    const std::u16string terminated(newText);
    HWND edit = control(box);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(units(terminated)));
}

void Form2Window::assignSelStart(std::string_view box, std::size_t position)
{
    HWND edit = control(box);
    const auto caret = static_cast<WPARAM>(position);
    SendMessageW(edit, EM_SETSEL, caret, static_cast<LPARAM>(caret));
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

void Form2Window::press(std::string_view button)
{
    // The notification a click sends, sent here directly: the handler runs
    // to its end before this returns, and the focus stays where it is.
    HWND pressed = control(button);
    SendMessageW(m_window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(pressed), BN_CLICKED),
        reinterpret_cast<LPARAM>(pressed));
}

void Form2Window::showEmptyMessage()
{
    // A box given no title is titled "Error" by the platform: the
    // application's title is passed as the one a title-less box shows.
    MessageBoxW(m_window, L"", wide(applicationTitle).c_str(), MB_OK | MB_APPLMODAL);
}

void Form2Window::unload()
{
    DestroyWindow(m_window);
}

std::u16string Form2Window::decimalSeparator() const
{
    wchar_t separator[8] = {};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    if (length <= 1)
        return u".";
    return std::u16string(
        reinterpret_cast<const char16_t *>(separator), static_cast<std::size_t>(length - 1));
}

LRESULT CALLBACK form2Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *created = new (std::nothrow) Form2Window(window);
        if (!created)
            return FALSE; // no window without its object
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto *form = reinterpret_cast<Form2Window *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(window, message, wParam, lParam);
    Form2Window::Hold hold(*form);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->release();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // No exception may unwind through the system's code that called this
    // procedure. One that reaches here (memory running out) leaves the
    // message's work undone and the window as it was; a window that cannot
    // be made is refused.
    try {
        return form->handle(message, wParam, lParam);
    } catch (...) {
        return message == WM_CREATE ? -1 : 0;
    }
}

} // namespace

HWND createForm2(HINSTANCE instance)
{
    INITCOMMONCONTROLSEX controls { sizeof controls, ICC_STANDARD_CLASSES };
    InitCommonControlsEx(&controls);
    if (!registerPictureBox(instance))
        return nullptr;

    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = form2Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_FORM2));
    windowClass.lpszClassName = form2Class;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;

    const std::wstring caption = wide(form2Caption);
    return CreateWindowExW(0, form2Class, caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
}

void deliver(MSG &message, HWND form2)
{
    if (IsWindow(form2) && IsDialogMessageW(form2, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int start(HINSTANCE instance, int showCommand)
{
    HWND form2 = createForm2(instance);
    if (!form2)
        return 1;
    ShowWindow(form2, showCommand);
    UpdateWindow(form2);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        deliver(message, form2);
    return static_cast<int>(message.wParam);
}

} // namespace window::win32
