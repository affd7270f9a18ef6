// SPDX-License-Identifier: GPL-3.0-or-later
// The solver on its own, fed any four doubles: NaN, the infinities, huge,
// tiny and subnormal values, latitudes far beyond the poles. It never fails:
// a step that cannot be evaluated keeps the value it would have replaced, so
// whatever comes in, the answer is a pair of finite whole numbers.
//
// Input: west longitude 1, latitude 1, west longitude 2, latitude 2 as four
// little-endian IEEE doubles; missing bytes are zero.

#include "fuzz_check.h"
#include "geometry/great_circle.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

using fuzzcheck::require;

namespace {

double doubleAt(const std::array<std::uint8_t, 32> &bytes, std::size_t index)
{
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < 8; ++i)
        bits |= std::uint64_t(bytes[index * 8 + i]) << (8 * i);
    return std::bit_cast<double>(bits);
}

bool isWhole(double v) { return std::isfinite(v) && v == std::floor(v); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::array<std::uint8_t, 32> bytes {};
    if (size > 0)
        std::memcpy(bytes.data(), data, std::min(size, bytes.size()));
    const double westLon1Deg = doubleAt(bytes, 0);
    const double lat1Deg = doubleAt(bytes, 1);
    const double westLon2Deg = doubleAt(bytes, 2);
    const double lat2Deg = doubleAt(bytes, 3);

    const geometry::Solution s =
        geometry::solveGreatCircle(westLon1Deg, lat1Deg, westLon2Deg, lat2Deg);
    require(isWhole(s.bearing), "bearing a finite whole number");
    require(isWhole(s.distance), "distance a finite whole number");
    // The central angle is only ever an arc cosine, 0 to pi, or its initial
    // 0: the distance stays within half a great circle whatever the input.
    require(s.distance >= 0 && s.distance <= 19971, "distance 0 to half a great circle");
    // The azimuth is held to a compass bearing only by its own steps: when
    // its cosine comes out above 1 the arc cosine cannot be taken and the
    // cosine itself stays as the angle. No input has been found that makes
    // that more than a full turn.
    require(s.bearing >= 0 && s.bearing <= 360, "bearing 0 to 360");
    return 0;
}
