// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The geometry's reference cases, as data: checking the two locator texts,
// decoding a locator into degrees, and the bearing and distance between two
// points. One plain C++ driver (cross/geometry_cross_test.cpp) replays them
// on Linux and, built with MinGW-w64, under Wine: one table and one driver,
// so the platforms cannot drift apart.
//
// Every expected value is exact and compared exactly. The bearing and the
// distance are whole numbers, as the operator sees them. The decoded degrees
// are exact too: the order of the additions matters to the last bit, and
// IEEE 754 rounds additions, multiplications and divisions the same on every
// platform.

#include <cstdint>
#include <limits>
#include <string_view>

namespace geometry_cases {

using namespace std::string_view_literals;

// checkLocators(text1, text2): the working strings and the flags.
struct Check
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

inline constexpr std::u16string_view valid = u"JO59AB";

// clang-format off
inline constexpr Check checks[] = {
    { "lower case is upper-cased",     u"jn81gd",  valid,   u"JN81GD",   valid,       false, false, false, false },
    { "four characters get LL",        u"jn81",    valid,   u"JN81LL",   valid,       false, true,  false, false },
    { "two short locators, twice",     u"JN81",    u"jo59", u"JN81LLLL", u"JO59LLLL", false, true,  true,  false },
    { "short Locator 2 alone",         u"JN81GD",  u"JO59", u"JN81GD",   u"JO59LL",   false, false, true,  false },
    { "both valid, nothing to do",     u"IO91WM",  u"FN20XR", u"IO91WM", u"FN20XR",   false, false, false, false },
    { "empty is not completed",        u"",        valid,   u"",         valid,       true,  false, false, false },
    { "empty 1 and short 2",           u"",        u"JO59", u"",         u"JO59LL",   true,  false, true,  false },
    { "empty Locator 2",               u"JN81GD",  u"",     u"JN81GD",   u"",         true,  false, false, false },
    { "two characters: L is third",    u"JN",      valid,   u"JNLL",     valid,       true,  true,  false, false },
    { "one character",                 u"J",       valid,   u"JLL",      valid,       true,  true,  false, false },
    { "seven characters: too long",    u"JN81GDX", valid,   u"JN81GDX",  valid,       true,  false, false, true },
    { "trailing blank: too long",      u"JN81GD ", valid,   u"JN81GD ",  valid,       true,  false, false, true },
    { "long Locator 2, no long flag",  u"JN81GD",  u"JN81GD ", u"JN81GD", u"JN81GD ", true,  false, false, false },
    // The third character alone let these through; they are completed and
    // decoded as before, but now reported.
    { "fixed: three characters",       u"JN8",     valid,   u"JN8LL",    valid,       true,  true,  false, false },
    { "fixed: three against short 2",  u"JN8",     u"JO59", u"JN8LLLL",  u"JO59LLLL", true,  true,  true,  false },
    { "fixed: five characters",        u"JN81G",   valid,   u"JN81G",    valid,       true,  false, false, false },
    { "Latin-1 small letters upper-cased", u"jn81g\u00e9", valid, u"JN81G\u00c9", valid, true, false, false, false },
};
// clang-format on

// A text tried as Locator 1 and as Locator 2 against a valid partner.
struct Malformed
{
    const char *name;
    std::u16string_view text;
    bool inputError;
};

inline constexpr Malformed malformed[] = {
    { "six, well formed", u"JN81GD", false },
    { "four, well formed", u"jn81", false },
    { "corners of the grid", u"RR99XX", false },
    { "south-west corner", u"aa00aa", false },
    { "letter in third place", u"JNX1GD", true },
    { "blank in third place", u"JN 1GD", true },
    { "slash in third place", u"JN/1GD", true },
    { "fixed: field letter beyond R", u"ZZ99ZZ", true },
    { "fixed: S as first letter", u"SN81GD", true },
    { "fixed: S as second letter", u"JS81GD", true },
    { "fixed: punctuation first", u"J#81GD", true },
    { "fixed: letter in fourth place", u"JN8AGD", true },
    { "fixed: subsquare letter beyond X", u"JN81YD", true },
    { "fixed: digit as subsquare", u"JN81G5", true },
    { "fixed: five characters", u"JN81G", true },
    { "fixed: three characters", u"JN8", true },
    { "fixed: Latin-1 letter as field", u"\u00c9N81GD", true },
    { "fixed: Cyrillic look-alike field", u"J\u041d81GD", true },
    { "fixed: full-width digit third", u"JN\uff181GD", true },
    { "leading blank", u" JN81G", true },
    { "NUL inside",
        u"JN\0"
        u"81G"sv,
        true },
    { "emoji: two UTF-16 units", u"JN81\U0001F600", true },
};

// locatorCodes(text): the code decoding reads for each UTF-16 unit of one
// character.
struct CharacterCode
{
    const char *name;
    std::u16string_view text;
    std::int16_t code;
};

inline constexpr CharacterCode characterCodes[] = {
    { "ASCII letter", u"A", 65 },
    { "blank", u" ", 32 },
    { "NUL", u"\0"sv, 0 },
    { "Latin-1 keeps its value", u"\u00c9", 0xC9 },
    { "last Latin-1 character", u"\u00ff", 0xFF },
    { "Cyrillic shows as ?", u"\u0416", 63 },
    { "lone surrogate shows as ?", u"\xD800", 63 },
    { "emoji: two UTF-16 units, each ?", u"\U0001F600", 63 },
};

// decodePoint(locatorCodes(working)), in degrees, east-positive longitude.
struct Decode
{
    const char *name;
    std::u16string_view working;
    double lon;
    double lat;
};

// Replayed in this order: the locator missing its sixth character comes after
// full ones, so a slot kept from an earlier call would move it.
inline constexpr Decode decodes[] = {
    { "initial Locator 1", u"JN81GD", 16.541666666666668, 41.145833333333336 },
    { "completed square is not its centre", u"JN81LL", 16.958333333333332, 41.479166666666664 },
    { "JN61FV", u"JN61FV", 12.458333333333334, 41.895833333333336 },
    { "western hemisphere", u"FN20XR", -74.04166666666667, 40.729166666666664 },
    { "south-west corner", u"AA00AA", -179.95833333333334, -89.97916666666667 },
    { "north-east corner", u"RR99XX", 179.95833333333334, 89.97916666666667 },
    { "sixth character missing", u"JN81G", 16.541666666666668, 38.3125 },
    { "letter in fourth place", u"JN8LL", 16.958333333333332, 65.3125 },
    { "empty: every slot counts 0", u"", -1581.375, -790.6875 },
    { "outside the grid is decoded", u"ZZ99ZZ", 340.125, 170.0625 },
    { "only six characters are read", u"JN81LLLL", 16.958333333333332, 41.479166666666664 },
};

// Bearing and distance from one decoded locator to another, as the window
// asks for them (west-positive longitudes).
struct LocatorPair
{
    const char *name;
    std::u16string_view from;
    std::u16string_view to;
    double bearing;
    double distance;
};

// clang-format off
inline constexpr LocatorPair locatorPairs[] = {
    { "JN81GD to JN61FV",                u"JN81GD", u"JN61FV", 285, 350 },
    { "swapped: a kilometre less",       u"JN61FV", u"JN81GD", 102, 349 },
    { "across the Atlantic",             u"JN81GD", u"FN20XR", 303, 7206 },
    { "and back",                        u"FN20XR", u"JN81GD", 56, 7205 },
    { "same point, north of 38 degrees", u"JN81GD", u"JN81GD", 270, 0 },
    { "same point near the equator",     u"JJ00AA", u"JJ00AA", 270, 1 },
    { "next subsquare east",             u"JN81GD", u"JN81HD", 90, 6 },
    { "next subsquare west",             u"JN81GD", u"JN81FD", 270, 7 },
    { "just west of north gives 360",    u"JN81GD", u"JO81GD", 360, 1109 },
    { "just east of north gives 0",      u"JN81GD", u"JO81HD", 0, 1109 },
    { "due south",                       u"JN81GD", u"JM81GD", 180, 1109 },
    { "far south: azimuth cosine limit", u"JN81GD", u"JL81GD", 180, 2219 },
    { "very far south",                  u"JN81GD", u"JD81GD", 180, 11095 },
    { "antipodal subsquare centres",     u"JJ00AA", u"AI09AX", 90, 19970 },
};
// clang-format on

// solveGreatCircle called directly, with points no locator decodes to.
struct Direct
{
    const char *name;
    double wlon1;
    double lat1;
    double wlon2;
    double lat2;
    double bearing;
    double distance;
};

inline constexpr double nan = std::numeric_limits<double>::quiet_NaN();
inline constexpr double inf = std::numeric_limits<double>::infinity();

inline constexpr Direct directs[] = {
    // Both on the equator: latitude 1 is nudged north and the azimuth is
    // defined.
    { "equator, eastward", -10.0, 0.0, -20.0, 0.0, 90, 1109 },
    { "equator, westward", -20.0, 0.0, -10.0, 0.0, 270, 1110 },

    // Inputs for which a step cannot be evaluated: the solver still answers,
    // with the values those steps left behind, and never with NaN or
    // infinity.
    //
    // Found by searching for a pair whose cosine of the central angle comes
    // out as exactly 0: the central angle cannot be formed and stays 0, so
    // does the azimuth, until the last step makes it a half turn. Only the
    // truncated pi's factor from degrees to radians, to its last bit, gives
    // that 0: the true pi, or that factor one unit in the last place off,
    // gives 9985 km.
    { "u exactly 0: 180 and 0", -10.0, 74.080018648406408, -10.0, -15.92, 180, 0 },
    // The smallest negative latitude is -0 radians: point 2 lies due east on
    // the equator and the azimuth cosine comes out as exactly -0. Its arc
    // cosine is a quotient by zero whose arctangent alone would look like a
    // fine angle; the step fails and the cosine, 0, is kept as the azimuth.
    { "azimuth cosine exactly 0: 180", -10.0, 0.0, -20.0,
        -std::numeric_limits<double>::denorm_min(), 180, 1109 },
    // NaN has no sign and no sine: every step fed by it keeps its 0, leaving
    // two points at 0,0 without the equator nudge, 0.0001 radian apart.
    { "NaN everywhere", nan, nan, nan, nan, 180, 1 },
    // An infinite longitude cannot become an angle and stays 0: the same point
    // twice, at latitude 10.
    { "infinite longitudes", inf, 10.0, -inf, 10.0, 270, 1 },
};

} // namespace geometry_cases
