#include "locator_check.h"

#include "checked_math.h"

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

// A missing third character counts as a failed check, not as an error of its
// own: it can only happen for an empty working string.
bool thirdIsDigit(std::u16string_view working) noexcept
{
    const auto code = charCodeAt(working, 2);
    return code && *code >= '0' && *code <= '9';
}

// The upper-cased text, written straight into the string that is handed back
// (it is never copied): a locator fits the string's own buffer, so nothing is
// allocated either.
WorkingLocator upperCased(std::u16string_view text)
{
    WorkingLocator upper(text.size(), u'\0');
    std::transform(text.begin(), text.end(), upper.begin(), upperCase);
    return upper;
}

// Steps that each locator goes through on its own after upper-casing:
// completion of one to four characters with "LL", the length check and the
// checks of its characters.
struct LocatorFlags
{
    bool completed = false;
    bool tooLong = false;
    bool malformed = false;
};

LocatorFlags completeAndJudge(WorkingLocator &working)
{
    LocatorFlags flags;
    // The third character alone lets "JN8", "JN81G" and "ZZ99ZZ" through, to be
    // decoded far from any square they could mean; the whole text must fit.
    const bool wellFormed = isWellFormed(working);
    if (!working.empty() && working.size() <= longestShortLocator) {
        working += completionSuffix;
        flags.completed = true;
    }
    flags.tooLong = working.size() > longestLocator;
    flags.malformed = !thirdIsDigit(working) || !wellFormed;
    return flags;
}

} // namespace

LocatorCheck checkLocators(std::u16string_view text1, std::u16string_view text2)
{
    // The working strings are made in place in the result that is handed back.
    LocatorCheck check { upperCased(text1), upperCased(text2) };
    const LocatorFlags one = completeAndJudge(check.locator1);
    const LocatorFlags two = completeAndJudge(check.locator2);

    check.ShortFlag1 = one.completed;
    check.ShortFlag2 = two.completed;
    // Only Locator 1 being too long is worth a message box; an over-long
    // Locator 2 is an error like any other.
    check.LongFlag1 = one.tooLong;
    check.InputError = one.tooLong || one.malformed || two.tooLong || two.malformed
        || check.locator1.empty() || check.locator2.empty();

    // Two short locators are completed once more, Locator 2 first. Decoding
    // reads six characters only, so this matters for a three-character text.
    if (check.ShortFlag1 && check.ShortFlag2) {
        check.locator2 += completionSuffix;
        check.locator1 += completionSuffix;
    }
    return check;
}

} // namespace geometry
