// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a single-line field takes of a pasted text, the same on every
// platform.

#include <string_view>

namespace window {

// The line a field takes of `pasted`: its first line, without the blanks
// (spaces and tabs) before and after it.
//
// Everything from the first line break (CR or LF) on is dropped. Locators
// copied from a log, a spot or a web page usually bring a line break along;
// kept, it would be a seventh character that no one sees, and the locator
// would never be calculated. A single-line edit box of the Windows platform
// does much the same by itself.
//
// The blanks around that line go for the same reason: a double click on a
// word in a browser or a terminal often takes the blank after it, and log
// and cluster lines part their fields with tabs. Only these two characters
// go, and only at the ends: a blank inside the text, any other space
// character, and blanks the user types all stay, and are judged as the
// locator's characters when it is calculated.
//
// Each runtime applies this rule to every way of pasting it has (keyboard,
// context menu, and on Linux the middle click and a drop), so that both keep
// the same line.
std::u16string_view pastedLine(std::u16string_view pasted);

} // namespace window
