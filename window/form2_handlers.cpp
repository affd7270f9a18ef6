// SPDX-License-Identifier: GPL-3.0-or-later
#include "form2_handlers.h"

#include "form2_layout.h"
#include "geometry/geometry.h"
#include "number_text.h"
#include "upper_case.h"

namespace window {

namespace {

constexpr std::size_t locatorLength = 6;
constexpr std::u16string_view errorMark = u"??????";
// Two equal locator fields: the bearing is meaningless, show a plain 0.
constexpr std::u16string_view equalLocatorsBearing = u"0";

void keepUpperCaseWithCaretAtEnd(FormsRuntime &form, std::string_view box)
{
    // Each step reads the field afresh: assigning the upper-cased text runs
    // this handler again inside the assignment, and whatever that nested run
    // left is what counts.
    form.assignText(box, upperCase(form.text(box)));
    form.assignSelStart(box, form.text(box).size());
}

// Emptied as the user empties a field, so that Undo in each brings back
// what it held: a typo in one locator does not cost the operator the other.
void emptyLocatorFields(FormsRuntime &form)
{
    form.assignTextKeepingUndo("Text3", u"");
    form.assignTextKeepingUndo("Text5", u"");
}

void writeCoordinate(
    FormsRuntime &form, std::string_view box, double degrees, std::u16string_view separator)
{
    // A number no text can stand for leaves the field as it was.
    if (const auto text = coordinateText(degrees, separator))
        form.assignText(box, *text);
}

void writeResult(FormsRuntime &form, std::string_view box, double whole)
{
    if (const auto text = resultText(whole))
        form.assignText(box, *text);
}

} // namespace

void raise(FormsRuntime &form, std::string_view control, Event event)
{
    if (event == Event::Change && control == "Text3")
        onLocator1Changed(form);
    else if (event == Event::Change && control == "Text5")
        onLocator2Changed(form);
    else if (event == Event::Click && control == "Command1")
        onCalculateClicked(form);
    else if (event == Event::Click && control == "Command2")
        onExitClicked(form);
}

std::u16string enteredText(std::string_view box, std::u16string_view text)
{
    if (box == "Text3" || box == "Text5")
        return upperCase(text);
    return std::u16string(text);
}

void onLocator1Changed(FormsRuntime &form)
{
    keepUpperCaseWithCaretAtEnd(form, "Text3");
}

void onLocator2Changed(FormsRuntime &form)
{
    keepUpperCaseWithCaretAtEnd(form, "Text5");
    if (form.text("Text5").size() == locatorLength)
        form.press("Command1");
}

void onCalculateClicked(FormsRuntime &form)
{
    if (form.text("Text5") == locatorPlaceholder)
        return;

    const geometry::LocatorCheck check =
        geometry::checkLocators(form.text("Text3"), form.text("Text5"));
    if (check.LongFlag1)
        form.showEmptyMessage();
    if (check.InputError) {
        emptyLocatorFields(form);
        form.assignText("Text6", errorMark);
    }

    // Decoded and solved even after an error: the hidden coordinate fields
    // always show what the working strings decode to.
    const geometry::Point point1 = geometry::decodePoint(geometry::locatorCodes(check.locator1));
    const geometry::Point point2 = geometry::decodePoint(geometry::locatorCodes(check.locator2));
    const double westLon1Deg = -point1.lon;
    const double westLon2Deg = -point2.lon;
    const std::u16string separator = form.decimalSeparator();
    writeCoordinate(form, "Text7", point1.lat, separator);
    writeCoordinate(form, "Text2", westLon1Deg, separator);
    writeCoordinate(form, "Text4", point2.lat, separator);
    writeCoordinate(form, "Text8", westLon2Deg, separator);
    const geometry::Solution solution =
        geometry::solveGreatCircle(westLon1Deg, point1.lat, westLon2Deg, point2.lat);

    if (!check.InputError) {
        writeResult(form, "Text1", solution.bearing);
        writeResult(form, "Text6", solution.distance);
    } else {
        form.assignText("Text1", errorMark);
        form.assignText("Text6", errorMark);
        emptyLocatorFields(form);
    }

    // Compared as the fields show them, not as decoded: "JN81" against
    // "JN81LL" is a bearing like any other.
    if (!check.InputError && form.text("Text3") == form.text("Text5"))
        form.assignText("Text1", equalLocatorsBearing);
}

void onExitClicked(FormsRuntime &form)
{
    form.unload();
}

} // namespace window
