// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls.h"

#include "resources.h"

#include <commctrl.h>

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

LRESULT CALLBACK editProcedure(
    HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR /*data*/)
{
    // The dialog manager selects the whole text of a box that says it has
    // a selection to set; this one does not say so.
    if (message == WM_GETDLGCODE)
        return DefSubclassProc(edit, message, wParam, lParam) & ~DLGC_HASSETSEL;
    return DefSubclassProc(edit, message, wParam, lParam);
}

LRESULT CALLBACK buttonProcedure(
    HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR /*data*/)
{
    switch (message) {
    case WM_GETDLGCODE:
        // Not a default button, nor one that may become it: Enter with the
        // focus here goes to the window, which ignores it.
        return DefSubclassProc(button, message, wParam, lParam)
            & ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
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
