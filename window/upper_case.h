// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the locator fields upper-case what is typed into them, the same on
// every platform.

#include <string>
#include <string_view>

namespace window {

// Every lower-case character replaced by its capital where the capital has the
// same length in UTF-16, so that the text keeps its length ("ß" stays "ß").
// A surrogate pair is one character; a lone surrogate is kept as it is.
std::u16string upperCase(std::u16string_view text);

} // namespace window
