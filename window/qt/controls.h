// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The controls of the window on Qt: Qt's widgets with the behaviour the
// window's handlers rely on, and the empty message box.

#include <QFrame>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QString>

class QWidget;

namespace window::qt {

// A single-line text box. Unlike a plain QLineEdit it keeps its caret where
// it was when Tab brings the focus in, instead of selecting all its text:
// characters typed into Locator 2 after tabbing there join its "...". Of a
// pasted or dropped text it takes the first line, without the blanks around
// it. What is typed, pasted or dropped arrives as the window's rule for the
// box (its object name) has it: in a locator field, in capitals. Shift+F10
// opens its context menu, as the menu key does.
class TextBox : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QString entered(const QString &text) const;
    void paste(const QString &pasted);
    void endUndoStep();
};

// A push button that is never the window's default: Enter in a field presses
// nothing. With the focus on it, Enter presses it, as Space does.
class CommandButton : public QPushButton
{
public:
    explicit CommandButton(const QString &caption, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A sunken box that draws a picture at its natural size from its inner
// top-left corner, clipped by the box. The picture is made for the device
// pixel ratio of the screen the box is on when it is drawn, and made anew
// when that ratio has changed since: the window was moved to a screen of
// another density, or its screen's scale was changed. Takes the focus
// without showing it.
class PictureBox : public QFrame
{
public:
    using PictureFor = QPixmap (*)(qreal devicePixelRatio);
    explicit PictureBox(PictureFor pictureFor, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PictureFor m_pictureFor;
    QPixmap m_picture;
    qreal m_pictureRatio = 0; // the ratio m_picture was made for; 0 before the first
};

// A modal box with an empty message, one OK button, no icon and no title of
// its own; returns when the user dismisses it.
void showEmptyMessage(QWidget *owner);

} // namespace window::qt
