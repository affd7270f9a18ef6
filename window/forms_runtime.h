// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The few operations of a forms runtime that the window's handlers use. Each
// toolkit the window runs on implements them once; the handlers are written
// against this list alone and never see a widget.
//
// Controls are named as on the form (Text1 to Text8, Command1, Command2) and
// looked up at each use. Texts are UTF-16, as both toolkits hold them, so a
// lone surrogate or any other code unit reaches the handlers unchanged.

#include <cstddef>
#include <string>
#include <string_view>

namespace window {

class FormsRuntime
{
public:
    // A copy of the text the box shows.
    virtual std::u16string text(std::string_view box) const = 0;

    // Shows the text. A text that differs from the one shown raises the box's
    // Change before this returns; an equal one raises nothing.
    virtual void assignText(std::string_view box, std::u16string_view text) = 0;

    // The same, done as the user replaces a field's whole text: the text
    // shown before stays in the box's undo history, where a whole-text
    // assignment would clear it.
    virtual void assignTextKeepingUndo(std::string_view box, std::u16string_view text) = 0;

    // Caret before the character at `position`, nothing selected; the text's
    // length puts it after the last character.
    virtual void assignSelStart(std::string_view box, std::size_t position) = 0;

    // Runs the button's Click to its end before returning.
    virtual void press(std::string_view button) = 0;

    // A modal box owned by the window, with an empty message, one OK button,
    // no icon and the application's title; returns when the user dismisses it.
    virtual void showEmptyMessage() = 0;

    // Closes the window; with no window left the program ends.
    virtual void unload() = 0;

    // The decimal separator of the user's regional settings.
    virtual std::u16string decimalSeparator() const = 0;

protected:
    ~FormsRuntime() = default;
};

} // namespace window
