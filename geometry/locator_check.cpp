#include "locator_check.h"

#include "checked_math.h"

#include <algorithm>
#include <utility>

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
    return asciiLower || latin1Lower ? static_cast<char16_t>(c - caseOffset) : c;
}

WorkingLocator upperCased(std::u16string_view text)
{
    WorkingLocator result(text);
    std::transform(result.begin(), result.end(), result.begin(), upperCase);
    return result;
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

// Steps that each locator goes through on its own: upper-casing, completion
// of one to four characters with "LL", the length check and the checks of its
// characters.
struct CheckedLocator {
    WorkingLocator working;
    bool completed = false;
    bool tooLong = false;
    bool malformed = false;
};

CheckedLocator checkOne(std::u16string_view text)
{
    CheckedLocator one;
    one.working = upperCased(text);
    // The third character alone lets "JN8", "JN81G" and "ZZ99ZZ" through, to be
    // decoded far from any square they could mean; the whole text must fit.
    const bool wellFormed = isWellFormed(one.working);
    if (!one.working.empty() && one.working.size() <= longestShortLocator) {
        one.working += completionSuffix;
        one.completed = true;
    }
    one.tooLong = one.working.size() > longestLocator;
    one.malformed = !thirdIsDigit(one.working) || !wellFormed;
    return one;
}

} // namespace

LocatorCheck checkLocators(std::u16string_view text1, std::u16string_view text2)
{
    CheckedLocator one = checkOne(text1);
    CheckedLocator two = checkOne(text2);

    LocatorCheck check;
    check.locator1 = std::move(one.working);
    check.locator2 = std::move(two.working);
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
