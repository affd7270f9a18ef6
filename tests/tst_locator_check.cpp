// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/geometry.h"
#include "geometry_cases.h"
#include "replay.h"

#include <QtTest>

using geometry::checkLocators;

class TestLocatorCheck : public QObject
{
    Q_OBJECT

private slots:
    void workingStringsAndFlags_data() { addRows(geometry_cases::checks); }
    void workingStringsAndFlags();
    void malformedLocatorIsAnError_data() { addRows(geometry_cases::malformed); }
    void malformedLocatorIsAnError();
};

void TestLocatorCheck::workingStringsAndFlags()
{
    QFETCH(int, row);
    const geometry_cases::Check &expected = geometry_cases::checks[row];
    const auto check = checkLocators(expected.text1, expected.text2);
    QCOMPARE(QStringView(check.locator1).toString(), QStringView(expected.working1).toString());
    QCOMPARE(QStringView(check.locator2).toString(), QStringView(expected.working2).toString());
    QCOMPARE(check.InputError, expected.inputError);
    QCOMPARE(check.ShortFlag1, expected.short1);
    QCOMPARE(check.ShortFlag2, expected.short2);
    QCOMPARE(check.LongFlag1, expected.long1);
}

void TestLocatorCheck::malformedLocatorIsAnError()
{
    QFETCH(int, row);
    const geometry_cases::Malformed &expected = geometry_cases::malformed[row];
    QCOMPARE(checkLocators(expected.text, geometry_cases::valid).InputError, expected.inputError);
    QCOMPARE(checkLocators(geometry_cases::valid, expected.text).InputError, expected.inputError);
    // Nothing but the length decides the message box.
    QCOMPARE(
        checkLocators(expected.text, geometry_cases::valid).LongFlag1, expected.text.size() > 6);
}

QTEST_APPLESS_MAIN(TestLocatorCheck)
#include "tst_locator_check.moc"
