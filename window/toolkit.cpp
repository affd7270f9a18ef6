#include "toolkit.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QMessageBox>
#include <QPainter>

#include <algorithm>

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

QString text(const QLineEdit *box)
{
    return box->text();
}

void assignText(QLineEdit *box, const QString &text)
{
    if (box->text() != text)
        box->setText(text);
}

void assignSelStart(QLineEdit *box, qsizetype position)
{
    box->setCursorPosition(static_cast<int>(position));
    box->deselect();
}

void press(QAbstractButton *button)
{
    button->click();
}

QString upperCase(const QString &text)
{
    // Qt's whole-text upper-casing turns a lone surrogate into U+FFFD, so it
    // serves only texts without surrogates, and only when no capital grew
    // (capitals are never shorter than their small letters).
    const bool hasSurrogates =
        std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSurrogate(); });
    if (!hasSurrogates) {
        QString whole = text.toUpper();
        if (whole.size() == text.size())
            return whole;
    }

    // One character at a time: a surrogate pair is one character, a lone
    // surrogate is kept as it is.
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qsizetype length = pair ? 2 : 1;
        const QString character = text.mid(i, length);
        const QString upper = text.at(i).isSurrogate() && !pair ? character : character.toUpper();
        result += upper.size() == length ? upper : character;
        i += length;
    }
    return result;
}

void showEmptyMessage(QWidget *owner)
{
    QMessageBox box(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Ok, owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void unload(QWidget *window)
{
    window->close();
}

} // namespace toolkit
