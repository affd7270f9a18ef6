// SPDX-License-Identifier: GPL-3.0-or-later
// The window on Windows at the screen's dpi: the layout in pixels, the
// compass photograph, and the window laying itself out anew when moved to a
// monitor of another dpi or given another message font.
//
//     tst_window_dpi [--dpi N] [--older-system S]   (see window_test.h)
//
// The message font is changed in the user's profile, as Settings changes
// it: run it in a throw-away Wine prefix (wine_prefix.sh --throw-away), so
// that the change reaches no later test even when this one ends half-way.

#include "window_test.h"

#include "window/win32/dpi.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numeric>
#include <vector>

using namespace window_test;

namespace {

// The compass photograph's size at 96 dpi, as the picture file has it.
constexpr int photographWidth = 208;
constexpr int photographHeight = 415;

// What `shown` shows, as 32-bit BGRX rows from its top-left corner.
std::vector<std::uint32_t> pixelsOf(HDC shown, int width, int height)
{
    BITMAPINFO info {};
    info.bmiHeader = { sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
    HDC memory = CreateCompatibleDC(shown);
    void *bits = nullptr;
    HBITMAP copy = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, shown, 0, 0, SRCCOPY);
    GdiFlush();
    const auto *first = static_cast<const std::uint32_t *>(bits);
    std::vector<std::uint32_t> pixels(first, first + std::ptrdiff_t(width) * height);
    SelectObject(memory, previous);
    DeleteObject(copy);
    DeleteDC(memory);
    for (std::uint32_t &pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

// What the picture box shows from its inner top-left corner, drawn afresh.
std::vector<std::uint32_t> pictureShown(HWND box, int width, int height)
{
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC shown = GetDC(box);
    std::vector<std::uint32_t> pixels = pixelsOf(shown, width, height);
    ReleaseDC(box, shown);
    return pixels;
}

// Every control as laid out for `dpi`: in its place, shown or hidden, in
// the message font, with its text.
void checkControls(HWND form, int dpi)
{
    for (const layout_cases::Control &control : layout_cases::controls) {
        HWND shown = find(form, control.name, dpi);
        RECT frame {};
        GetWindowRect(shown, &frame);
        MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT *>(&frame), 2);
        const Place wanted = control.at[columnFor(dpi)];
        const RECT place { wanted.left, wanted.top, wanted.left + wanted.width,
            wanted.top + wanted.height };
        const std::string_view name = control.name;
        check(shown && EqualRect(&frame, &place), name, " at ", frame.left, ",", frame.top, " ",
            frame.right - frame.left, "x", frame.bottom - frame.top, " at ", dpi, " dpi");
        check(bool(IsWindowVisible(shown)) == control.visible, name, " visible as laid out");
        check(SendMessageW(shown, WM_GETFONT, 0, 0) != 0, name, " has the message font");
        if (name.starts_with("Text") && control.visible) {
            // The text starts at the box's left edge, not scrolled out of view.
            const auto first = SendMessageW(shown, EM_POSFROMCHAR, 0, 0);
            const int x = short(LOWORD(first));
            check(first != -1 && x >= 0 && x < dpi / 8, name, " shows its text from the left");
        }
        // The picture's text is its name for screen readers.
        const std::string_view text = name == "Picture1" ? control.spokenName : control.text;
        check(textOf(shown) == std::u16string(text.begin(), text.end()), name, " shows \"",
            textOf(shown), "\"");
    }
}

void layoutInPixels()
{
    const Checking checking("layout at " + std::to_string(screenDpi) + " dpi");
    HWND form = openForm2();
    const int dpi = int(window::win32::dpiOf(form));
    check(dpi == screenDpi, "the screen has ", dpi, " dpi");

    check(textOf(form) == u"Rotavel 1.1 - Quillo", "the caption");
    RECT client;
    GetClientRect(form, &client);
    const Place area = layout_cases::clientAreas[columnFor(screenDpi)];
    check(client.right == area.width && client.bottom == area.height, "client area ", client.right,
        " x ", client.bottom);
    const LONG_PTR style = GetWindowLongPtrW(form, GWL_STYLE);
    check((style & WS_OVERLAPPEDWINDOW) == WS_OVERLAPPEDWINDOW, "a resizable frame with all boxes");
    check(SendMessageW(form, WM_GETICON, ICON_SMALL, 0)
            && SendMessageW(form, WM_GETICON, ICON_BIG, 0),
        "the window's icons");
    check(!GetMenu(form), "no menu bar");

    checkControls(form, screenDpi);
    close(form);
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
    for (int y = 1; y + 1 < height; ++y) {
        for (int x = 1; x + 1 < width; ++x) {
            const double laplacian =
                grey(x - 1, y) + grey(x + 1, y) + grey(x, y - 1) + grey(x, y + 1) - 4 * grey(x, y);
            sum += laplacian;
            squares += laplacian * laplacian;
        }
    }
    const double count = double(width - 2) * (height - 2);
    const double mean = sum / count;
    return std::sqrt(squares / count - mean * mean);
}

// The compass photograph as the picture box shows it: at 96 dpi the
// photograph itself, pixel for pixel; from 120 dpi up drawn from the
// double-density rendering, clearly sharper than the photograph stretched.
void photographShown()
{
    const Checking checking("the photograph");
    HWND form = openForm2();
    const int width = MulDiv(photographWidth, screenDpi, USER_DEFAULT_SCREEN_DPI);
    const int height = MulDiv(photographHeight, screenDpi, USER_DEFAULT_SCREEN_DPI);
    HWND box = find(form, "Picture1");
    RECT inner;
    GetClientRect(box, &inner);
    // What the box shows of it: the box clips the photograph.
    const int shownWidth = std::min(width, int(inner.right));
    const int shownHeight = std::min(height, int(inner.bottom));
    const std::vector<std::uint32_t> shown = pictureShown(box, shownWidth, shownHeight);

    // The photograph file itself at the size shown, as a screen without the
    // double-density rendering shows it: stretched from 120 dpi up.
    HBITMAP photograph = static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    check(photograph != nullptr, "the photograph among the resources");
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
    const std::vector<std::uint32_t> plain = pixelsOf(target, shownWidth, shownHeight);
    SelectObject(source, oldSource);
    SelectObject(target, oldTarget);
    DeleteObject(stretched);
    DeleteObject(photograph);
    DeleteDC(source);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
    close(form);

    if (screenDpi == USER_DEFAULT_SCREEN_DPI) {
        const int different = std::inner_product(
            shown.begin(), shown.end(), plain.begin(), 0, std::plus<>(), std::not_equal_to<>());
        check(different == 0, different, " pixels differ from the photograph");
        return;
    }
    const double sharp = sharpness(shown, shownWidth, shownHeight);
    const double blurred = sharpness(plain, shownWidth, shownHeight);
    std::printf(
        "sharpness at %d dpi: %.2f, the photograph stretched %.2f\n", screenDpi, sharp, blurred);
    // Measured under Wine: 44 against 14 at 192 dpi, 41 against 18 at 144.
    constexpr double clearlySharper = 1.5;
    check(
        sharp > clearlySharper * blurred, "sharpness ", sharp, " against ", blurred, " stretched");
}

// Moved to a monitor of another dpi, the window lays itself out anew for
// it, as the platform's WM_DPICHANGED asks: the controls laid out for the
// new dpi, the window at the place suggested. From 96 or 144 dpi it moves
// to a monitor of 192, from 192 to one of 96.
void movedToAnotherMonitor()
{
    const int newDpi = screenDpi == 192 ? 96 : 192;
    const Checking checking("moved to a monitor of " + std::to_string(newDpi) + " dpi");
    HWND form = openForm2();
    RECT suggested { 40, 30, 40 + 1100, 30 + 1000 };
    SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi), LPARAM(&suggested));
    settle(form);

    // The place and size suggested, whatever the client area would want:
    // the platform scales a size the user chose.
    RECT frame;
    GetWindowRect(form, &frame);
    check(EqualRect(&frame, &suggested), "at the place and size suggested, not ", frame.left, ",",
        frame.top, " ", frame.right - frame.left, "x", frame.bottom - frame.top);
    checkControls(form, newDpi);

    // The photograph drawn anew for the new dpi. Between its size at the
    // old dpi and at the new one (less a 2-pixel margin for the edge's
    // smoothing) the box shows the photograph where it grew, its bare
    // background where it shrank.
    HWND box = find(form, "Picture1", newDpi);
    RECT inner;
    GetClientRect(box, &inner);
    const std::vector<std::uint32_t> shown = pictureShown(box, int(inner.right), int(inner.bottom));
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // A pixel read holds red highest, a COLORREF lowest.
    const std::uint32_t background = RGB(GetBValue(face), GetGValue(face), GetRValue(face));
    const auto within = [](int x, int y, int dpi, int margin) {
        return x < MulDiv(photographWidth, dpi, USER_DEFAULT_SCREEN_DPI) + margin
            && y < MulDiv(photographHeight, dpi, USER_DEFAULT_SCREEN_DPI) + margin;
    };
    int between = 0;
    int bare = 0;
    for (int y = 0; y < inner.bottom; ++y) {
        for (int x = 0; x < inner.right; ++x) {
            if (within(x, y, std::max(screenDpi, newDpi), 0)
                && !within(x, y, std::min(screenDpi, newDpi), 2)) {
                ++between;
                bare += shown[std::size_t(y * inner.right + x)] == background;
            }
        }
    }
    check(between > 0 && (newDpi > screenDpi ? bare < between / 10 : bare > between * 9 / 10),
        "the photograph drawn for the new dpi (", bare, " of ", between,
        " pixels between its two sizes bare)");
    close(form);
}

// The user picks another message font (Settings): the controls take it,
// as the platform's WM_SETTINGCHANGE asks, and take the old one back.
void messageFontChanged()
{
    const Checking checking("a new message font");
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
    // Twice as tall. Written to the profile, as Settings does: the platform
    // tells the windows of a change only then. Put back below.
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
    check(std::abs(after - 2 * before) <= 1, "the font is ", after, " pixels tall, not twice ",
        before);
    check(heightShown() == before, "the old font back");
    close(form);
}

} // namespace

int main(int argc, char *argv[])
{
    if (!setUp(argc, argv))
        return 2;
    layoutInPixels();
    photographShown();
    movedToAnotherMonitor();
    messageFontChanged();
    return finish();
}
