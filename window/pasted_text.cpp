// SPDX-License-Identifier: GPL-3.0-or-later
#include "pasted_text.h"

namespace window {

std::u16string_view firstLine(std::u16string_view pasted)
{
    return pasted.substr(0, pasted.find_first_of(u"\r\n"));
}

} // namespace window
