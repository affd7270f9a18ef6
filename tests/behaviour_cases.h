// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the user does and what the window then shows, as data. Every
// toolkit's window test replays these cases through its own real input path
// (key presses, clicks, the clipboard) on a freshly opened window, and
// compares the fields, the focus, the caret and the message boxes. One
// table, so Linux and Windows cannot drift apart. Plain C++: the Windows
// driver has no Qt.
//
// The decimal separator is ".", as under the C or U.S. English settings.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace behaviour {

enum class Key {
    Tab,
    Backtab,
    Enter,
    KeypadEnter,
    Escape,
    Space,
    Backspace,
    Home,
    End,
    Right,
    ShiftLeft,
    ShiftHome,
    // The two keys that open the focused control's context menu: the
    // keyboard's menu key, and Shift+F10 on keyboards without one.
    MenuKey,
    ShiftF10,
    Undo, // Ctrl+Z
    Redo // the toolkit's key for Redo; on Windows Ctrl+Y
};

struct Action
{
    enum class Kind { Click, Type, Press, Paste, Clipboard, MenuCommand, CloseBox };
    Kind kind;
    std::string_view control = {}; // Click: the control clicked in its middle
    // Type: one key a UTF-16 unit; Paste: from the clipboard, with the
    // keyboard; Clipboard: put there by another program; MenuCommand: the
    // item's text, without its access key's mark or its shortcut
    std::u16string_view text = {};
    Key key = Key::Tab; // Press; MenuCommand: the key that opens the menu
    int times = 1; // Press
};

inline Action click(std::string_view control)
{
    return { Action::Kind::Click, control };
}

inline Action type(std::u16string_view text)
{
    return { Action::Kind::Type, {}, text };
}

inline Action press(Key key, int times = 1)
{
    return { Action::Kind::Press, {}, {}, key, times };
}

inline Action paste(std::u16string_view text)
{
    return { Action::Kind::Paste, {}, text };
}

// Another program puts `text` on the clipboard.
inline Action clipboard(std::u16string_view text)
{
    return { Action::Kind::Clipboard, {}, text };
}

// The focused field's context menu, opened with `opener` (the keyboard's
// menu key or Shift+F10), and its item `item` chosen with the menu's own keys
// (arrows, then Enter).
inline Action menu(std::u16string_view item, Key opener = Key::MenuKey)
{
    return { Action::Kind::MenuCommand, {}, item, opener };
}

// The close box in the window's title bar.
inline Action closeBox()
{
    return { Action::Kind::CloseBox };
}

struct Field
{
    std::string_view control;
    std::u16string_view text;
    // The text on Windows, where the platform's plain edit box ends
    // otherwise than Qt's line edit after the same keys.
    std::optional<std::u16string_view> windowsText = {};
};

struct Case
{
    const char *name;
    std::vector<Action> actions;
    std::vector<Field> fields; // texts afterwards
    std::string_view focus = {}; // the control with the focus afterwards, if checked
    int caret = -1; // the caret in the focused field afterwards, if checked
    int emptyMessages = 0; // empty message boxes shown and dismissed on the way
    bool closed = false; // the window is gone
    std::optional<std::u16string_view> clipboard = {}; // the clipboard's text afterwards
};

// Clicks into a field and deletes its `length` characters.
inline std::vector<Action> emptied(std::string_view field, int length)
{
    return { click(field), press(Key::End), press(Key::Backspace, length) };
}

template <typename T> std::vector<T> operator+(std::vector<T> first, const std::vector<T> &then)
{
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

inline const std::vector<Field> initialTexts { { "Text3", u"JN81GD" }, { "Text5", u"..." },
    { "Text6", u"..." }, { "Text1", u"..." }, { "Text2", u"Text2" }, { "Text7", u"Text7" },
    { "Text4", u"Text4" }, { "Text8", u"Text8" } };

inline const std::vector<Field> errorMarks { { "Text3", u"" }, { "Text5", u"" },
    { "Text6", u"??????" }, { "Text1", u"??????" } };

inline std::vector<Case> cases()
{
    const auto locator1 = [](std::u16string_view keys) {
        return emptied("Text3", 6) + std::vector { type(keys) };
    };
    const auto locator2 = [](std::u16string_view keys) {
        return emptied("Text5", 3) + std::vector { type(keys) };
    };
    const std::vector calculate { click("Command1") };
    // The hidden coordinate fields show what the locators decode to, after an
    // error too: the second longitude tells bad locators apart.
    const auto errorMarksAnd = [](std::u16string_view westLon2) {
        return errorMarks + std::vector<Field> { { "Text8", westLon2 } };
    };
    const std::vector<Field> toJN61FV { { "Text5", u"JN61FV" }, { "Text6", u" 350" },
        { "Text1", u" 285" }, { "Text7", u"41.1458333333333" }, { "Text2", u"-16.5416666666667" },
        { "Text4", u"41.8958333333333" }, { "Text8", u"-12.4583333333333" } };
    const std::vector<Field> toIO91WM { { "Text5", u"IO91WM" }, { "Text6", u" 1712" },
        { "Text1", u" 318" }, { "Text4", u"51.5208333333333" }, { "Text8", u"0.125" } };

    return {
        // Start and the keyboard's way through the window.
        { "opens with its initial texts and the focus on the picture", {}, initialTexts,
            "Picture1" },
        { "Tab: the bearing first", { press(Key::Tab) }, {}, "Text1" },
        { "Tab twice: Locator 1", { press(Key::Tab, 2) }, {}, "Text3" },
        { "Tab three times: Locator 2", { press(Key::Tab, 3) }, {}, "Text5" },
        { "Tab four times: the distance", { press(Key::Tab, 4) }, {}, "Text6" },
        { "Tab five times: Calculate", { press(Key::Tab, 5) }, {}, "Command1" },
        { "Tab six times: Exit", { press(Key::Tab, 6) }, {}, "Command2" },
        { "Tab seven times: back to the picture", { press(Key::Tab, 7) }, {}, "Picture1" },
        { "Shift+Tab: Exit", { press(Key::Backtab) }, {}, "Command2" },
        { "Shift+Tab twice: Calculate", { press(Key::Backtab, 2) }, {}, "Command1" },
        { "Shift+Tab three times: the distance", { press(Key::Backtab, 3) }, {}, "Text6" },
        { "Shift+Tab four times: Locator 2", { press(Key::Backtab, 4) }, {}, "Text5" },
        { "Shift+Tab five times: Locator 1", { press(Key::Backtab, 5) }, {}, "Text3" },
        { "Shift+Tab six times: the bearing", { press(Key::Backtab, 6) }, {}, "Text1" },
        { "Shift+Tab seven times: back to the picture", { press(Key::Backtab, 7) }, {},
            "Picture1" },
        // No caption has an access key: the first letters of Calculate and Exit
        // typed with the focus on the picture press nothing.
        { "keys typed with the focus on the picture do nothing", { type(u"ce") }, initialTexts,
            "Picture1" },
        { "clicking the picture takes the focus from a field",
            { click("Text5"), click("Picture1") }, {}, "Picture1" },

        // The locator fields while the user types.
        { "typed characters join the dots of Locator 2", { press(Key::Tab, 3), type(u"ab") },
            { { "Text5", u"...AB" }, { "Text1", u"..." } }, "Text5", 5 },
        { "dots and three letters make six characters, which are no locator",
            { press(Key::Tab, 3), type(u"abc") }, errorMarks, "Text5", 0 },
        { "Locator 2 upper-cased with the caret at the end", locator2(u"jn61f"),
            { { "Text5", u"JN61F" }, { "Text1", u"..." }, { "Text6", u"..." } }, "Text5", 5 },
        { "the sixth character of Locator 2 calculates", locator2(u"jn61fv"), toJN61FV, "Text5",
            6 },
        { "six characters in Locator 1 wait for Calculate", locator1(u"jn61fv"),
            { { "Text3", u"JN61FV" }, { "Text1", u"..." } }, "Text3", 6 },
        { "a character typed in the middle stays there, the caret goes to the end",
            locator2(u"jn1fv") + std::vector { press(Key::Home), press(Key::Right, 2), type(u"6") },
            toJN61FV, "Text5", 6 },
        { "a seventh character calculates nothing", locator2(u"jn61fvx"),
            { { "Text5", u"JN61FVX" }, { "Text6", u" 350" } }, "Text5", 7 },
        { "back from seven to six characters calculates",
            locator2(u"jn61fvx") + std::vector { click("Text6"), press(Key::End), type(u"9") }
                + std::vector { click("Text5"), press(Key::End), press(Key::Backspace) },
            { { "Text5", u"JN61FV" }, { "Text6", u" 350" } }, "Text5", 6 },
        { "back from six to five characters calculates nothing",
            locator2(u"jn61fv") + std::vector { click("Text6"), press(Key::End), type(u"9") }
                + std::vector { click("Text5"), press(Key::End), press(Key::Backspace) },
            { { "Text5", u"JN61F" }, { "Text6", u" 3509" } }, "Text5", 5 },
        { "one of six characters replaced calculates again",
            locator2(u"jn61fv") + std::vector { click("Text6"), press(Key::End), type(u"9") }
                + std::vector { click("Text5"), press(Key::End), press(Key::ShiftLeft),
                    type(u"w") },
            { { "Text5", u"JN61FW" }, { "Text6", u" 351" }, { "Text1", u" 286" } }, "Text5", 6 },
        { "a blank as sixth character calculates", locator2(u"jn81g "), errorMarks, "Text5", 0 },
        { "pasting a locator calculates", emptied("Text5", 3) + std::vector { paste(u"io91wm") },
            toIO91WM, "Text5", 6 },
        { "pasted emoji and right-to-left letters are kept",
            { click("Text3"), press(Key::End), paste(u"\U0001F4E1\u05E9") },
            { { "Text3", u"JN81GD\U0001F4E1\u05E9" } }, "Text3", 9 },
        // The fields' context menu acts on the selection (fixed: on Linux the
        // selection was dropped when the focus came back from the menu), and a
        // paste keeps the first line of what it brings.
        { "fixed: Copy from the context menu copies the selection",
            { click("Text3"), press(Key::End), press(Key::ShiftHome), menu(u"Copy") },
            { { "Text3", u"JN81GD" } }, "Text3", -1, 0, false, u"JN81GD" },
        { "fixed: Cut from the context menu takes the selection to the clipboard",
            { click("Text3"), press(Key::End), press(Key::ShiftLeft, 2), menu(u"Cut") },
            { { "Text3", u"JN81" } }, "Text3", 4, 0, false, u"GD" },
        { "fixed: Delete from the context menu leaves the clipboard alone",
            { clipboard(u"kept"), click("Text3"), press(Key::End), press(Key::ShiftLeft, 2),
                menu(u"Delete") },
            { { "Text3", u"JN81" } }, "Text3", 4, 0, false, u"kept" },
        { "fixed: Undo from the context menu takes a cut back",
            { click("Text3"), press(Key::End), press(Key::ShiftLeft, 2), menu(u"Cut"),
                menu(u"Undo") },
            { { "Text3", u"JN81GD" } }, "Text3", 6 },
        { "fixed: Select All from the context menu, then Copy",
            { click("Text6"), menu(u"Select All"), menu(u"Copy") }, { { "Text6", u"..." } },
            "Text6", -1, 0, false, u"..." },
        { "fixed: Paste from the context menu puts the first line in place of the selection",
            locator2(u"jn61fv")
                + std::vector { press(Key::ShiftHome), clipboard(u"io91wm\n"), menu(u"Paste") },
            toIO91WM, "Text5", 6 },
        { "fixed: Shift+F10 opens a field's context menu, as the menu key does",
            { click("Text3"), press(Key::End), press(Key::ShiftLeft, 2),
                menu(u"Cut", Key::ShiftF10) },
            { { "Text3", u"JN81" } }, "Text3", 4, 0, false, u"GD" },
        { "a keyboard paste replaces the selection",
            { click("Text3"), press(Key::End), press(Key::ShiftHome), paste(u"io91wm") },
            { { "Text3", u"IO91WM" } }, "Text3", 6 },
        { "fixed: a pasted line break and what follows are dropped: the locator calculates",
            emptied("Text5", 3) + std::vector { paste(u"io91wm\n") }, toIO91WM, "Text5", 6 },
        { "fixed: of a pasted text of several lines the first is kept",
            emptied("Text5", 3) + std::vector { paste(u"io91wm\r\njn61fv\r\n") }, toIO91WM, "Text5",
            6 },
        { "fixed: a pasted carriage return alone ends the line too",
            { click("Text3"), press(Key::End), press(Key::ShiftHome), paste(u"jn61\rfv") },
            { { "Text3", u"JN61" } }, "Text3", 4 },
        // A word taken from a web page or a terminal by a double click often
        // brings the blank after it, and log and cluster lines part their
        // fields with tabs: the blanks around the pasted line are dropped.
        { "fixed: a blank pasted after a locator is dropped: the locator calculates",
            emptied("Text5", 3) + std::vector { paste(u"io91wm ") }, toIO91WM, "Text5", 6 },
        { "fixed: a tab pasted after a locator is dropped: the locator calculates",
            emptied("Text5", 3) + std::vector { paste(u"io91wm\t") }, toIO91WM, "Text5", 6 },
        { "fixed: blanks and tabs before and after the pasted line are dropped, and its line break",
            emptied("Text5", 3) + std::vector { paste(u" \t io91wm \t\r\njn61fv") }, toIO91WM,
            "Text5", 6 },
        { "fixed: a pasted blank alone adds nothing",
            { click("Text3"), press(Key::End), paste(u" \t ") }, { { "Text3", u"JN81GD" } },
            "Text3", 6 },
        { "blanks inside a pasted text stay",
            { click("Text3"), press(Key::End), press(Key::ShiftHome), paste(u"jn 81") },
            { { "Text3", u"JN 81" } }, "Text3", 5 },
        { "a pasted no-break space stays: only blanks and tabs are dropped",
            { click("Text3"), press(Key::End), press(Key::ShiftHome), paste(u"jn81gd\u00A0") },
            { { "Text3", u"JN81GD\u00A0" } }, "Text3", 7 },
        { "a result field keeps what the user types",
            { click("Text1"), press(Key::End), type(u"7") }, { { "Text1", u"...7" } }, "Text1", 4 },
        { "a result field keeps small letters", { click("Text6"), press(Key::End), type(u"x") },
            { { "Text6", u"...x" } }, "Text6", 4 },

        // The undo history of a locator field is the one a plain field of the
        // platform keeps after the same keys typed in capitals (fixed: the
        // upper-casing of small letters and the emptying after a failed
        // calculation cleared it; on Linux a paste was no step of its own).
        // Measured once with the same keys in Qt 6.4's QLineEdit, and in the
        // Windows edit control under Wine: its history is one step deep (the
        // deletions, keys and pastes in one place make one step), a second
        // Undo redoes, and Ctrl+Y does nothing.
        { "fixed: small letters typed over Locator 2, Ctrl+Z brings back what they replaced",
            locator2(u"jn61fv")
                + std::vector { press(Key::ShiftHome), type(u"io91wm"), press(Key::Undo) },
            { { "Text5", u"JN61FV" }, { "Text6", u" 350" }, { "Text1", u" 285" } }, "Text5", 6 },
        { "fixed: a paste is one step of the history",
            emptied("Text5", 3) + std::vector { type(u"jn"), paste(u"61fv"), press(Key::Undo) },
            { { "Text5", u"JN", u"..." }, { "Text6", u" 350" } }, "Text5" },
        { "fixed: a key typed after a paste is a step of its own",
            emptied("Text5", 3)
                + std::vector { type(u"jn"), paste(u"61fv"), type(u"x"), press(Key::Undo) },
            { { "Text5", u"JN61FV", u"..." }, { "Text6", u" 350" } }, "Text5" },
        { "fixed: Undo, then Redo, of a text that replaced a calculated one",
            locator2(u"io91wm")
                + std::vector { press(Key::ShiftHome), type(u"jn61fvx"), press(Key::Undo),
                    press(Key::Redo) },
            { { "Text5", u"JN61FVX", u"IO91WM" }, { "Text6", u" 1712" }, { "Text1", u" 318" } },
            "Text5" },
        { "fixed: after a failed calculation, Ctrl+Z in Locator 1 brings the own locator back",
            locator2(u"jnx1gd") + std::vector { click("Text3"), press(Key::Undo) },
            { { "Text3", u"JN81GD" }, { "Text5", u"" }, { "Text6", u"??????" },
                { "Text1", u"??????" } },
            "Text3", 6 },
        { "fixed: after a failed calculation, Undo in each locator field; corrected, they "
          "calculate",
            std::vector { click("Text3"), press(Key::End), type(u"x") } + locator2(u"jn61fv")
                + std::vector { click("Text3"), menu(u"Undo"), press(Key::Backspace),
                    click("Text5"), menu(u"Undo") },
            std::vector<Field> { { "Text3", u"JN81GD" } } + toJN61FV, "Text5", 6, 1 },

        // The commands.
        { "Calculate does nothing while Locator 2 shows its dots", { click("Command1") },
            initialTexts, "Command1" },
        { "equal locators: bearing 0 without a space", locator2(u"jn81gd"),
            { { "Text1", u"0" }, { "Text6", u" 0" } } },
        { "four-character locators are completed", locator2(u"jn61") + calculate,
            { { "Text5", u"JN61" }, { "Text1", u" 278" }, { "Text6", u" 301" } } },
        { "western hemisphere: positive west longitude", locator2(u"fn20xr"),
            { { "Text5", u"FN20XR" }, { "Text1", u" 303" }, { "Text6", u" 7206" },
                { "Text7", u"41.1458333333333" }, { "Text2", u"-16.5416666666667" },
                { "Text4", u"40.7291666666667" }, { "Text8", u"74.0416666666667" } } },
        { "just east of north: bearing 0 with its space", locator2(u"jo81hd"),
            { { "Text1", u" 0" }, { "Text6", u" 1109" }, { "Text4", u"51.1458333333333" },
                { "Text8", u"-16.625" } } },
        { "equal short fields: bearing 0 without a space",
            locator1(u"jn81") + locator2(u"jn81") + calculate,
            { { "Text3", u"JN81" }, { "Text5", u"JN81" }, { "Text1", u"0" }, { "Text6", u" 0" },
                { "Text7", u"41.4791666666667" }, { "Text2", u"-16.9583333333333" },
                { "Text4", u"41.4791666666667" }, { "Text8", u"-16.9583333333333" } } },
        { "short against completed: not equal as shown", locator1(u"jn81") + locator2(u"jn81ll"),
            { { "Text3", u"JN81" }, { "Text5", u"JN81LL" }, { "Text1", u" 270" },
                { "Text6", u" 0" }, { "Text7", u"41.4791666666667" },
                { "Text2", u"-16.9583333333333" }, { "Text4", u"41.4791666666667" },
                { "Text8", u"-16.9583333333333" } } },
        { "a long Locator 1: the empty message box, then the error marks",
            std::vector { click("Text3"), press(Key::End), type(u"x") } + locator2(u"jn61fv"),
            errorMarksAnd(u"-12.4583333333333"), {}, -1, 1 },
        { "a long Locator 2: error marks and no message box", locator2(u"jn61fvx") + calculate,
            errorMarksAnd(u"-12.4583333333333") },
        { "a letter in third place of Locator 2", locator2(u"jnx1gd"),
            errorMarksAnd(u"-80.5416666666667") },
        { "both locators empty", emptied("Text3", 6) + emptied("Text5", 3) + calculate,
            errorMarksAnd(u"1581.375") },
        { "fixed: outside the grid", locator2(u"zz99zz"), errorMarksAnd(u"-340.125") },
        { "fixed: three characters", locator2(u"jn8") + calculate,
            errorMarksAnd(u"-16.9583333333333") },
        { "fixed: five characters", locator2(u"jn81g") + calculate,
            errorMarksAnd(u"-16.5416666666667") },
        // Only the opened window's three dots hold Calculate back; anything
        // else is a locator to check.
        { "four dots", locator2(u"....") + calculate, errorMarksAnd(u"563.041666666667") },
        { "a blank before the dots", locator2(u" ...") + calculate,
            errorMarksAnd(u"843.041666666667") },
        { "two dots and a blank", locator2(u".. ") + calculate,
            errorMarksAnd(u"591.041666666667") },
        { "Enter in a field or on the picture presses no button",
            locator2(u"jn61fv")
                + std::vector { click("Text6"), press(Key::End), type(u"9"), press(Key::Enter),
                    press(Key::KeypadEnter), click("Text5"), press(Key::Enter), click("Picture1"),
                    press(Key::Enter) },
            { { "Text5", u"JN61FV" }, { "Text6", u" 3509" } }, "Picture1" },
        { "Space presses the focused button",
            locator2(u"jn61f") + std::vector { press(Key::Tab, 2), press(Key::Space) }, errorMarks,
            "Command1" },
        { "fixed: Enter presses the focused Calculate",
            locator2(u"jn61f") + std::vector { press(Key::Tab, 2), press(Key::Enter) }, errorMarks,
            "Command1" },
        { "fixed: keypad Enter presses the focused Calculate",
            locator2(u"jn61f") + std::vector { press(Key::Tab, 2), press(Key::KeypadEnter) },
            errorMarks, "Command1" },
        { "fixed: Enter on the focused Exit closes the window",
            { press(Key::Tab, 6), press(Key::Enter) }, {}, {}, -1, 0, true },
        { "Enter in the locator fields calculates nothing",
            locator2(u"jn61f")
                + std::vector { press(Key::Enter), click("Text3"), press(Key::Enter) },
            { { "Text5", u"JN61F" }, { "Text1", u"..." }, { "Text6", u"..." } }, "Text3" },
        { "Escape closes nothing", { click("Text5"), press(Key::Escape) }, initialTexts, "Text5" },
        { "Exit closes the window", { click("Command2") }, {}, {}, -1, 0, true },
        { "the close box closes the window, whatever the fields show",
            locator2(u"jn61f") + std::vector { closeBox() }, {}, {}, -1, 0, true },
    };
}

// Texts a user may put into a locator field. Each, put into an empty field,
// comes out as the toolkit's plain edit box keeps it, upper-cased, with the
// caret at its end: nothing lost, nothing hangs. `repeat` copies of `text`
// make the whole input.
struct BadInput
{
    const char *name;
    std::u16string_view text;
    int repeat = 1;
};

inline constexpr BadInput badInputs[] = {
    { "empty", u"" },
    { "a megabyte", u"jn81gd", (1 << 20) / 6 },
    { "control characters", u"j\u0001n\u0009\u001b\u007f8" },
    // A clipboard's text may end at the NUL.
    { "NUL",
        std::u16string_view(u"jn\0"
                            u"8",
            4) },
    { "fixed: lone surrogates kept", u"\xD800jn\xDC00" },
    { "right-to-left text", u"\u05e9\u05dc\u05d5\u05dd jn" },
    { "emoji", u"jn\U0001F4E1" },
    { "German sharp s", u"stra\u00dfe" },
    { "fixed: byte-order marks kept", u"\xFEFFjn\xFFFE" },
};

inline std::u16string wholeInput(const BadInput &input)
{
    std::u16string text;
    for (int i = 0; i < input.repeat; ++i)
        text += input.text;
    return text;
}

} // namespace behaviour
