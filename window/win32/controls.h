// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window's controls on the Windows platform, beyond what its stock edit
// boxes, buttons and labels do by themselves.

#include <windows.h>

namespace window::win32 {

// A window class for the picture box: a sunken box that draws the compass
// photograph at its natural size (for the window's dpi) from its inner
// top-left corner, clipped by the box. It takes the focus on a click or Tab
// and shows no sign of having it.
extern const wchar_t pictureBoxClass[];
bool registerPictureBox(HINSTANCE instance);

// Tells a picture box the dpi its window is laid out for (which, while the
// window moves to another monitor, may not yet be the one the system gives
// for the box), and has it drawn anew for it.
void setPictureDpi(HWND box, UINT dpi);

// Gives an edit box the behaviour the locator fields rely on: when Tab brings
// the focus in, its caret stays where it was instead of its whole text being
// selected, so characters typed into Locator 2 join its "...". Of a pasted
// text it takes the first line, without the blanks around it. What is typed
// or pasted arrives as the window's rule for the control named `box` (a name
// of the layout table, which outlives the box) has it: in a locator field,
// in capitals.
void makeTextBox(HWND edit, const char *box);

// Keeps a push button from ever being the window's default: Enter presses
// nothing but the button that has the focus.
void neverDefault(HWND button);

// The platform's message font (its default user-interface font) at `dpi`.
HFONT createMessageFont(UINT dpi);

} // namespace window::win32
