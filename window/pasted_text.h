// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a single-line field takes of a pasted text, the same on every
// platform.

#include <string_view>

// The first line of `pasted`: everything from the first line break (CR or
// LF) on is dropped. Locators copied from a log, a spot or a web page usually
// bring a line break along; kept, it would be a seventh character that no
// one sees, and the locator would never be calculated. This is what a
// single-line edit box of the Windows platform does with a paste by itself;
// the Qt runtime applies it to every paste (keyboard, context menu, middle
// click, drop).
std::u16string_view firstLine(std::u16string_view pasted);
