// SPDX-License-Identifier: GPL-3.0-or-later
#include "replay.h"
#include "window/number_text.h"

#include <QtTest>

#include <limits>
#include <string>

namespace {

// A coordinate's text, worked out by hand from the double's decimal digits.
// Its form is worked out from its exponent; `before` is formatted first, in
// the same place, and a longer exponent there must not lend it digits: once
// "e-100" has been written, "e+01" must not read as "e+010".
struct Coordinate
{
    const char *name;
    double value;
    std::u16string text;
    std::u16string_view separator = u".";
    double before = 0.0;
};

const Coordinate coordinates[] = {
    { "15 significant digits", 41.145833333333336, u"41.1458333333333" },
    { "rounded up, negative", -16.541666666666668, u"-16.5416666666667" },
    { "decimal comma", 41.895833333333336, u"41,8958333333333", u"," },
    { "no grouping", -1581.375, u"-1581,375", u"," },
    { "trailing zeros dropped", 170.0625, u"170.0625" },
    { "bare separator dropped", 340.0, u"340" },
    { "leading zero kept", 0.0625, u"0.0625" },
    { "negative below one", -0.041666666666666664, u"-0.0416666666666667" },
    { "zero", 0.0, u"0" },
    { "negative zero has no sign", -0.0, u"0" },
    { "tiny: zeros, never an exponent", 1.5e-7, u"0.00000015" },
    { "huge: zeros, never an exponent", 1.25e20, u"125000000000000000000" },
    { "rounding carries into a new digit", 9.999999999999998, u"10" },
    { "a separator of several characters", 2.5, u"2<>5", u"<>" },
    { "after a three-digit exponent", 41.145833333333336, u"41.1458333333333", u".", 1e-100 },
    { "negative, after a three-digit exponent", -16.541666666666668, u"-16.5416666666667", u".",
        -1.5e200 },
    { "below one, after the smallest number", 0.0625, u"0.0625", u".", 5e-324 },
    { "smallest subnormal", 5e-324, u"0." + std::u16string(323, u'0') + u"494065645841247", u".",
        1e-100 },
    { "largest double", 1.7976931348623157e308, u"179769313486232" + std::u16string(294, u'0'),
        u".", 1e-100 },
};

} // namespace

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void coordinateForm_data() { addRows(coordinates); }
    void coordinateForm();
    void resultForm_data();
    void resultForm();
    void noTextForNonFiniteNumbers();
};

void TestNumberText::coordinateForm()
{
    QFETCH(int, row);
    const Coordinate &expected = coordinates[row];
    QVERIFY(window::coordinateText(expected.before, u".").has_value());
    const auto text = window::coordinateText(expected.value, expected.separator);
    QVERIFY(text.has_value());
    QCOMPARE(qtText(*text), qtText(expected.text));
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
    QTEST(qtText(*text), "text");
}

void TestNumberText::noTextForNonFiniteNumbers()
{
    for (const double v : { std::numeric_limits<double>::quiet_NaN(),
             std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity() }) {
        QVERIFY(!window::coordinateText(v, u".").has_value());
        QVERIFY(!window::resultText(v).has_value());
    }
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
