// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window as Qt programs include it; the Qt runtime keeps it in qt/.
#include "window/qt/form2.h"
