#pragma once

// The few operations of the forms runtime that the window's handlers use,
// over Qt: reading and assigning a text box's text and caret, pressing a
// button from code, the empty message box and unloading the window. The
// control classes give Qt's widgets the behaviour those handlers rely on.

#include <QFrame>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QString>

class QAbstractButton;
class QWidget;

namespace toolkit {

// A single-line text box. Unlike a plain QLineEdit it keeps its caret where
// it was when Tab brings the focus in, instead of selecting all its text:
// characters typed into Locator 2 after tabbing there join its "...".
class TextBox : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent *event) override;
};

// A push button that is never the window's default: Enter in a field presses
// nothing.
class CommandButton : public QPushButton
{
public:
    explicit CommandButton(const QString &caption, QWidget *parent = nullptr);
};

// A sunken box that draws a picture at its natural size from its inner
// top-left corner, clipped by the box. Takes the focus without showing it.
class PictureBox : public QFrame
{
public:
    PictureBox(const QPixmap &picture, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};

QString text(const QLineEdit *box);

// Shows the text; a text that differs from the one shown raises the box's
// change handler before this returns, an equal one raises nothing (and keeps
// the box's undo history).
void assignText(QLineEdit *box, const QString &text);

// Caret before the character at `position`, nothing selected; the text's
// length puts it after the last character.
void assignSelStart(QLineEdit *box, qsizetype position);

// Runs the button's click handler to its end before returning.
void press(QAbstractButton *button);

// Every lower-case character replaced by its capital where the capital has the
// same length, so that the text keeps its length ("ß" stays "ß").
QString upperCase(const QString &text);

// A modal box with an empty message, one OK button, no icon and no title of
// its own; returns when the user dismisses it.
void showEmptyMessage(QWidget *owner);

// Closes the window; with no window left the program ends.
void unload(QWidget *window);

} // namespace toolkit
