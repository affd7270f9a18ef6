// SPDX-License-Identifier: GPL-3.0-or-later
#include "modal_watch.h"
#include "typing.h"
#include "window/form2.h"

#include <QtTest>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
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

class Monkey
{
public:
    Monkey(Form2 &form, std::uint32_t seed)
        : m_form(form)
        , m_random(seed)
    {
    }

    // Performs one random action and says what it was.
    QString act();

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    QLineEdit *field(const QString &name) const { return m_form.findChild<QLineEdit *>(name); }
    QLineEdit *anyField() { return field(editableFields.at(below(int(editableFields.size())))); }
    QString randomCharacter();
    QString randomText(qsizetype length);

    Form2 &m_form;
    std::mt19937 m_random;
};

QString Monkey::randomCharacter()
{
    switch (below(8)) {
    case 0:
        return QString(QChar(u'a' + below(26)));
    case 1:
        return QString(QChar(u'A' + below(26)));
    case 2:
        return QString(QChar(u'0' + below(10)));
    case 3:
        return QString(QChar(0x20 + below(0x5F))); // any printable ASCII
    case 4:
        return QString(QChar(0xA0 + below(0x60))); // Latin-1: é, ß, ÿ, ...
    case 5:
        return QString(QChar(0x0400 + below(0x60))); // Cyrillic
    case 6:
        return QString::fromUcs4(
            std::array<char32_t, 1> { char32_t(0x1F600 + below(0x50)) }.data(), 1);
    default:
        // Control characters, a lone surrogate, right-to-left text.
        const std::array<char16_t, 6> odd { 0x00, 0x09, 0x0A, 0x1B, 0xD800, 0x05D0 };
        return QString(QChar(odd.at(below(int(odd.size())))));
    }
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
    switch (below(10)) {
    case 0:
    case 1:
    case 2: {
        QLineEdit *box = anyField();
        box->setFocus();
        const QString c = randomCharacter();
        typeText(box, c);
        return QStringLiteral("type U+%1 into %2")
            .arg(c.at(0).unicode(), 4, 16)
            .arg(box->objectName());
    }
    case 3: {
        QLineEdit *box = anyField();
        box->setFocus();
        QTest::keyClick(box, below(2) ? Qt::Key_Backspace : Qt::Key_Delete);
        return QStringLiteral("delete in ") + box->objectName();
    }
    case 4: {
        QLineEdit *box = anyField();
        box->setFocus();
        const int start = below(int(box->text().size()) + 1);
        box->setSelection(start, below(4));
        typeText(box, randomCharacter());
        return QStringLiteral("replace a selection in ") + box->objectName();
    }
    case 5: {
        QLineEdit *box = anyField();
        box->setFocus();
        // Mostly short pastes, now and then a huge one.
        const qsizetype length = below(200) == 0 ? (1 << 20) : below(12);
        QGuiApplication::clipboard()->setText(randomText(length));
        QTest::keySequence(box, QKeySequence::Paste);
        return QStringLiteral("paste %1 units into %2").arg(length).arg(box->objectName());
    }
    case 6:
    case 7:
        QTest::mouseClick(m_form.findChild<QPushButton *>("Command1"), Qt::LeftButton);
        return QStringLiteral("click Calculate");
    case 8:
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &m_form,
            below(2) ? Qt::Key_Tab : Qt::Key_Backtab);
        return QStringLiteral("tab");
    default: {
        QLineEdit *box = anyField();
        box->setFocus();
        box->selectAll();
        typeText(box, randomText(below(8)));
        return QStringLiteral("select all and type in ") + box->objectName();
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

// Every character whose capital has the same length is a capital.
bool isUpperCased(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QString one(text.at(i));
        const QString upper = one.toUpper();
        if (upper.size() == 1 && upper != one)
            return false;
    }
    return true;
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
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto text = [&form](const char *name) {
        return form.findChild<QLineEdit *>(QString::fromLatin1(name))->text();
    };
    QSignalSpy calculations(form.findChild<QPushButton *>("Command1"), &QPushButton::clicked);

    // The message box for an over-long Locator 1 is dismissed as soon as it is
    // up.
    ModalWatch boxes(&form);

    Monkey monkey(form, seed);
    int calculated = 0;
    for (std::uint32_t i = 0; i < actions; ++i) {
        const qsizetype before = calculations.size();
        const QString action = monkey.act();
        QCoreApplication::processEvents();
        const QString where =
            QStringLiteral("seed %1, action %2 (%3)").arg(seed).arg(i).arg(action);
        const QByteArray message = where.toUtf8();

        QVERIFY2(!QApplication::activeModalWidget(), message);
        QVERIFY2(isUpperCased(text("Text3")) && isUpperCased(text("Text5")), message);
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
