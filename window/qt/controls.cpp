// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls.h"

#include "window/form2_handlers.h"
#include "window/pasted_text.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>

namespace window::qt {

namespace {

QString pastedLineOf(const QString &text)
{
    const std::u16string_view line = pastedLine(std::u16string_view(
        reinterpret_cast<const char16_t *>(text.utf16()), static_cast<std::size_t>(text.size())));
    return QStringView(line.data(), static_cast<qsizetype>(line.size())).toString();
}

} // namespace

void TextBox::focusInEvent(QFocusEvent *event)
{
    // Qt selects the whole text when Tab brings the focus in; the caret stays
    // where the user or the last change left it instead. A selection the box
    // already had stays: the focus comes back with it from the context menu,
    // whose Cut, Copy and Delete act on it.
    const int caret = cursorPosition();
    const bool hadSelection = hasSelectedText();
    QLineEdit::focusInEvent(event);
    if (!hadSelection && hasSelectedText())
        setCursorPosition(caret);
}

QString TextBox::entered(const QString &text) const
{
    const std::u16string taken = enteredText(objectName().toStdString(),
        std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()),
            static_cast<std::size_t>(text.size())));
    return QStringView(taken.data(), static_cast<qsizetype>(taken.size())).toString();
}

// Each way of pasting inserts the line a field takes of what it brings in place of
// the selection, as one step of the undo history, as a paste of Qt's own.
void TextBox::paste(const QString &pasted)
{
    const QString line = entered(pastedLineOf(pasted));
    if (isReadOnly() || (line.isEmpty() && !hasSelectedText()))
        return;
    endUndoStep();
    insert(line);
    endUndoStep();
}

// Qt's line edit ends a step of its undo history when the caret moves, and
// when it is cleared; its own paste ends one before and after the insertion,
// by a call a derived class cannot make. Here the caret steps away and back,
// with the selection it had; an empty box is cleared, which removes nothing.
void TextBox::endUndoStep()
{
    if (text().isEmpty()) {
        clear();
        return;
    }
    const int caret = cursorPosition();
    int anchor = caret;
    if (hasSelectedText())
        anchor = caret == selectionStart() ? selectionEnd() : selectionStart();
    setCursorPosition(caret == 0 ? 1 : 0);
    setSelection(anchor, caret - anchor);
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    // Shift+F10 is the context-menu key of keyboards without a menu key, as
    // on most laptops. Its menu opens at the caret, where the user's eyes
    // are.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        const QPoint caret = cursorRect().center();
        QContextMenuEvent open(QContextMenuEvent::Keyboard, caret, mapToGlobal(caret));
        QCoreApplication::sendEvent(this, &open);
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        paste(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
        event->accept();
        return;
    }
    // A typed character in the form the box takes it, so that the line edit
    // records that form in its undo history.
    const QString typed = entered(event->text());
    if (typed != event->text()) {
        QKeyEvent asTaken(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
            event->nativeVirtualKey(), event->nativeModifiers(), typed, event->isAutoRepeat(),
            static_cast<quint16>(event->count()), event->device());
        QLineEdit::keyPressEvent(&asTaken);
        event->setAccepted(asTaken.isAccepted());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TextBox::mouseReleaseEvent(QMouseEvent *event)
{
    // The middle button pastes the X11 selection where it was pressed.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        paste(QGuiApplication::clipboard()->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TextBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    if (!menu)
        return;
    // Qt's Paste item, found by its text in the user's language, is given
    // this box's paste instead of Qt's.
    const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction *item : menu->actions()) {
        if (item->text().section(u'\t', 0, 0) != pasteText)
            continue;
        item->disconnect(this);
        connect(item, &QAction::triggered, this,
            [this] { paste(QGuiApplication::clipboard()->text(QClipboard::Clipboard)); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TextBox::dropEvent(QDropEvent *event)
{
    const QMimeData *dropped = event->mimeData();
    const QString taken =
        dropped && dropped->hasText() ? entered(pastedLineOf(dropped->text())) : QString();
    if (!dropped || !dropped->hasText() || taken == dropped->text()) {
        QLineEdit::dropEvent(event);
        return;
    }
    QMimeData line;
    line.setText(taken);
    QDropEvent trimmed(event->position(), event->possibleActions(), &line, event->buttons(),
        event->modifiers(), event->type());
    trimmed.setDropAction(event->proposedAction());
    QLineEdit::dropEvent(&trimmed);
    event->setDropAction(trimmed.dropAction());
    event->setAccepted(trimmed.isAccepted());
}

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    setAutoDefault(false);
    setDefault(false);
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    // Return, or Enter on the keypad: a focused button is chosen with either,
    // as with Space. Qt's own push button does so only when it may become the
    // window's default, which this one never is.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

PictureBox::PictureBox(PictureFor pictureFor, QWidget *parent)
    : QFrame(parent)
    , m_pictureFor(pictureFor)
{
    // The classic two-pixel sunken border of a picture box.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    // Asked here rather than when the box is made: only a shown window knows
    // its screen, and every change of its ratio repaints the whole window.
    const qreal ratio = devicePixelRatioF();
    if (ratio != m_pictureRatio) {
        m_picture = m_pictureFor(ratio);
        m_pictureRatio = ratio;
    }
    QFrame::paintEvent(event);
    QPainter painter(this);
    // Between the two densities (1.25, 1.5) the picture is scaled down to the
    // screen's pixels by averaging them, not by dropping rows and columns.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(contentsRect());
    painter.drawPixmap(contentsRect().topLeft(), m_picture);
}

void showEmptyMessage(QWidget *owner)
{
    QMessageBox box(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Ok, owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace window::qt
