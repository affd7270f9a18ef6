// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the Qt window tests share: the window opened as the user meets it,
// its controls found by their form names, text typed as a keyboard types it,
// and the measure of an upper-cased text.

#include "window/form2.h"

#include <QtTest>

#include <QLineEdit>

// Shows the window and waits until it is on the screen and active.
inline bool opened(QWidget &form)
{
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return false;
    form.activateWindow();
    return QTest::qWaitForWindowActive(&form);
}

inline QWidget *control(const QWidget &form, const QString &name)
{
    auto *found = form.findChild<QWidget *>(name);
    Q_ASSERT(found);
    return found;
}

inline QLineEdit *field(const QWidget &form, const QString &name)
{
    return qobject_cast<QLineEdit *>(control(form, name));
}

// Sends characters as a keyboard would, a surrogate pair as one key. QTest's
// own keyClicks knows only ASCII.
inline void typeText(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(
            QTest::Click, widget, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length;
    }
}

// What the fields' upper-casing makes of a text, by Qt's own upper-casing:
// capitals where they keep the length, everything else as it was.
inline QString upperCasedAsShown(const QString &text)
{
    QString result;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
            ? 2
            : 1;
        const QString one = text.mid(i, length);
        const QString upper = one.toUpper();
        result += upper.size() == one.size() ? upper : one;
        i += length;
    }
    return result;
}
