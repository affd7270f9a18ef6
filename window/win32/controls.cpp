// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls.h"

#include "resources.h"
#include "window/pasted_text.h"

#include <commctrl.h>

#include <string>

namespace win32 {

const wchar_t pictureBoxClass[] = L"RotavelPictureBox";

namespace {

// The photograph's size at 96 dpi, in pixels.
constexpr int photographWidth = 208;
constexpr int photographHeight = 415;

// Loaded on first use and kept for the run of the program, like the
// resource it comes from.
HBITMAP photograph(HINSTANCE instance)
{
    static HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(
        instance, MAKEINTRESOURCEW(IDB_COMPASS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    return bitmap;
}

void paintPicture(HWND box)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box, &paint);
    RECT inner;
    GetClientRect(box, &inner);
    FillRect(dc, &inner, GetSysColorBrush(COLOR_BTNFACE));

    // At 96 dpi the photograph is drawn pixel for pixel; on a denser screen
    // it keeps its size on the screen.
    const UINT dpi = GetDpiForWindow(box);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(box, GWLP_HINSTANCE));
    if (HBITMAP source = photograph(instance)) {
        HDC sourceDc = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(sourceDc, source);
        const int width = MulDiv(photographWidth, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
        const int height = MulDiv(photographHeight, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
        if (width == photographWidth && height == photographHeight) {
            BitBlt(dc, 0, 0, width, height, sourceDc, 0, 0, SRCCOPY);
        } else {
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
            StretchBlt(dc, 0, 0, width, height, sourceDc, 0, 0, photographWidth, photographHeight,
                SRCCOPY);
        }
        SelectObject(sourceDc, previous);
        DeleteDC(sourceDc);
    }
    EndPaint(box, &paint);
}

LRESULT CALLBACK pictureBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paintPicture(box);
        return 0;
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT, without flicker
    case WM_SETFONT:
        // Kept for whoever asks, as every control does; the box shows no text.
        SetWindowLongPtrW(box, 0, static_cast<LONG_PTR>(wParam));
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrW(box, 0);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        // A click moves the focus here and does nothing else.
        SetFocus(box);
        return 0;
    default:
        return DefWindowProcW(box, message, wParam, lParam);
    }
}

// Puts the first line of the clipboard's text in place of the edit box's
// selection, as a paste that can be undone and that keeps to the box's
// limit. False when there is no text to paste.
bool pasteFirstLine(HWND edit)
{
    if (GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY)
        return false;
    if (!OpenClipboard(edit))
        return false;
    std::u16string line;
    bool pasted = false;
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *units = static_cast<const char16_t *>(GlobalLock(memory))) {
            line = firstLine(units);
            pasted = true;
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    if (pasted)
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(line.c_str()));
    return pasted;
}

LRESULT CALLBACK editProcedure(
    HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR /*data*/)
{
    switch (message) {
    case WM_GETDLGCODE:
        // The dialog manager selects the whole text of a box that says it has
        // a selection to set; this one does not say so.
        return DefSubclassProc(edit, message, wParam, lParam) & ~DLGC_HASSETSEL;
    case WM_PASTE:
        // Ctrl+V, Shift+Insert and the context menu's Paste all come here.
        if (pasteFirstLine(edit))
            return 0;
        return DefSubclassProc(edit, message, wParam, lParam);
    default:
        return DefSubclassProc(edit, message, wParam, lParam);
    }
}

LRESULT CALLBACK buttonProcedure(
    HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR /*data*/)
{
    switch (message) {
    case WM_GETDLGCODE: {
        // Never the window's default button, nor one that may become it, so
        // Enter elsewhere presses nothing. With the focus here, the keyboard
        // interface takes it for the default one, so Enter chooses this
        // button as Space does.
        const LRESULT code = DefSubclassProc(button, message, wParam, lParam)
            & ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
        return GetFocus() == button ? code | DLGC_DEFPUSHBUTTON : code;
    }
    case BM_SETSTYLE:
        // The dialog manager makes a focused push button the default one.
        if ((wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            wParam = (wParam & ~BS_TYPEMASK) | BS_PUSHBUTTON;
        return DefSubclassProc(button, message, wParam, lParam);
    default:
        return DefSubclassProc(button, message, wParam, lParam);
    }
}

} // namespace

bool registerPictureBox(HINSTANCE instance)
{
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = pictureBoxProcedure;
    windowClass.cbWndExtra = sizeof(HFONT);
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = pictureBoxClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void keepCaretOnTab(HWND edit)
{
    SetWindowSubclass(edit, editProcedure, 0, 0);
}

void neverDefault(HWND button)
{
    SetWindowSubclass(button, buttonProcedure, 0, 0);
}

HFONT createMessageFont(UINT dpi)
{
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    // Without it, the bold System font a control starts with would do.
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace win32
