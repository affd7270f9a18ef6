// SPDX-License-Identifier: GPL-3.0-or-later
#include "locator_decode.h"

#include <algorithm>

namespace geometry {

namespace {

// Grid of the Maidenhead system: 18 x 18 fields of 20 x 10 degrees, each of
// 10 x 10 squares of 2 x 1 degrees, each of 24 x 24 subsquares.
constexpr double codeOfA = 65;
constexpr double codeOfZero = 48;
constexpr double fieldLonDeg = 20;
constexpr double fieldLatDeg = 10;
constexpr double squareLonDeg = 2; // a square is 1 degree high: no factor for latitude
constexpr double subsquaresPerLonDeg = 12;
constexpr double subsquaresPerLatDeg = 24;
// The code of A less one half puts the point in the middle of the subsquare.
constexpr double subsquareCentreCode = 64.5;
constexpr double westEdgeDeg = -180;
constexpr double southEdgeDeg = -90;

// The code a single-byte character set gives a UTF-16 unit: ASCII and Latin-1
// keep their value, anything else shows as "?", as such a character set would
// show it.
std::int16_t singleByteCode(char16_t unit) noexcept
{
    constexpr std::int16_t questionMark = 63;
    return unit <= 0xFF ? static_cast<std::int16_t>(unit) : questionMark;
}

// An empty slot counts as 0.
double code(const LocatorCodes &codes, std::size_t position) noexcept
{
    return codes[position - 1].value_or(0);
}

} // namespace

LocatorCodes locatorCodes(std::u16string_view working) noexcept
{
    // Slots start empty; those past the end of the text stay so.
    LocatorCodes codes;
    const std::size_t present = std::min(working.size(), codes.size());
    for (std::size_t i = 0; i < present; ++i)
        codes[i] = singleByteCode(working[i]);
    return codes;
}

Point decodePoint(const LocatorCodes &codes) noexcept
{
    // The whole-degree terms are exact in a double; only the subsquare term is
    // rounded. The order of the additions is kept as written so that every
    // bit of the result is as before.
    Point p;
    p.lon = ((westEdgeDeg + (code(codes, 1) - codeOfA) * fieldLonDeg)
                + (code(codes, 3) - codeOfZero) * squareLonDeg)
        + (code(codes, 5) - subsquareCentreCode) / subsquaresPerLonDeg;
    p.lat =
        (((southEdgeDeg + (code(codes, 2) - codeOfA) * fieldLatDeg) + code(codes, 4)) - codeOfZero)
        + (code(codes, 6) - subsquareCentreCode) / subsquaresPerLatDeg;
    return p;
}

} // namespace geometry
