// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What Form2 looks like, as data: its caption and size, and every control
// with its place, size, text, tab index and visibility. Positions and sizes
// are in twips from the top-left corner of the client area, 1440 twips to the
// inch: 15 to the pixel at 96 dots per inch. Every toolkit builds the window
// from this table.

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace window {

enum class ControlKind { PictureBox, Label, TextBox, CommandButton };

struct ControlSpec
{
    const char *name;
    ControlKind kind;
    const char *text; // caption or initial text
    int leftTwips;
    int topTwips;
    int widthTwips;
    int heightTwips;
    int tabIndex;
    bool visible;
    const char *buddy; // for a label: the field it names for screen readers
};

inline constexpr const char *form2Caption = "Rotavel 1.1 - Quillo";

// The application's title: the name the platform shows in the title of a box
// that has no title of its own (the message box of an over-long Locator 1).
inline constexpr const char *applicationTitle = "Rotavel";
inline constexpr int form2ClientWidthTwips = 7380;
inline constexpr int form2ClientHeightTwips = 6255;

// Locator 2 shows this until the user types there; Calculate does nothing
// while it does.
inline constexpr std::u16string_view locatorPlaceholder = u"...";

// A text box takes this many characters from the keyboard or a paste, as
// Qt's line edit and the Windows edit control both do by default; a longer
// paste is cut there on every platform alike.
inline constexpr int textBoxMaxLength = 32767;

inline constexpr int twipsPerInch = 1440;
inline constexpr int standardDpi = 96;

// Pixels at `dpi` dots per inch, rounded to the nearest: at 96 dpi a twip is
// 1/15 pixel.
constexpr int twipsToPixels(int twips, int dpi = standardDpi)
{
    return (twips * dpi + twipsPerInch / 2) / twipsPerInch;
}

// clang-format off
inline constexpr std::array<ControlSpec, 15> form2Controls{{
    // name       kind                        text          left   top  width height tab visible buddy
    {"Picture1", ControlKind::PictureBox,    "",              0,    0, 2775, 6400,  0, true,  nullptr}, // the compass photograph
    {"Label1",   ControlKind::Label,         "Locator 1",  3600,  480, 1335,  375,  9, true,  "Text3"},
    {"Text3",    ControlKind::TextBox,       "JN81GD",     5040,  360, 1215,  375,  3, true,  nullptr}, // Locator 1, own station
    {"Label2",   ControlKind::Label,         "Locator 2",  3600,  960, 1335,  255, 10, true,  "Text5"},
    {"Text5",    ControlKind::TextBox,       "...",        5040,  840, 1215,  375,  5, true,  nullptr}, // Locator 2, distant station
    {"Label3",   ControlKind::Label,         "Km",         3600, 1440, 1095,  255, 11, true,  "Text6"},
    {"Text6",    ControlKind::TextBox,       "...",        5040, 1320, 1215,  375,  6, true,  nullptr}, // distance, whole km
    {"Label4",   ControlKind::Label,         "Bearing",    3600, 1920, 1215,  255, 12, true,  "Text1"},
    {"Text1",    ControlKind::TextBox,       "...",        5040, 1800, 1215,  375,  1, true,  nullptr}, // bearing, whole degrees
    {"Command1", ControlKind::CommandButton, "Calculate",  3480, 3000, 1575,  375, 13, true,  nullptr},
    {"Command2", ControlKind::CommandButton, "Exit",       5160, 3000, 1455,  375, 14, true,  nullptr},
    {"Text2",    ControlKind::TextBox,       "Text2",      3720, 4440, 1215,  375,  2, false, nullptr}, // longitude 1, west positive
    {"Text7",    ControlKind::TextBox,       "Text7",      5160, 4440, 1095,  375,  7, false, nullptr}, // latitude 1
    {"Text4",    ControlKind::TextBox,       "Text4",      3720, 4920, 1215,  375,  4, false, nullptr}, // latitude 2
    {"Text8",    ControlKind::TextBox,       "Text8",      5160, 4920, 1095,  375,  8, false, nullptr}, // longitude 2, west positive
}};
// clang-format on

// The controls that take the focus, as positions in form2Controls, in the
// order Tab visits them: ascending tab index. Labels never take the focus.
inline std::vector<std::size_t> form2TabOrder()
{
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < form2Controls.size(); ++i) {
        if (form2Controls[i].kind != ControlKind::Label)
            order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [](std::size_t a, std::size_t b) {
        return form2Controls[a].tabIndex < form2Controls[b].tabIndex;
    });
    return order;
}

} // namespace window
