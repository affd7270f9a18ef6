// SPDX-License-Identifier: GPL-3.0-or-later
// The reference values of the geometry suites, checked without Qt, so that a
// build for another platform (64-bit Windows with MinGW-w64, under Wine) can
// show it computes what the Linux build computes. The tables are those of
// tst_locator_decode.cpp, tst_great_circle.cpp and tst_locator_check.cpp.
//
// Whole numbers (bearing, distance) must match exactly: they are what the
// operator sees. Decoded coordinates are compared to within one unit in the
// last place. Decoding uses nothing but additions, multiplications and
// divisions, which IEEE 754 rounds the same everywhere, so any difference at
// all is worth a line in the output; but the exact bits also depend on how a
// compiler evaluates expressions (excess precision, contraction), and one ulp
// of a degree is a few nanometres on the ground. Which rows differ, if any, is
// printed.

#include "geometry/geometry.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

namespace {

int passed = 0;
int failed = 0;
int offByOneUlp = 0;

void check(bool ok, const char *row, const char *what)
{
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAIL %s: %s\n", row, what);
    }
}

// Distance in representable doubles; both values finite.
std::uint64_t ulpDistance(double a, double b)
{
    // Maps the doubles onto integers in the order of their values.
    const auto ordered = [](double v) {
        const auto bits = std::bit_cast<std::int64_t>(v);
        return bits < 0 ? std::numeric_limits<std::int64_t>::min() - bits : bits;
    };
    const std::int64_t x = ordered(a);
    const std::int64_t y = ordered(b);
    return x > y ? std::uint64_t(x) - std::uint64_t(y) : std::uint64_t(y) - std::uint64_t(x);
}

void checkDouble(double actual, double expected, const char *row, const char *what)
{
    const std::uint64_t ulps = ulpDistance(actual, expected);
    if (ulps == 1) {
        ++offByOneUlp;
        std::printf("NOTE %s: %s is %.17g, one ulp from %.17g\n", row, what, actual, expected);
    }
    if (ulps > 1)
        std::printf("     %s: %s is %.17g, expected %.17g\n", row, what, actual, expected);
    check(ulps <= 1, row, what);
}

void checkWhole(double actual, double expected, const char *row, const char *what)
{
    if (actual != expected)
        std::printf("     %s: %s is %.17g, expected %.17g\n", row, what, actual, expected);
    check(actual == expected, row, what);
}

struct DecodeRow
{
    const char *name;
    std::u16string_view working;
    double lon;
    double lat;
};

void referencePoints()
{
    // clang-format off
    constexpr DecodeRow rows[] = {
        {"initial Locator 1", u"JN81GD", 16.541666666666668, 41.145833333333336},
        {"completed square is not its centre", u"JN81LL", 16.958333333333332, 41.479166666666664},
        {"JN61FV", u"JN61FV", 12.458333333333334, 41.895833333333336},
        {"western hemisphere", u"FN20XR", -74.04166666666667, 40.729166666666664},
        {"south-west corner", u"AA00AA", -179.95833333333334, -89.97916666666667},
        {"north-east corner", u"RR99XX", 179.95833333333334, 89.97916666666667},
        {"sixth character missing", u"JN81G", 16.541666666666668, 38.3125},
        {"letter in fourth place", u"JN8LL", 16.958333333333332, 65.3125},
        {"empty: every slot counts 0", u"", -1581.375, -790.6875},
        {"outside the grid is decoded", u"ZZ99ZZ", 340.125, 170.0625},
        {"only six characters are read", u"JN81LLLL", 16.958333333333332, 41.479166666666664},
    };
    // clang-format on
    for (const DecodeRow &row : rows) {
        const geometry::Point p = geometry::decodePoint(geometry::locatorCodes(row.working));
        checkDouble(p.lon, row.lon, row.name, "longitude");
        checkDouble(p.lat, row.lat, row.name, "latitude");
    }
}

struct LocatorPairRow
{
    const char *name;
    std::u16string_view from;
    std::u16string_view to;
    double bearing;
    double distance;
};

void betweenLocators()
{
    // clang-format off
    constexpr LocatorPairRow rows[] = {
        {"JN81GD to JN61FV", u"JN81GD", u"JN61FV", 285, 350},
        {"swapped: a kilometre less", u"JN61FV", u"JN81GD", 102, 349},
        {"across the Atlantic", u"JN81GD", u"FN20XR", 303, 7206},
        {"and back", u"FN20XR", u"JN81GD", 56, 7205},
        {"same point, north of 38 degrees", u"JN81GD", u"JN81GD", 270, 0},
        {"same point near the equator", u"JJ00AA", u"JJ00AA", 270, 1},
        {"next subsquare east", u"JN81GD", u"JN81HD", 90, 6},
        {"next subsquare west", u"JN81GD", u"JN81FD", 270, 7},
        {"just west of north gives 360", u"JN81GD", u"JO81GD", 360, 1109},
        {"just east of north gives 0", u"JN81GD", u"JO81HD", 0, 1109},
        {"due south", u"JN81GD", u"JM81GD", 180, 1109},
        {"far south: azimuth cosine limit", u"JN81GD", u"JL81GD", 180, 2219},
        {"very far south", u"JN81GD", u"JD81GD", 180, 11095},
        {"antipodal subsquare centres", u"JJ00AA", u"AI09AX", 90, 19970},
    };
    // clang-format on
    for (const LocatorPairRow &row : rows) {
        const geometry::Point p1 = geometry::decodePoint(geometry::locatorCodes(row.from));
        const geometry::Point p2 = geometry::decodePoint(geometry::locatorCodes(row.to));
        const geometry::Solution s = geometry::solveGreatCircle(-p1.lon, p1.lat, -p2.lon, p2.lat);
        checkWhole(s.bearing, row.bearing, row.name, "bearing");
        checkWhole(s.distance, row.distance, row.name, "distance");
    }
}

struct DirectRow
{
    const char *name;
    double wlon1;
    double lat1;
    double wlon2;
    double lat2;
    double bearing;
    double distance;
};

void directCalls()
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    // clang-format off
    const DirectRow rows[] = {
        {"equator, eastward", -10.0, 0.0, -20.0, 0.0, 90, 1109},
        {"equator, westward", -20.0, 0.0, -10.0, 0.0, 270, 1110},
        // Steps that cannot be evaluated keep their value: no NaN or infinity
        // comes out, whatever comes in.
        {"NaN everywhere", nan, nan, nan, nan, 180, 1},
        {"infinite longitudes", inf, 10.0, -inf, 10.0, 270, 1},
    };
    // clang-format on
    for (const DirectRow &row : rows) {
        const geometry::Solution s =
            geometry::solveGreatCircle(row.wlon1, row.lat1, row.wlon2, row.lat2);
        checkWhole(s.bearing, row.bearing, row.name, "bearing");
        checkWhole(s.distance, row.distance, row.name, "distance");
    }

    // A half turn is exactly 180 degrees with the truncated pi.
    checkWhole(geometry::PiApprox / geometry::DegToRad, 180.0, "half turn", "degrees");
    checkWhole(geometry::DegToRad, 0.01745328888888889, "half turn", "radians per degree");
}

struct CheckRow
{
    const char *name;
    std::u16string_view text1;
    std::u16string_view text2;
    std::u16string_view working1;
    std::u16string_view working2;
    bool inputError;
    bool short1;
    bool short2;
    bool long1;
};

void locatorChecks()
{
    constexpr std::u16string_view v = u"JO59AB";
    // clang-format off
    constexpr CheckRow rows[] = {
        {"lower case is upper-cased", u"jn81gd", v, u"JN81GD", v, false, false, false, false},
        {"four characters get LL", u"jn81", v, u"JN81LL", v, false, true, false, false},
        {"two short locators, twice", u"JN81", u"jo59", u"JN81LLLL", u"JO59LLLL", false, true, true, false},
        {"empty is not completed", u"", v, u"", v, true, false, false, false},
        {"seven characters: too long", u"JN81GDX", v, u"JN81GDX", v, true, false, false, true},
        {"long Locator 2, no long flag", u"JN81GD", u"JN81GD ", u"JN81GD", u"JN81GD ", true, false, false, false},
        {"three characters", u"JN8", v, u"JN8LL", v, true, true, false, false},
        {"field letter beyond R", u"ZZ99ZZ", v, u"ZZ99ZZ", v, true, false, false, false},
        {"subsquare letter beyond X", u"JN81YD", v, u"JN81YD", v, true, false, false, false},
        {"Latin-1 small letters upper-cased", u"jn81g\u00e9", v, u"JN81G\u00c9", v, true, false, false, false},
        {"Cyrillic look-alike field", u"J\u041d81GD", v, u"J\u041d81GD", v, true, false, false, false},
        {"emoji: two UTF-16 units", u"JN81\U0001F600", v, u"JN81\U0001F600", v, true, false, false, false},
    };
    // clang-format on
    for (const CheckRow &row : rows) {
        const geometry::LocatorCheck c = geometry::checkLocators(row.text1, row.text2);
        check(c.locator1 == row.working1, row.name, "working Locator 1");
        check(c.locator2 == row.working2, row.name, "working Locator 2");
        check(c.InputError == row.inputError, row.name, "InputError");
        check(c.ShortFlag1 == row.short1, row.name, "ShortFlag1");
        check(c.ShortFlag2 == row.short2, row.name, "ShortFlag2");
        check(c.LongFlag1 == row.long1, row.name, "LongFlag1");
    }
}

} // namespace

int main()
{
    referencePoints();
    betweenLocators();
    directCalls();
    locatorChecks();
    if (offByOneUlp)
        std::printf("%d coordinate(s) one ulp from the reference\n", offByOneUlp);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
