// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace geometry {

// Pi truncated to six decimals, on purpose: every angle of the solution is
// formed with it and converted back to degrees with it, so a half turn the
// solver adds converts to exactly 180 degrees, and a full turn to exactly 360.
inline constexpr double PiApprox = 3.141592;
inline constexpr double DegToRad = PiApprox / 180;

// Whole numbers held as doubles: bearing 0 to 360 inclusive (both 0 and 360
// occur, just east and just west of north), distance in kilometres, 0 or more.
struct Solution
{
    double bearing = 0;
    double distance = 0;
};

// Initial bearing from point 1 to point 2 and the distance between them on a
// sphere of radius 6356.775 km. Inputs in degrees: latitudes north-positive,
// longitudes WEST-positive, as the window passes them. Never fails: a step
// that cannot be evaluated (division by zero, root of a negative, an overflow,
// a non-finite input) keeps the value it would have replaced, starting from 0,
// so two points whose cosine of the central angle is exactly 0 give bearing
// 180 and distance 0.
Solution solveGreatCircle(double wlon1, double lat1, double wlon2, double lat2) noexcept;

} // namespace geometry
