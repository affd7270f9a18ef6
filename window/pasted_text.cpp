// SPDX-License-Identifier: GPL-3.0-or-later
#include "pasted_text.h"

namespace window {

namespace {

constexpr std::u16string_view lineBreaks = u"\r\n";
constexpr std::u16string_view blanks = u" \t";

} // namespace

std::u16string_view pastedLine(std::u16string_view pasted)
{
    const std::u16string_view line = pasted.substr(0, pasted.find_first_of(lineBreaks));
    const std::size_t first = line.find_first_not_of(blanks);
    if (first == std::u16string_view::npos)
        return line.substr(line.size()); // blanks alone: nothing to take
    const std::size_t last = line.find_last_not_of(blanks);
    return line.substr(first, last - first + 1);
}

} // namespace window
