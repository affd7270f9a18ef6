// SPDX-License-Identifier: GPL-3.0-or-later
// The path of two typed locators through the geometry, as the window takes
// it: check and complete both texts, decode both working strings, solve. Any
// UTF-16 content is possible in a text field (pasted text, NUL, lone
// surrogates), so the texts are arbitrary; whatever they hold, nothing may
// crash, an input that is not a locator must be reported, and every figure
// must be one the result fields can show.
//
// Input: text 1, a line feed byte, text 2 (all of it text 1 if there is no
// line feed). Bytes 0x00 to 0xFE are the UTF-16 unit of the same value, so
// ASCII and Latin-1 seeds read as they are; 0xFF takes the next two bytes as
// one unit, little-endian, for everything else (0xFF 0x0A 0x00 is a line feed
// inside a text, 0xFF 0x3D 0xD8 a lone high surrogate). A dangling 0xFF or
// half unit at the end is dropped.

#include "fuzz_check.h"
#include "geometry/geometry.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

using fuzzcheck::require;

namespace {

constexpr std::uint8_t textSeparator = 0x0A;
constexpr std::uint8_t unitEscape = 0xFF;

struct Texts
{
    std::u16string text1;
    std::u16string text2;
};

Texts splitInput(const std::uint8_t *data, std::size_t size)
{
    Texts texts;
    std::u16string *current = &texts.text1;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == textSeparator && current == &texts.text1) {
            current = &texts.text2;
        } else if (data[i] == unitEscape) {
            if (i + 2 >= size)
                break;
            current->push_back(static_cast<char16_t>(data[i + 1] | data[i + 2] << 8));
            i += 2;
        } else {
            current->push_back(data[i]);
        }
    }
    return texts;
}

// Upper case as far as a locator is concerned: only ASCII letters can become
// one of its characters.
char16_t asciiUpper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool between(char16_t c, char16_t first, char16_t last) { return c >= first && c <= last; }

// A Maidenhead locator of four or six characters, written out position by
// position: field letters A-R, square digits, subsquare letters A-X.
bool isLocator(std::u16string_view text)
{
    if (text.size() != 4 && text.size() != 6)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = asciiUpper(text[i]);
        const bool fits = i < 2 ? between(c, u'A', u'R')
            : i < 4             ? between(c, u'0', u'9')
                                : between(c, u'A', u'X');
        if (!fits)
            return false;
    }
    return true;
}

bool isShort(std::size_t length) { return length >= 1 && length <= 4; }

// Completion: one "LL" for a text of one to four units, a second one when the
// other text was short too; nothing for an empty or a longer text.
std::size_t workingLength(std::size_t length, std::size_t otherLength)
{
    if (!isShort(length))
        return length;
    return length + (isShort(otherLength) ? 4 : 2);
}

// Small letters of ASCII and Latin-1 (but the division sign), whose capitals
// lie 0x20 below them.
bool isSmallLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
}

// The working string is the text with its small letters raised to capitals,
// followed by the completion letters and nothing else.
bool isUpperCasedAndCompleted(std::u16string_view text, std::u16string_view working)
{
    if (working.size() < text.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t in = text[i];
        const char16_t expected = isSmallLetter(in) ? static_cast<char16_t>(in - 0x20) : in;
        if (working[i] != expected)
            return false;
    }
    for (std::size_t i = text.size(); i < working.size(); ++i) {
        if (working[i] != u'L')
            return false;
    }
    return true;
}

bool isWhole(double v) { return std::isfinite(v) && v == std::floor(v); }

void checkPoint(const geometry::Point &p, bool fromLocator)
{
    require(std::isfinite(p.lat) && std::isfinite(p.lon), "decoded point is finite");
    if (fromLocator) {
        require(p.lat > -90 && p.lat < 90 && p.lon > -180 && p.lon < 180,
            "a locator decodes onto the globe");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Texts texts = splitInput(data, size);
    const geometry::LocatorCheck check = geometry::checkLocators(texts.text1, texts.text2);

    const std::size_t length1 = texts.text1.size();
    const std::size_t length2 = texts.text2.size();
    require(check.locator1.size() == workingLength(length1, length2), "length of working 1");
    require(check.locator2.size() == workingLength(length2, length1), "length of working 2");
    require(isUpperCasedAndCompleted(texts.text1, check.locator1), "working 1 is text 1");
    require(isUpperCasedAndCompleted(texts.text2, check.locator2), "working 2 is text 2");
    require(check.ShortFlag1 == isShort(length1), "short flag 1");
    require(check.ShortFlag2 == isShort(length2), "short flag 2");
    require(check.LongFlag1 == (length1 > 6), "long flag 1");
    const bool locator1 = isLocator(texts.text1);
    const bool locator2 = isLocator(texts.text2);
    require(check.InputError == !(locator1 && locator2), "error exactly when not two locators");

    const geometry::Point p1 = geometry::decodePoint(geometry::locatorCodes(check.locator1));
    const geometry::Point p2 = geometry::decodePoint(geometry::locatorCodes(check.locator2));
    checkPoint(p1, locator1);
    checkPoint(p2, locator2);

    const geometry::Solution s = geometry::solveGreatCircle(-p1.lon, p1.lat, -p2.lon, p2.lat);
    require(isWhole(s.bearing) && s.bearing >= 0 && s.bearing <= 360, "bearing 0 to 360, whole");
    require(isWhole(s.distance) && s.distance >= 0, "distance 0 or more, whole");
    // Half a great circle of 6356.775 km, rounded.
    require(s.distance <= 19971, "distance at most half a great circle");
    return 0;
}
