// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The two text forms in which the window shows numbers. Pure functions: the
// decimal separator comes in as a parameter, so they do not depend on the
// process's locale or on any toolkit.

#include <optional>
#include <string>
#include <string_view>

namespace window {

// A coordinate: rounded to 15 significant digits, in plain decimal notation
// (never an exponent), trailing zeros and a bare separator dropped, "-" in
// front of a negative value, at least one digit before the separator, no digit
// grouping. "41.1458333333333", "-1581.375", "0.0625". Nothing for NaN or an
// infinity, which no text can stand for.
std::optional<std::u16string> coordinateText(double value, std::u16string_view decimalSeparator);

// A whole number as a result field shows it: one space in front of zero or a
// positive value, "-" in front of a negative one, no grouping (" 285", " 0",
// "-1"). A fraction is rounded away. Nothing for NaN or an infinity.
std::optional<std::u16string> resultText(double whole);

} // namespace window
