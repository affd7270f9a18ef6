// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace geometry {

// The upper-cased, possibly completed text of one locator, as decoding reads
// it. Not always six characters: "JN8" becomes "JN8LL", and two short
// locators are both completed twice ("JN81LLLL").
using WorkingLocator = std::u16string;

struct LocatorCheck
{
    WorkingLocator locator1; // working string of Locator 1
    WorkingLocator locator2; // working string of Locator 2
    bool InputError = false; // the pair cannot be trusted: show error marks
    bool ShortFlag1 = false; // Locator 1 had one to four characters and was completed
    bool ShortFlag2 = false; // Locator 2 had one to four characters and was completed
    bool LongFlag1 = false; // Locator 1 is longer than six characters
};

// Upper-cases and completes the raw texts of the two locator fields (UTF-16,
// any length and content, lengths counted in UTF-16 units) and judges them.
// Never rejects early: both working strings are always produced, and every
// malformed input ends as InputError (an over-long Locator 1 also as
// LongFlag1). A locator passes only when its upper-cased text is a four- or
// six-character Maidenhead locator: field letters A-R, square digits 0-9,
// subsquare letters A-X.
LocatorCheck checkLocators(std::u16string_view text1, std::u16string_view text2);

} // namespace geometry
