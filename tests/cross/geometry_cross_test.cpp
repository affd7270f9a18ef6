// SPDX-License-Identifier: GPL-3.0-or-later
// The geometry's reference cases (geometry_cases.h) replayed without Qt, by
// the Linux build and by the Windows builds (MinGW-w64, under Wine) alike, so
// that every platform shows it computes the same values, to the last bit.
// Each row that differs is printed with both values in full.

#include "geometry/geometry.h"
#include "geometry_cases.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>

namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const char *row, const char *what)
{
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAIL %s: %s\n", row, what);
    }
}

// Bit for bit, the sign of zero included.
void checkExact(double actual, double expected, const char *row, const char *what)
{
    const bool same =
        std::bit_cast<std::uint64_t>(actual) == std::bit_cast<std::uint64_t>(expected);
    if (!same)
        std::printf("     %s: %s is %.17g, expected %.17g\n", row, what, actual, expected);
    check(same, row, what);
}

void replayChecks()
{
    for (const auto &row : geometry_cases::checks) {
        const geometry::LocatorCheck c = geometry::checkLocators(row.text1, row.text2);
        check(c.locator1 == row.working1, row.name, "working Locator 1");
        check(c.locator2 == row.working2, row.name, "working Locator 2");
        check(c.InputError == row.inputError, row.name, "InputError");
        check(c.ShortFlag1 == row.short1, row.name, "ShortFlag1");
        check(c.ShortFlag2 == row.short2, row.name, "ShortFlag2");
        check(c.LongFlag1 == row.long1, row.name, "LongFlag1");
    }
    for (const auto &row : geometry_cases::malformed) {
        const auto asLocator1 = geometry::checkLocators(row.text, geometry_cases::valid);
        const auto asLocator2 = geometry::checkLocators(geometry_cases::valid, row.text);
        check(asLocator1.InputError == row.inputError, row.name, "InputError as Locator 1");
        check(asLocator2.InputError == row.inputError, row.name, "InputError as Locator 2");
        check(asLocator1.LongFlag1 == (row.text.size() > 6), row.name, "LongFlag1");
    }
}

void replayDecodes()
{
    // Each UTF-16 unit of the text is one character with the row's code.
    for (const auto &row : geometry_cases::characterCodes) {
        const geometry::LocatorCodes codes = geometry::locatorCodes(row.text);
        const auto units = std::ptrdiff_t(row.text.size());
        check(std::count(codes.begin(), codes.end(), row.code) == units && !codes[units], row.name,
            "character codes");
    }
    for (const auto &row : geometry_cases::decodes) {
        const geometry::Point p = geometry::decodePoint(geometry::locatorCodes(row.working));
        checkExact(p.lon, row.lon, row.name, "longitude");
        checkExact(p.lat, row.lat, row.name, "latitude");
    }
}

void replaySolutions()
{
    for (const auto &row : geometry_cases::locatorPairs) {
        const geometry::Point p1 = geometry::decodePoint(geometry::locatorCodes(row.from));
        const geometry::Point p2 = geometry::decodePoint(geometry::locatorCodes(row.to));
        const geometry::Solution s = geometry::solveGreatCircle(-p1.lon, p1.lat, -p2.lon, p2.lat);
        checkExact(s.bearing, row.bearing, row.name, "bearing");
        checkExact(s.distance, row.distance, row.name, "distance");
    }
    for (const auto &row : geometry_cases::directs) {
        const geometry::Solution s =
            geometry::solveGreatCircle(row.wlon1, row.lat1, row.wlon2, row.lat2);
        checkExact(s.bearing, row.bearing, row.name, "bearing");
        checkExact(s.distance, row.distance, row.name, "distance");
    }
}

} // namespace

int main()
{
    replayChecks();
    replayDecodes();
    replaySolutions();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
