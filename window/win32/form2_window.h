// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one window on the Windows platform's own window API: the same fifteen
// controls from the same layout table, the same handlers, carried out with
// the platform's edit boxes, push buttons, static labels and message box.

#include <windows.h>

namespace window::win32 {

// Builds Form2 from the layout table, hidden, with the focus on its first
// control in tab order. Returns null when the platform refuses a window.
HWND createForm2(HINSTANCE instance);

// The keyboard interface of the window (Tab and Shift+Tab through the tab
// order), then the message's ordinary delivery. Every message of the event
// loop goes through here.
void deliver(MSG &message, HWND form2);

// The runtime's start: builds Form2, shows it, and runs the event loop until
// the window is unloaded. Returns the program's exit code.
int start(HINSTANCE instance, int showCommand);

} // namespace window::win32
