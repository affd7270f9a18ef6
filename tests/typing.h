// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtTest>

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
