// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the Windows program's start-up: a window with Form2's
// caption, icon, size and its fifteen controls in the same places, with the
// same texts and the compass photograph, made of the platform's stock
// controls (static, edit, button) with the same resources and no handlers.
// It shows itself and ends when it is closed.

#include "window/form2_layout.h"
#include "window/win32/resources.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

// The layout table, nothing else of the window.
using namespace window;

namespace {

LRESULT CALLBACK bareProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    INITCOMMONCONTROLSEX controls { sizeof controls, ICC_STANDARD_CLASSES };
    InitCommonControlsEx(&controls);
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = bareProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_FORM2));
    windowClass.lpszClassName = L"BareForm2";
    RegisterClassExW(&windowClass);

    const std::string_view caption = form2Caption;
    RECT frame { 0, 0, twipsToPixels(form2ClientWidthTwips),
        twipsToPixels(form2ClientHeightTwips) };
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    HWND window =
        CreateWindowExW(0, L"BareForm2", std::wstring(caption.begin(), caption.end()).c_str(),
            WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
            frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    for (const ControlSpec &placed : form2Controls) {
        const std::string_view text = placed.text;
        const wchar_t *stockClass = WC_STATICW;
        DWORD style = WS_CHILD | (placed.visible ? WS_VISIBLE : 0);
        DWORD extendedStyle = 0;
        switch (placed.kind) {
        case ControlKind::PictureBox:
            style |= SS_BITMAP;
            extendedStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::Label:
            break;
        case ControlKind::TextBox:
            stockClass = WC_EDITW;
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            extendedStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::CommandButton:
            stockClass = WC_BUTTONW;
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        }
        HWND control = CreateWindowExW(extendedStyle, stockClass,
            std::wstring(text.begin(), text.end()).c_str(), style, twipsToPixels(placed.leftTwips),
            twipsToPixels(placed.topTwips), twipsToPixels(placed.widthTwips),
            twipsToPixels(placed.heightTwips), window, nullptr, instance, nullptr);
        if (placed.kind == ControlKind::PictureBox)
            SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP,
                reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_COMPASS),
                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        SendMessageW(
            control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
