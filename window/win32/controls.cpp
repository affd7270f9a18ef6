// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls.h"

#include "clipboard.h"
#include "dpi.h"
#include "pictures.h"
#include "window/form2_handlers.h"
#include "window/photograph.h"

#include <commctrl.h>

#include <new>
#include <optional>
#include <string>

namespace window::win32 {

const wchar_t pictureBoxClass[] = L"RotavelPictureBox";

namespace {

// The picture box's extra bytes: the font it was given, and the dpi its
// window is laid out for (0 until it is told).
constexpr int fontOffset = 0;
constexpr int dpiOffset = sizeof(LONG_PTR);

void paintPicture(HWND box)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box, &paint);
    RECT inner;
    GetClientRect(box, &inner);
    FillRect(dc, &inner, GetSysColorBrush(COLOR_BTNFACE));

    // The photograph keeps its size on the screen at every dpi: at 96 dpi
    // pixel for pixel, on a denser screen from the rendering with the most
    // detail, scaled to fit.
    const auto laidOutDpi = static_cast<UINT>(GetWindowLongPtrW(box, dpiOffset));
    const UINT dpi = laidOutDpi != 0 ? laidOutDpi : dpiOf(box);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(box, GWLP_HINSTANCE));
    const Photograph photograph = photographFor(instance, dpi);
    HBITMAP source = photograph.bitmap;
    const int sourceScale = photograph.scale;
    if (source) {
        HDC sourceDc = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(sourceDc, source);
        const int sourceWidth = photographWidth * sourceScale;
        const int sourceHeight = photographHeight * sourceScale;
        const int width = MulDiv(photographWidth, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
        const int height = MulDiv(photographHeight, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
        if (width == sourceWidth && height == sourceHeight) {
            BitBlt(dc, 0, 0, width, height, sourceDc, 0, 0, SRCCOPY);
        } else {
            // HALFTONE averages the source pixels each screen pixel covers.
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
            StretchBlt(dc, 0, 0, width, height, sourceDc, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
        }
        SelectObject(sourceDc, previous);
        DeleteDC(sourceDc);
    }
    EndPaint(box, &paint);
}

// The procedures below are called by the system's code, which no C++
// exception may unwind: none throws, and a stray one ends the program at
// once instead of running on through the system's frames.
LRESULT CALLBACK pictureBoxProcedure(
    HWND box, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (message) {
    case WM_PAINT:
        paintPicture(box);
        return 0;
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT, without flicker
    case WM_SETFONT:
        // Kept for whoever asks, as every control does; the box shows no text.
        SetWindowLongPtrW(box, fontOffset, static_cast<LONG_PTR>(wParam));
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrW(box, fontOffset);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        // A click moves the focus here and does nothing else.
        SetFocus(box);
        return 0;
    default:
        return DefWindowProcW(box, message, wParam, lParam);
    }
}

// Puts the line a field takes of the clipboard's text, as the box `box`
// takes it, in place of the edit box's selection, as a paste that can be
// undone and that keeps to the box's limit. False when there is no text to
// paste.
bool pasteLine(HWND edit, const char *box) noexcept
{
    if (GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY)
        return false;
    const std::optional<std::u16string> line = clipboardLine(edit);
    if (!line)
        return false;
    std::u16string taken;
    try {
        taken = enteredText(box, *line);
    } catch (const std::bad_alloc &) {
        return true; // memory ran out: such a paste adds nothing
    }
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(taken.c_str()));
    return true;
}

// A typed UTF-16 unit as the box `box` takes it. The two halves of a
// character beyond the first plane come one by one and are left as they
// are, as is a unit when memory runs out: the Change handler's own
// upper-casing then applies.
WPARAM typedUnit(const char *box, WPARAM unit) noexcept
{
    if (unit > 0xFFFF)
        return unit;
    const auto typed = static_cast<char16_t>(unit);
    try {
        const std::u16string taken = enteredText(box, std::u16string_view(&typed, 1));
        return taken.size() == 1 ? taken.front() : unit;
    } catch (const std::bad_alloc &) {
        return unit;
    }
}

LRESULT CALLBACK editProcedure(
    HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR data) noexcept
{
    const auto *box = reinterpret_cast<const char *>(data);
    switch (message) {
    case WM_GETDLGCODE:
        // The dialog manager selects the whole text of a box that says it has
        // a selection to set; this one does not say so.
        return DefSubclassProc(edit, message, wParam, lParam) & ~DLGC_HASSETSEL;
    case WM_CHAR:
        // In the form the box takes it, so that the edit box keeps that form
        // for Undo.
        return DefSubclassProc(edit, message, typedUnit(box, wParam), lParam);
    case WM_PASTE:
        // Ctrl+V, Shift+Insert and the context menu's Paste all come here.
        if (pasteLine(edit, box))
            return 0;
        return DefSubclassProc(edit, message, wParam, lParam);
    default:
        return DefSubclassProc(edit, message, wParam, lParam);
    }
}

LRESULT CALLBACK buttonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
    UINT_PTR /*id*/, DWORD_PTR /*data*/) noexcept
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
    windowClass.cbWndExtra = 2 * sizeof(LONG_PTR);
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = pictureBoxClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void setPictureDpi(HWND box, UINT dpi)
{
    SetWindowLongPtrW(box, dpiOffset, static_cast<LONG_PTR>(dpi));
    InvalidateRect(box, nullptr, TRUE);
}

void makeTextBox(HWND edit, const char *box)
{
    SetWindowSubclass(edit, editProcedure, 0, reinterpret_cast<DWORD_PTR>(box));
}

void neverDefault(HWND button)
{
    SetWindowSubclass(button, buttonProcedure, 0, 0);
}

HFONT createMessageFont(UINT dpi)
{
    NONCLIENTMETRICSW metrics {};
    if (nonClientMetrics(metrics, dpi))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    // Without it, the bold System font a control starts with would do.
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace window::win32
