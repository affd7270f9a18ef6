// SPDX-License-Identifier: GPL-3.0-or-later
#include "number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace window {

namespace {

constexpr int significantDigits = 15;

// Room for a double in any notation that std::to_chars produces.
using NumberBuffer = std::array<char, 400>;

} // namespace

std::optional<std::u16string> coordinateText(double value, std::u16string_view decimalSeparator)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // Zero, of either sign, has no significant digit to show and no sign.
    if (value == 0)
        return u"0";

    // The digits and the exponent of the value rounded to 15 significant
    // digits, read from the scientific form "d.dddddddddddddde+XX". Formatting
    // goes through std::to_chars, not QLocale or printf: both follow the
    // user's locale in ways a coordinate must not (grouping, other minus
    // signs and digits).
    NumberBuffer buffer;
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
        std::abs(value), std::chars_format::scientific, significantDigits - 1);
    if (error != std::errc())
        return std::nullopt;
    const std::string_view scientific(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t exponentMark = scientific.find('e');
    std::string digits;
    for (const char c : scientific.substr(0, exponentMark)) {
        if (c != '.')
            digits += c;
    }
    // The exponent is read from the characters std::to_chars wrote and no
    // further: the buffer has no terminator, and past them lies whatever an
    // earlier number left there ("e+01" after "e-100" would read as "e+010").
    std::string_view exponentText = scientific.substr(exponentMark + 1);
    if (exponentText.starts_with('+'))
        exponentText.remove_prefix(1);
    int exponent = 0;
    const auto exponentEnd = exponentText.data() + exponentText.size();
    if (std::from_chars(exponentText.data(), exponentEnd, exponent).ptr != exponentEnd)
        return std::nullopt;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    // Only ASCII digits and "-" come from here, so each char is one UTF-16
    // code unit.
    std::u16string text;
    const auto append = [&text](
                            std::string_view ascii) { text.append(ascii.begin(), ascii.end()); };
    if (value < 0)
        text += u'-';
    const std::string_view shown = digits;
    const auto digitCount = static_cast<int>(digits.size());
    if (exponent < 0) {
        text += u'0';
        text += decimalSeparator;
        text.append(static_cast<std::size_t>(-exponent - 1), u'0');
        append(shown);
    } else if (exponent + 1 >= digitCount) {
        append(shown);
        text.append(static_cast<std::size_t>(exponent + 1 - digitCount), u'0');
    } else {
        const auto whole = static_cast<std::size_t>(exponent + 1);
        append(shown.substr(0, whole));
        text += decimalSeparator;
        append(shown.substr(whole));
    }
    return text;
}

std::optional<std::u16string> resultText(double whole)
{
    if (!std::isfinite(whole))
        return std::nullopt;
    NumberBuffer buffer;
    const auto [end, error] = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), std::abs(whole), std::chars_format::fixed, 0);
    if (error != std::errc())
        return std::nullopt;
    const std::string_view digits(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    // -0.4 rounds to a zero that must not look negative.
    const bool negative = whole < 0 && digits != "0";
    std::u16string text(1, negative ? u'-' : u' ');
    text.append(digits.begin(), digits.end());
    return text;
}

} // namespace window
