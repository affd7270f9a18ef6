// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

#include <vector>

// What a modal box showed before it was closed.
struct ShownBox
{
    bool isMessageBox = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    const QWidget *owner = nullptr;
};

// Closes every modal box the window opens while it lives, and notes what each
// showed. A box runs a modal loop of its own inside the handler that opened
// it; this looks in from there, at each turn of that loop. It checks nothing
// itself: a failed check would return before closing the box and leave the
// test waiting for ever. The checks read `shown` after the loop has returned.
class ModalWatch
{
public:
    ModalWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { closeActiveBox(); });
        m_timer.start(0);
    }

    std::vector<ShownBox> shown;

    // What makes a box shown other than the one box the window opens, the
    // empty message: over `owner`, no title of its own (the platform titles
    // it with the application's, Rotavel), no text, no icon, OK alone. Empty
    // when every box was that.
    QString unlikeEmptyMessages(const QWidget *owner) const
    {
        QStringList faults;
        const auto note = [&faults](bool fault, const QString &what) {
            if (fault && !faults.contains(what))
                faults << what;
        };
        for (const ShownBox &box : shown) {
            note(!box.isMessageBox, "a dialog that is no message box");
            note(!box.title.isEmpty() && box.title != QLatin1String("Rotavel"),
                "titled \"" + box.title + '"');
            note(!box.text.isEmpty(), "the text \"" + box.text + '"');
            note(box.icon != QMessageBox::NoIcon, "an icon");
            note(box.buttons != QMessageBox::Ok, "buttons other than OK alone");
            note(box.owner != owner, "over another window");
        }
        return faults.join("; ");
    }

private:
    void closeActiveBox()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        ShownBox box;
        box.title = modal->windowTitle();
        if (auto *message = qobject_cast<QMessageBox *>(modal)) {
            box.isMessageBox = true;
            box.text = message->text();
            box.icon = message->icon();
            box.buttons = message->standardButtons();
            box.owner = message->parentWidget();
        }
        shown.push_back(box);
        // OK on a message box, Cancel on any other dialog.
        if (box.isMessageBox)
            static_cast<QMessageBox *>(modal)->accept();
        else if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }

    QTimer m_timer;
};
