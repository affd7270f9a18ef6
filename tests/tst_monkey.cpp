// SPDX-License-Identifier: GPL-3.0-or-later
#include "form2_test.h"
#include "modal_watch.h"

#include <QtTest>

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QRegularExpression>

#include <random>

// Drives a real window through thousands of random user actions from a fixed
// seed and checks after each one what the user could see. A failure names the
// seed and the action, so that ROTAVEL_MONKEY_SEED and ROTAVEL_MONKEY_ACTIONS
// replay it.
class TestMonkey : public QObject
{
    Q_OBJECT

private slots:
    void randomActionsKeepTheWindowSound();
};

namespace {

const QStringList editableFields { "Text3", "Text5", "Text1", "Text6" };

struct Monkey
{
    // Performs one random action and says what it was.
    QString act();

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(generator); }
    QLineEdit *anyField()
    {
        return field(form, editableFields.at(below(int(editableFields.size()))));
    }
    QString randomCharacter();
    QString randomText(qsizetype length);

    Form2 &form;
    std::mt19937 generator;
};

QString Monkey::randomCharacter()
{
    // Small letters, capitals, digits, any printable ASCII, Latin-1 (é, ß,
    // ÿ, ...), Cyrillic, emoji: the first and how many follow it.
    constexpr std::pair<char32_t, int> ranges[] = { { u'a', 26 }, { u'A', 26 }, { u'0', 10 },
        { 0x20, 0x5F }, { 0xA0, 0x60 }, { 0x0400, 0x60 }, { 0x1F600, 0x50 } };
    // Control characters, a lone surrogate, right-to-left text.
    constexpr char16_t odd[] = { 0x00, 0x09, 0x0A, 0x1B, 0xD800, 0x05D0 };
    const int kind = below(8);
    if (kind == 7)
        return QString(QChar(odd[below(6)]));
    const char32_t c = ranges[kind].first + char32_t(below(ranges[kind].second));
    return QString::fromUcs4(&c, 1);
}

QString Monkey::randomText(qsizetype length)
{
    QString text;
    text.reserve(length);
    while (text.size() < length)
        text += randomCharacter();
    return text;
}

QString Monkey::act()
{
    const int kind = below(10);
    if (kind == 6 || kind == 7) {
        QTest::mouseClick(control(form, "Command1"), Qt::LeftButton);
        return QStringLiteral("click Calculate");
    }
    if (kind == 8) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form,
            below(2) ? Qt::Key_Tab : Qt::Key_Backtab);
        return QStringLiteral("tab");
    }
    QLineEdit *box = anyField();
    box->setFocus();
    const QString where = " in " + box->objectName();
    switch (kind) {
    case 3:
        QTest::keyClick(box, below(2) ? Qt::Key_Backspace : Qt::Key_Delete);
        return "delete" + where;
    case 4: {
        const int start = below(int(box->text().size()) + 1);
        box->setSelection(start, below(4));
        typeText(box, randomCharacter());
        return "replace a selection" + where;
    }
    case 5: {
        // Mostly short pastes, now and then a huge one.
        const qsizetype length = below(200) == 0 ? (1 << 20) : below(12);
        QGuiApplication::clipboard()->setText(randomText(length));
        QTest::keySequence(box, QKeySequence::Paste);
        return QStringLiteral("paste %1 units").arg(length) + where;
    }
    case 9:
        box->selectAll();
        typeText(box, randomText(below(8)));
        return "select all and type" + where;
    default: {
        const QString c = randomCharacter();
        typeText(box, c);
        return QStringLiteral("type U+%1").arg(c.at(0).unicode(), 4, 16) + where;
    }
    }
}

bool isResult(const QString &text, int largest)
{
    static const QRegularExpression form(QStringLiteral("^ (0|[1-9][0-9]*)$"));
    return form.match(text).hasMatch() && text.mid(1).toInt() <= largest;
}

bool isCoordinate(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?$"));
    return form.match(text).hasMatch() && text != QLatin1String("-0");
}

std::uint32_t fromEnvironment(const char *name, std::uint32_t otherwise)
{
    bool ok = false;
    const std::uint32_t value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : otherwise;
}

} // namespace

void TestMonkey::randomActionsKeepTheWindowSound()
{
    const std::uint32_t seed = fromEnvironment("ROTAVEL_MONKEY_SEED", 20261208);
    const std::uint32_t actions = fromEnvironment("ROTAVEL_MONKEY_ACTIONS", 10000);
    QLocale::setDefault(QLocale::c());

    Form2 form;
    QVERIFY(opened(form));
    auto text = [&form](const char *name) { return field(form, name)->text(); };
    QSignalSpy calculations(form.findChild<QPushButton *>("Command1"), &QPushButton::clicked);

    // The message box for an over-long Locator 1 is dismissed as soon as it is
    // up.
    ModalWatch boxes(&form);

    Monkey monkey { form, std::mt19937(seed) };
    int calculated = 0;
    for (std::uint32_t i = 0; i < actions; ++i) {
        const qsizetype before = calculations.size();
        const QString action = monkey.act();
        QCoreApplication::processEvents();
        const QByteArray message =
            QStringLiteral("seed %1, action %2 (%3)").arg(seed).arg(i).arg(action).toUtf8();

        QVERIFY2(!QApplication::activeModalWidget(), message);
        for (const char *name : { "Text3", "Text5" })
            QVERIFY2(text(name) == upperCasedAsShown(text(name)), message);
        // Calculate does nothing while Locator 2 shows its placeholder, and no
        // calculation ever writes it back.
        if (calculations.size() == before || text("Text5") == QLatin1String("..."))
            continue;
        ++calculated;
        const QString bearing = text("Text1");
        const QString distance = text("Text6");
        QVERIFY2(bearing == "??????" || bearing == "0" || isResult(bearing, 360),
            message + " bearing " + bearing.toUtf8());
        QVERIFY2(distance == "??????" || isResult(distance, 19971),
            message + " distance " + distance.toUtf8());
        for (const char *name : { "Text2", "Text4", "Text7", "Text8" })
            QVERIFY2(isCoordinate(text(name)), message + ' ' + name + ' ' + text(name).toUtf8());
    }
    qInfo("%u actions, %d of them calculated, %d message boxes", actions, calculated, boxes.shown);
    QVERIFY(calculated > 0);
    QCOMPARE(boxes.unlikeEmptyMessages(), QString());
}

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
