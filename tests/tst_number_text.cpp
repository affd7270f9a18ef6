// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/number_text.h"

#include <QtTest>

#include <limits>

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void coordinateForm_data();
    void coordinateForm();
    void resultForm_data();
    void resultForm();
    void noTextForNonFiniteNumbers();
    void exponentReadFromItsOwnDigits_data();
    void exponentReadFromItsOwnDigits();
};

void TestNumberText::coordinateForm_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");

    QTest::newRow("15 significant digits") << 41.145833333333336 << "."
                                           << "41.1458333333333";
    QTest::newRow("rounded up, negative") << -16.541666666666668 << "."
                                          << "-16.5416666666667";
    QTest::newRow("decimal comma") << 41.895833333333336 << ","
                                   << "41,8958333333333";
    QTest::newRow("no grouping") << -1581.375 << ","
                                 << "-1581,375";
    QTest::newRow("trailing zeros dropped") << 170.0625 << "."
                                            << "170.0625";
    QTest::newRow("bare separator dropped") << 340.0 << "."
                                            << "340";
    QTest::newRow("leading zero kept") << 0.0625 << "."
                                       << "0.0625";
    QTest::newRow("negative below one") << -0.041666666666666664 << "."
                                        << "-0.0416666666666667";
    QTest::newRow("zero") << 0.0 << "."
                          << "0";
    QTest::newRow("negative zero has no sign") << -0.0 << "."
                                               << "0";
    QTest::newRow("tiny: zeros, never an exponent") << 1.5e-7 << "."
                                                    << "0.00000015";
    QTest::newRow("huge: zeros, never an exponent") << 1.25e20 << "."
                                                    << "125000000000000000000";
    QTest::newRow("rounding carries into a new digit") << 9.999999999999998 << "."
                                                       << "10";
    QTest::newRow("a separator of several characters") << 2.5 << "<>"
                                                       << "2<>5";
}

void TestNumberText::coordinateForm()
{
    QFETCH(double, value);
    QFETCH(QString, separator);
    const auto text = window::coordinateText(value, separator.toStdU16String());
    QVERIFY(text.has_value());
    QTEST(QString::fromStdU16String(*text), "text");
}

void TestNumberText::resultForm_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("positive has a leading space") << 285.0 << " 285";
    QTest::newRow("zero has a leading space") << 0.0 << " 0";
    QTest::newRow("negative zero is zero") << -0.0 << " 0";
    QTest::newRow("negative") << -1.0 << "-1";
    QTest::newRow("no grouping") << 19970.0 << " 19970";
    QTest::newRow("largest bearing") << 360.0 << " 360";
}

void TestNumberText::resultForm()
{
    QFETCH(double, value);
    const auto text = window::resultText(value);
    QVERIFY(text.has_value());
    QTEST(QString::fromStdU16String(*text), "text");
}

void TestNumberText::noTextForNonFiniteNumbers()
{
    for (const double v : { std::numeric_limits<double>::quiet_NaN(),
             std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity() }) {
        QVERIFY(!window::coordinateText(v, u".").has_value());
        QVERIFY(!window::resultText(v).has_value());
    }
}

// The form of a coordinate is worked out from its exponent. A longer number
// formatted just before, in the same place, must not lend it digits: once
// "e-100" has been written, "e+01" must not read as "e+010".
void TestNumberText::exponentReadFromItsOwnDigits_data()
{
    QTest::addColumn<double>("before");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("after a three-digit exponent")
        << 1e-100 << 41.145833333333336 << "41.1458333333333";
    QTest::newRow("negative, after a three-digit exponent")
        << -1.5e200 << -16.541666666666668 << "-16.5416666666667";
    QTest::newRow("below one, after the smallest number") << 5e-324 << 0.0625 << "0.0625";
    QTest::newRow("smallest subnormal")
        << 1e-100 << 5e-324 << "0." + QString(323, u'0') + "494065645841247";
    QTest::newRow("largest double")
        << 1e-100 << 1.7976931348623157e308 << "179769313486232" + QString(294, u'0');
}

void TestNumberText::exponentReadFromItsOwnDigits()
{
    QFETCH(double, before);
    QFETCH(double, value);
    QVERIFY(window::coordinateText(before, u".").has_value());
    const auto text = window::coordinateText(value, u".");
    QVERIFY(text.has_value());
    QTEST(QString::fromStdU16String(*text), "text");
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
