// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Numbers of the window's resources, shared by its resource script and its
// code. The resource compiler reads this header too, so they are macros.

#define IDI_FORM2 1 // the window's icon, and so the program file's
#define IDB_COMPASS 101 // the compass photograph at 96 dpi
#define IDB_COMPASS_2X 102 // its rendering at twice the density, compressed
