// SPDX-License-Identifier: GPL-3.0-or-later
#include "locator_check.h"

#include <algorithm>

namespace geometry {

namespace {

// A four-character locator names a square; its centre subsquare is not
// appended, "LL" is: the subsquare just south-west of the square's centre.
constexpr std::u16string_view completionSuffix = u"LL";
constexpr std::size_t longestLocator = 6;
constexpr std::size_t longestShortLocator = 4;

// Lower-case letters of ASCII and Latin-1 become their capitals; everything
// else is kept, so the length never changes. Other scripts cannot form a
// locator, so their case does not matter here.
char16_t upperCase(char16_t c) noexcept
{
    constexpr char16_t caseOffset = u'a' - u'A';
    const bool asciiLower = c >= u'a' && c <= u'z';
    const bool latin1Lower = c >= 0xE0 && c <= 0xFE && c != 0xF7; // 0xF7 is the division sign
    // Arithmetic rather than a branch: whether a locator was typed in small
    // letters is anybody's guess.
    return static_cast<char16_t>(c - caseOffset * (asciiLower | latin1Lower));
}

bool inRange(char16_t c, char16_t first, char16_t last) noexcept
{
    return c >= first && c <= last;
}

// Field letters A-R (18 fields of 20 x 10 degrees), square digits, and for a
// six-character locator the subsquare letters A-X (24 x 24 per square).
bool isWellFormed(std::u16string_view upper) noexcept
{
    if (upper.size() != 4 && upper.size() != 6)
        return false;
    const bool square = inRange(upper[0], u'A', u'R') && inRange(upper[1], u'A', u'R')
        && inRange(upper[2], u'0', u'9') && inRange(upper[3], u'0', u'9');
    if (upper.size() == 4)
        return square;
    return square && inRange(upper[4], u'A', u'X') && inRange(upper[5], u'A', u'X');
}

// The working string, upper-cased and completed the given number of times,
// made in one go in the string that is handed back: a locator fits the
// string's own buffer, so nothing is allocated either (unless two short ones
// are completed twice).
WorkingLocator workingLocator(std::u16string_view text, std::size_t completions)
{
    WorkingLocator working(text.size() + completions * completionSuffix.size(), u'\0');
    auto end = std::transform(text.begin(), text.end(), working.begin(), upperCase);
    for (std::size_t i = 0; i < completions; ++i)
        end = std::copy(completionSuffix.begin(), completionSuffix.end(), end);
    return working;
}

bool isShort(std::u16string_view text) noexcept
{
    return !text.empty() && text.size() <= longestShortLocator;
}

} // namespace

LocatorCheck checkLocators(std::u16string_view text1, std::u16string_view text2)
{
    // A locator of one to four characters is completed with "LL"; two short
    // locators are completed once more. Decoding reads six characters only,
    // so the second time matters for a three-character text alone.
    const bool short1 = isShort(text1);
    const bool short2 = isShort(text2);
    const std::size_t completions = short1 && short2 ? 2 : 1;
    LocatorCheck check { workingLocator(text1, short1 ? completions : 0),
        workingLocator(text2, short2 ? completions : 0) };
    check.ShortFlag1 = short1;
    check.ShortFlag2 = short2;

    // Only Locator 1 being too long is worth a message box; an over-long
    // Locator 2 is an error like any other. Completion never makes a text too
    // long.
    check.LongFlag1 = text1.size() > longestLocator;
    const bool tooLong2 = text2.size() > longestLocator;
    // The third character alone would let "JN8", "JN81G" and "ZZ99ZZ" through,
    // to be decoded far from any square they could mean; the whole text must
    // fit, its third character a digit among the rest. The upper-cased text is
    // the start of the working string.
    const bool malformed1 =
        !isWellFormed(std::u16string_view(check.locator1).substr(0, text1.size()));
    const bool malformed2 =
        !isWellFormed(std::u16string_view(check.locator2).substr(0, text2.size()));
    check.InputError = check.LongFlag1 || malformed1 || tooLong2 || malformed2
        || check.locator1.empty() || check.locator2.empty();
    return check;
}

} // namespace geometry
