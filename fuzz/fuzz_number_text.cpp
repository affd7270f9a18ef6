// SPDX-License-Identifier: GPL-3.0-or-later
// The two text forms of numbers, fed any double and any decimal separator.
// A coordinate must read back as the number it shows, in plain notation, for
// whatever value and separator the locale hands in; a result must show its
// whole number exactly.
//
// Input: the value as a little-endian IEEE double (missing bytes are zero),
// then the separator as up to four UTF-16 units, little-endian.

#include "fuzz_check.h"
#include "window/number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

using fuzzcheck::require;

namespace {

constexpr int significantDigits = 15;
constexpr std::size_t longestSeparator = 4;

// Read into a wider type: the largest doubles round up, at 15 digits, past
// the largest double, and their text stands for a number no double holds.
template <typename Number> Number parsed(const std::string &text)
{
    Number value = std::numeric_limits<Number>::quiet_NaN();
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    require(error == std::errc() && end == text.data() + text.size(), "the text parses back");
    return value;
}

// The text as bytes for the checks below: ASCII stays, any other unit becomes
// '?', which none of them accepts.
std::string ascii(std::u16string_view text)
{
    std::string bytes;
    for (const char16_t unit : text)
        bytes += unit < 0x80 ? char(unit) : '?';
    return bytes;
}

// "-", digits, then "." and digits, or a whole number: nothing else.
bool isPlainDecimal(const std::string &text)
{
    std::size_t i = text.starts_with('-') ? 1 : 0;
    const std::size_t integerStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    const std::size_t integerDigits = i - integerStart;
    if (integerDigits == 0)
        return false;
    // A leading zero only in front of the separator.
    if (text[integerStart] == '0' && integerDigits > 1)
        return false;
    if (i == text.size())
        return true;
    if (text[i] != '.')
        return false;
    const std::size_t fractionStart = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    // No bare separator, no trailing zero.
    return i == text.size() && i > fractionStart && text.back() != '0';
}

int significantDigitCount(const std::string &text)
{
    std::string digits;
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            digits += c;
    }
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    const auto last = digits.find_last_not_of('0');
    return static_cast<int>(last - first + 1);
}

void checkCoordinate(double value, std::u16string_view separator)
{
    const auto text = window::coordinateText(value, separator);
    const auto withPoint = window::coordinateText(value, u".");
    if (!std::isfinite(value)) {
        require(!text && !withPoint, "no coordinate text for NaN or an infinity");
        return;
    }
    require(text && withPoint, "a coordinate text for every finite value");

    // Nor may a number formatted just before, with a longer exponent, change
    // it: the formatting must read its own digits only.
    require(window::coordinateText(std::numeric_limits<double>::denorm_min(), u".").has_value(),
        "a coordinate text for the smallest number");
    require(window::coordinateText(value, u".") == withPoint,
        "the same text again, whatever came before");

    // The separator is the only thing a locale changes.
    std::u16string expected = *withPoint;
    const auto point = expected.find(u'.');
    if (point != std::u16string::npos)
        expected.replace(point, 1, separator);
    require(*text == expected, "the separator stands where the point would");

    const std::string plain = ascii(*withPoint);
    require(isPlainDecimal(plain), "plain decimal: no exponent, grouping or stray zeros");
    require(significantDigitCount(plain) <= significantDigits, "at most 15 significant digits");
    require(plain != "-0", "no negative zero");
    require((plain.front() == '-') == (value < 0), "a minus sign exactly for a negative value");

    // Rounding to 15 significant digits moves a value by at most half a unit
    // of the 15th digit, 5e-15 of the value; reading back into a long double
    // adds far less than the margin given here.
    const long double back = parsed<long double>(plain);
    const long double allowed = 5.000001e-15L * std::abs(static_cast<long double>(value));
    require(std::abs(back - value) <= allowed, "reads back within 15-digit rounding");
}

void checkResult(double value)
{
    const auto text = window::resultText(value);
    if (!std::isfinite(value)) {
        require(!text, "no result text for NaN or an infinity");
        return;
    }
    require(text.has_value(), "a result text for every finite value");
    const std::string shown = ascii(*text);
    require(shown.size() >= 2 && (shown.front() == ' ' || shown.front() == '-'),
        "a space or a minus in front");
    const std::string digits = shown.substr(1);
    require(digits.find_first_not_of("0123456789") == std::string::npos, "digits only after it");
    require(digits.size() == 1 || digits.front() != '0', "no leading zero");
    require(shown != "-0", "no negative zero");
    const double back = parsed<double>(shown.front() == '-' ? shown : digits);
    if (value == std::floor(value)) {
        require(back == value, "a whole number reads back exactly");
    } else {
        require(std::abs(back - value) <= 0.5, "a fraction is rounded to a nearest whole");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    constexpr std::size_t valueSize = sizeof(double);
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < std::min(size, valueSize); ++i)
        bits |= std::uint64_t(data[i]) << (8 * i);
    const double value = std::bit_cast<double>(bits);

    std::u16string separator;
    for (std::size_t i = valueSize; i + 1 < size && separator.size() < longestSeparator; i += 2)
        separator += char16_t(data[i] | data[i + 1] << 8);

    checkCoordinate(value, separator);
    checkResult(value);
    return 0;
}
