// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls.h"

#include <QFocusEvent>
#include <QMessageBox>
#include <QPainter>

namespace toolkit {

void TextBox::focusInEvent(QFocusEvent *event)
{
    // Qt selects the whole text when Tab brings the focus in; the caret stays
    // where the user or the last change left it instead.
    const int caret = cursorPosition();
    QLineEdit::focusInEvent(event);
    if (hasSelectedText())
        setCursorPosition(caret);
}

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    setAutoDefault(false);
    setDefault(false);
}

PictureBox::PictureBox(const QPixmap &picture, QWidget *parent)
    : QFrame(parent)
    , m_picture(picture)
{
    // The classic two-pixel sunken border of a picture box.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawPixmap(contentsRect().topLeft(), m_picture);
}

void showEmptyMessage(QWidget *owner)
{
    QMessageBox box(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Ok, owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace toolkit
