// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Closes every modal box the window opens while it lives, counts them, and
// notes what makes a box other than the empty message: over the window, no
// title of its own (the platform shows the application's, Rotavel), no text,
// no icon, OK alone. It looks in from the box's own modal loop and checks
// nothing itself, since a failed check would return before closing the box
// and leave the test waiting for ever: the checks read `shown` and
// `unlikeEmptyMessages` after the loop has returned.
class ModalWatch
{
public:
    explicit ModalWatch(const QWidget *owner)
        : m_owner(owner)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { closeActiveBox(); });
        m_timer.start(0);
    }

    int shown = 0;
    QString unlikeEmptyMessages() const { return m_faults.join("; "); }

private:
    void note(bool fault, const QString &what)
    {
        if (fault && !m_faults.contains(what))
            m_faults << what;
    }

    void closeActiveBox()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        ++shown;
        const QString title = modal->windowTitle();
        note(!title.isEmpty() && title != QLatin1String("Rotavel"), "titled \"" + title + '"');
        auto *message = qobject_cast<QMessageBox *>(modal);
        note(!message, "a dialog that is no message box");
        if (message) {
            note(!message->text().isEmpty(), "the text \"" + message->text() + '"');
            note(message->icon() != QMessageBox::NoIcon, "an icon");
            note(message->standardButtons() != QMessageBox::Ok, "buttons other than OK alone");
            note(message->parentWidget() != m_owner, "over another window");
            message->accept();
        } else {
            modal->close(); // a dialog's close rejects it
        }
    }

    const QWidget *m_owner;
    QStringList m_faults;
    QTimer m_timer;
};
