// SPDX-License-Identifier: GPL-3.0-or-later
#include "upper_case.h"

#include "upper_case_table.h"

#include <algorithm>

namespace window {

namespace {

char32_t capitalOf(char32_t c)
{
    // The last run that starts at or before c is the only one that can hold it.
    const auto after = std::upper_bound(capitalRuns.begin(), capitalRuns.end(), c,
        [](char32_t value, const CapitalRun &run) { return value < run.first; });
    if (after == capitalRuns.begin())
        return c;
    const CapitalRun &run = *(after - 1);
    if (c > run.last || (c - run.first) % static_cast<char32_t>(run.stride) != 0)
        return c;
    return static_cast<char32_t>(static_cast<std::int32_t>(c) + run.delta);
}

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

std::u16string upperCase(std::u16string_view text)
{
    std::u16string result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        const char16_t unit = result[i];
        if (isHighSurrogate(unit) && i + 1 < result.size() && isLowSurrogate(result[i + 1])) {
            const char32_t c =
                0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(result[i + 1]) - 0xDC00);
            // The table holds only capitals of the same length: a character
            // outside the first plane keeps to it.
            const char32_t capital = capitalOf(c) - 0x10000;
            result[i] = static_cast<char16_t>(0xD800 + (capital >> 10));
            result[i + 1] = static_cast<char16_t>(0xDC00 + (capital & 0x3FF));
            ++i;
        } else if (!isHighSurrogate(unit) && !isLowSurrogate(unit)) {
            result[i] = static_cast<char16_t>(capitalOf(unit));
        }
    }
    return result;
}

} // namespace window
