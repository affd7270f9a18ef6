// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window as it opens, as data: where each control stands, what it shows,
// and the name a screen reader reads for the picture (which has the focus at
// start), a field or a button. Every toolkit's layout test compares its
// window with this table. Plain C++: the Windows tests have no Qt.
//
// Places are in pixels from the client area's top-left corner: the layout's
// twips times the dpi over 1440, worked out by hand and rounded as the
// platform's MulDiv rounds, a half up (1335 twips at 144 dpi are 134).

namespace layout_cases {

struct Place
{
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int dpis[] = { 96, 144, 192 };

struct Control
{
    const char *name;
    const char *text; // caption or initial text
    const char *spokenName; // the picture's name, a visible field's label, a button's caption
    bool visible;
    Place at[3]; // at each of dpis
};

// clang-format off
inline constexpr Control controls[] = {
    { "Picture1", "",          "Compass",   true,  { { 0, 0, 185, 427 }, { 0, 0, 278, 640 }, { 0, 0, 370, 853 } } },
    { "Label1",   "Locator 1", nullptr,     true,  { { 240, 32, 89, 25 }, { 360, 48, 134, 38 }, { 480, 64, 178, 50 } } },
    { "Text3",    "JN81GD",    "Locator 1", true,  { { 336, 24, 81, 25 }, { 504, 36, 122, 38 }, { 672, 48, 162, 50 } } },
    { "Label2",   "Locator 2", nullptr,     true,  { { 240, 64, 89, 17 }, { 360, 96, 134, 26 }, { 480, 128, 178, 34 } } },
    { "Text5",    "...",       "Locator 2", true,  { { 336, 56, 81, 25 }, { 504, 84, 122, 38 }, { 672, 112, 162, 50 } } },
    { "Label3",   "Km",        nullptr,     true,  { { 240, 96, 73, 17 }, { 360, 144, 110, 26 }, { 480, 192, 146, 34 } } },
    { "Text6",    "...",       "Km",        true,  { { 336, 88, 81, 25 }, { 504, 132, 122, 38 }, { 672, 176, 162, 50 } } },
    { "Label4",   "Bearing",   nullptr,     true,  { { 240, 128, 81, 17 }, { 360, 192, 122, 26 }, { 480, 256, 162, 34 } } },
    { "Text1",    "...",       "Bearing",   true,  { { 336, 120, 81, 25 }, { 504, 180, 122, 38 }, { 672, 240, 162, 50 } } },
    { "Command1", "Calculate", "Calculate", true,  { { 232, 200, 105, 25 }, { 348, 300, 158, 38 }, { 464, 400, 210, 50 } } },
    { "Command2", "Exit",      "Exit",      true,  { { 344, 200, 97, 25 }, { 516, 300, 146, 38 }, { 688, 400, 194, 50 } } },
    { "Text2",    "Text2",     nullptr,     false, { { 248, 296, 81, 25 }, { 372, 444, 122, 38 }, { 496, 592, 162, 50 } } },
    { "Text7",    "Text7",     nullptr,     false, { { 344, 296, 73, 25 }, { 516, 444, 110, 38 }, { 688, 592, 146, 50 } } },
    { "Text4",    "Text4",     nullptr,     false, { { 248, 328, 81, 25 }, { 372, 492, 122, 38 }, { 496, 656, 162, 50 } } },
    { "Text8",    "Text8",     nullptr,     false, { { 344, 328, 73, 25 }, { 516, 492, 110, 38 }, { 688, 656, 146, 50 } } },
};
// The client area, 7380 x 6255 twips.
inline constexpr Place clientAreas[] = { { 0, 0, 492, 417 }, { 0, 0, 738, 626 }, { 0, 0, 984, 834 } };
// clang-format on

} // namespace layout_cases
