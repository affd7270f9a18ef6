// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace geometry {

// Character codes of positions 1 to 6 of a working locator ([0] is position
// 1). A position past the end of the text stays empty and counts as 0.
using LocatorCodes = std::array<std::optional<std::int16_t>, 6>;

// Degrees, north-positive latitude and east-positive longitude.
struct Point
{
    double lat = 0;
    double lon = 0;
};

// Reads the codes of the first six UTF-16 units of a working locator: ASCII
// and Latin-1 keep their value, any other unit counts as 63 ("?"). Characters
// after the sixth are never read.
LocatorCodes locatorCodes(std::u16string_view working) noexcept;

// The centre of the six-character subsquare that the codes name. No range
// checks: codes outside the grid decode by the same formulas, far outside
// -180..180 and -90..90 if need be. The longitude is always an odd multiple of
// 1/24 degree and the latitude an odd multiple of 1/48, so neither is ever 0.
Point decodePoint(const LocatorCodes &codes) noexcept;

} // namespace geometry
