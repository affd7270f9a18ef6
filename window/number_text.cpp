#include "number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace {

constexpr int significantDigits = 15;

// Room for a double in any notation that std::to_chars produces.
using NumberBuffer = std::array<char, 400>;

} // namespace

std::optional<QString> coordinateText(double value, QStringView decimalSeparator)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // Zero, of either sign, has no significant digit to show and no sign.
    if (value == 0)
        return QStringLiteral("0");

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

    QString text;
    if (value < 0)
        text += QLatin1Char('-');
    const auto digitCount = static_cast<int>(digits.size());
    if (exponent < 0) {
        text += QLatin1Char('0');
        text += decimalSeparator;
        text += QString(-exponent - 1, QLatin1Char('0'));
        text += QLatin1String(digits.data(), digitCount);
    } else if (exponent + 1 >= digitCount) {
        text += QLatin1String(digits.data(), digitCount);
        text += QString(exponent + 1 - digitCount, QLatin1Char('0'));
    } else {
        text += QLatin1String(digits.data(), exponent + 1);
        text += decimalSeparator;
        text += QLatin1String(digits.data() + exponent + 1, digitCount - exponent - 1);
    }
    return text;
}

std::optional<QString> resultText(double whole)
{
    if (!std::isfinite(whole))
        return std::nullopt;
    NumberBuffer buffer;
    const auto [end, error] = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), std::abs(whole), std::chars_format::fixed, 0);
    if (error != std::errc())
        return std::nullopt;
    const QLatin1String digits(buffer.data(), end);
    // -0.4 rounds to a zero that must not look negative.
    const bool negative = whole < 0 && digits != QLatin1String("0");
    return (negative ? QLatin1String("-") : QLatin1String(" ")) + digits;
}
