// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/win32/form2_window.h"

// The program on Windows: the runtime builds the window, shows it and runs
// its events until it is unloaded.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    return window::win32::start(instance, showCommand);
}
