// SPDX-License-Identifier: GPL-3.0-or-later
#include "great_circle.h"

#include <cmath>
#include <limits>

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

// A step that cannot be evaluated is skipped and its target keeps its value.
// Whatever makes a step fail (a quotient by zero, the root of a negative
// number, an overflow, a NaN or infinite input) leaves a value that is not
// finite, and such a value stays non-finite through the rest of the step's
// arithmetic; the one exception, the arctangent, is dealt with by arcCosine.
// So a step has failed exactly when its value is not finite.
void assignUnlessFailed(double &target, double stepValue) noexcept
{
    if (std::isfinite(stepValue))
        target = stepValue;
}

constexpr double failedStep = std::numeric_limits<double>::quiet_NaN();

// -1, 0 or +1; only ever asked of finite values or inside a step that has
// already failed.
constexpr double sgn(double v) noexcept
{
    return (v > 0) - (v < 0);
}

// West-positive degrees to an east-positive angle in 0..2 pi (for longitudes
// from -180 to 180).
double eastLonRad(double westLonDeg) noexcept
{
    const double turnDeg = (sgn(westLonDeg - lonSignThresholdDeg) + 1) * halfTurnDeg;
    return -(westLonDeg - turnDeg) * DegToRad;
}

// Arc cosine as atan(sqrt(1 - x^2) / x) + pi/2 (1 - sgn x). The quotient is
// not finite for x = 0 and for |x| > 1, but the arctangent of an infinite
// quotient is a finite right angle: the quotient itself decides whether the
// step fails.
double arcCosine(double x) noexcept
{
    const double ratio = std::sqrt(1 - x * x) / x;
    if (!std::isfinite(ratio))
        return failedStep;
    return std::atan(ratio) + PiApprox / 2 * (1 - sgn(x));
}

// Adds a full turn to a negative angle and a half turn to an angle of exactly
// 0, as both the longitude difference and the azimuth need.
double intoPositiveTurn(double angle) noexcept
{
    return PiApprox * (1 - sgn(angle)) + angle;
}

double roundedWhole(double v) noexcept
{
    return std::floor(v + roundingOffset);
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
    assignUnlessFailed(w.phi1, w.lat1Deg * DegToRad);
    assignUnlessFailed(w.phi2, w.lat2Deg * DegToRad);

    // How far point 1 lies east of point 2, in 0..2 pi.
    assignUnlessFailed(w.deltaL, (w.L1 - w.L2) + lonDifferenceOffsetRad);
    assignUnlessFailed(w.deltaL, intoPositiveTurn(w.deltaL));

    assignUnlessFailed(w.u,
        std::sin(w.phi1) * std::sin(w.phi2)
            + (std::cos(w.phi1) * std::cos(w.phi2)) * std::cos(w.deltaL));
    assignUnlessFailed(w.d, arcCosine(w.u));

    // The cosine of the azimuth, with u standing in for cos d.
    assignUnlessFailed(
        w.a, ((std::sin(w.phi2) - w.u * std::sin(w.phi1)) / std::sin(w.d)) / std::cos(w.phi1));
    // A test that cannot be evaluated counts as passed.
    if (std::isnan(w.a) || w.a < azimuthCosineLimit)
        w.a = PiApprox;
    else
        assignUnlessFailed(w.a, arcCosine(w.a));
    // Mirrored into the western half when point 2 lies west of point 1, and
    // back again for a nearly antipodal pair (d beyond a half turn).
    assignUnlessFailed(w.a, w.a * sgn(w.deltaL - PiApprox) * sgn(PiApprox - w.d));
    assignUnlessFailed(w.a, intoPositiveTurn(w.a));

    assignUnlessFailed(w.result.bearing, roundedWhole(w.a / DegToRad));
    assignUnlessFailed(w.result.distance, roundedWhole(sphereRadiusKm * w.d));
    return w.result;
}

} // namespace geometry
