#include "great_circle.h"

#include "checked_math.h"

#include <cmath>
#include <optional>

// Notation:
//   phi  latitude in radians, north positive
//   L    longitude in radians, east positive, brought into 0..2 pi
//   u    cosine of the central angle, d the central angle in radians
//   a    first the cosine of the azimuth, then the azimuth in radians
// Spherical law of cosines for d, and for the azimuth
//   cos a = (sin phi2 - cos d sin phi1) / (sin d cos phi1),
// with u standing in for cos d. Arc cosines are taken as
//   atan(sqrt(1 - x^2) / x), plus a half turn for negative x.

namespace geometry {

namespace {

constexpr double sphereRadiusKm = 6356.775;
// A west longitude up to this value counts as east of Greenwich.
constexpr double lonSignThresholdDeg = 0.0001;
// Added to every longitude difference, so that two identical points are
// 0.0001 radian apart and point 2 counts as lying just west of point 1.
constexpr double lonDifferenceOffsetRad = 0.0001;
// Two points on the equator would give a degenerate azimuth: move one a
// little north.
constexpr double equatorNudgeDeg = 0.00001;
// Below this, the azimuth is due south; the arc cosine form loses its
// precision there.
constexpr double azimuthCosineLimit = -0.9999999;
constexpr double halfTurnDeg = 180;
constexpr double roundingOffset = 0.5;

// The working values of one solution, all 0 at its start: a step that fails
// leaves the value from earlier in this solution, never one from another.
struct Working
{
    double lat1Deg = 0;
    double lat2Deg = 0;
    double L1 = 0;
    double L2 = 0;
    double phi1 = 0;
    double phi2 = 0;
    double deltaL = 0;
    double u = 0;
    double d = 0;
    double a = 0;
    Solution result;
};

// West-positive degrees to an east-positive angle in 0..2 pi (for longitudes
// from -180 to 180).
std::optional<double> eastLonRad(double westLonDeg) noexcept
{
    const auto sign = checkedSgn(westLonDeg - lonSignThresholdDeg);
    if (!sign)
        return std::nullopt;
    const double turnDeg = (*sign + 1) * halfTurnDeg;
    return finiteOrNone(-(westLonDeg - turnDeg) * DegToRad);
}

// Arc cosine as atan(sqrt(1 - x^2) / x) + pi/2 (1 - sgn x): fails for x = 0
// and for |x| > 1.
std::optional<double> arcCosine(double x) noexcept
{
    const auto root = checkedSqrt(1 - x * x);
    if (!root)
        return std::nullopt;
    const auto ratio = checkedDiv(*root, x);
    const auto sign = checkedSgn(x);
    if (!ratio || !sign)
        return std::nullopt;
    return finiteOrNone(std::atan(*ratio) + PiApprox / 2 * (1 - *sign));
}

// Adds a full turn to a negative angle and a half turn to an angle of exactly
// 0, as both the longitude difference and the azimuth need.
std::optional<double> intoPositiveTurn(double angle) noexcept
{
    const auto sign = checkedSgn(angle);
    if (!sign)
        return std::nullopt;
    return finiteOrNone(PiApprox * (1 - *sign) + angle);
}

std::optional<double> roundedWhole(std::optional<double> v) noexcept
{
    if (!v)
        return std::nullopt;
    return finiteOrNone(std::floor(*v + roundingOffset));
}

std::optional<double> azimuthCosine(const Working &w) noexcept
{
    const auto perSinD = checkedDiv(std::sin(w.phi2) - w.u * std::sin(w.phi1), std::sin(w.d));
    if (!perSinD)
        return std::nullopt;
    return checkedDiv(*perSinD, std::cos(w.phi1));
}

// Mirrors the azimuth into the western half when point 2 lies west of point 1,
// and back again for a nearly antipodal pair (d beyond a half turn).
std::optional<double> mirroredAzimuth(const Working &w) noexcept
{
    const auto west = checkedSgn(w.deltaL - PiApprox);
    const auto beyondHalfTurn = checkedSgn(PiApprox - w.d);
    if (!west || !beyondHalfTurn)
        return std::nullopt;
    return finiteOrNone(w.a * *west * *beyondHalfTurn);
}

// A test that cannot be evaluated counts as passed.
std::optional<bool> isBelow(double v, double limit) noexcept
{
    if (std::isnan(v))
        return std::nullopt;
    return v < limit;
}

} // namespace

Solution solveGreatCircle(double wlon1, double lat1, double wlon2, double lat2) noexcept
{
    Working w;
    w.lat1Deg = lat1;
    w.lat2Deg = lat2;

    if (w.lat1Deg == 0 && w.lat2Deg == 0)
        w.lat1Deg = w.lat1Deg + equatorNudgeDeg;

    assignUnlessFailed(w.L1, eastLonRad(wlon1));
    assignUnlessFailed(w.L2, eastLonRad(wlon2));
    assignUnlessFailed(w.phi1, finiteOrNone(w.lat1Deg * DegToRad));
    assignUnlessFailed(w.phi2, finiteOrNone(w.lat2Deg * DegToRad));

    // How far point 1 lies east of point 2, in 0..2 pi.
    assignUnlessFailed(w.deltaL, finiteOrNone((w.L1 - w.L2) + lonDifferenceOffsetRad));
    assignUnlessFailed(w.deltaL, intoPositiveTurn(w.deltaL));

    assignUnlessFailed(w.u,
        finiteOrNone(std::sin(w.phi1) * std::sin(w.phi2)
            + (std::cos(w.phi1) * std::cos(w.phi2)) * std::cos(w.deltaL)));
    assignUnlessFailed(w.d, arcCosine(w.u));

    assignUnlessFailed(w.a, azimuthCosine(w));
    if (isBelow(w.a, azimuthCosineLimit).value_or(true))
        w.a = PiApprox;
    else
        assignUnlessFailed(w.a, arcCosine(w.a));
    assignUnlessFailed(w.a, mirroredAzimuth(w));
    assignUnlessFailed(w.a, intoPositiveTurn(w.a));

    assignUnlessFailed(w.result.bearing, roundedWhole(checkedDiv(w.a, DegToRad)));
    assignUnlessFailed(w.result.distance, roundedWhole(finiteOrNone(sphereRadiusKm * w.d)));
    return w.result;
}

} // namespace geometry
