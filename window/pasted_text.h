// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a single-line field takes of a pasted text, the same on every
// platform.

#include <string_view>

namespace window {

// The first line of `pasted`: everything from the first line break (CR or
// LF) on is dropped. Locators copied from a log, a spot or a web page usually
// bring a line break along; kept, it would be a seventh character that no
// one sees, and the locator would never be calculated. A single-line edit box
// of the Windows platform does much the same by itself; each runtime applies
// this rule to every way of pasting it has (keyboard, context menu, and on
// Linux the middle click and a drop), so that both keep the same line.
std::u16string_view firstLine(std::u16string_view pasted);

} // namespace window
