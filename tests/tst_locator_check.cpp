// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/geometry.h"

#include <QtTest>

using geometry::checkLocators;

class TestLocatorCheck : public QObject
{
    Q_OBJECT

private slots:
    void workingStringsAndFlags_data();
    void workingStringsAndFlags();
    void malformedLocatorIsAnError_data();
    void malformedLocatorIsAnError();
};

void TestLocatorCheck::workingStringsAndFlags_data()
{
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QString>("text2");
    QTest::addColumn<QString>("working1");
    QTest::addColumn<QString>("working2");
    QTest::addColumn<bool>("inputError");
    QTest::addColumn<bool>("short1");
    QTest::addColumn<bool>("short2");
    QTest::addColumn<bool>("long1");

    const QString v = "JO59AB";
    // clang-format off
    QTest::newRow("lower case is upper-cased")     << "jn81gd"  << v      << "JN81GD"   << v          << false << false << false << false;
    QTest::newRow("four characters get LL")        << "jn81"    << v      << "JN81LL"   << v          << false << true  << false << false;
    QTest::newRow("two short locators, twice")     << "JN81"    << "jo59" << "JN81LLLL" << "JO59LLLL" << false << true  << true  << false;
    QTest::newRow("short Locator 2 alone")         << "JN81GD"  << "JO59" << "JN81GD"   << "JO59LL"   << false << false << true  << false;
    QTest::newRow("both valid, nothing to do")     << "IO91WM"  << "FN20XR" << "IO91WM" << "FN20XR"   << false << false << false << false;
    QTest::newRow("empty is not completed")        << ""        << v      << ""         << v          << true  << false << false << false;
    QTest::newRow("empty 1 and short 2")           << ""        << "JO59" << ""         << "JO59LL"   << true  << false << true  << false;
    QTest::newRow("empty Locator 2")               << "JN81GD"  << ""     << "JN81GD"   << ""         << true  << false << false << false;
    QTest::newRow("two characters: L is third")    << "JN"      << v      << "JNLL"     << v          << true  << true  << false << false;
    QTest::newRow("one character")                 << "J"       << v      << "JLL"      << v          << true  << true  << false << false;
    QTest::newRow("seven characters: too long")    << "JN81GDX" << v      << "JN81GDX"  << v          << true  << false << false << true;
    QTest::newRow("trailing blank: too long")      << "JN81GD " << v      << "JN81GD "  << v          << true  << false << false << true;
    QTest::newRow("long Locator 2, no long flag")  << "JN81GD"  << "JN81GD " << "JN81GD" << "JN81GD " << true  << false << false << false;
    // The third character alone let these through; they are completed and
    // decoded as before, but now reported.
    QTest::newRow("fixed: three characters")       << "JN8"     << v      << "JN8LL"    << v          << true  << true  << false << false;
    QTest::newRow("fixed: three against short 2")  << "JN8"     << "JO59" << "JN8LLLL"  << "JO59LLLL" << true  << true  << true  << false;
    QTest::newRow("fixed: five characters")        << "JN81G"   << v      << "JN81G"    << v          << true  << false << false << false;
    QTest::newRow("Latin-1 small letters upper-cased") << QString::fromUtf8("jn81gé") << v
        << QString::fromUtf8("JN81GÉ") << v << true << false << false << false;
    // clang-format on
}

void TestLocatorCheck::workingStringsAndFlags()
{
    QFETCH(QString, text1);
    QFETCH(QString, text2);
    const auto check = checkLocators(text1.toStdU16String(), text2.toStdU16String());
    QTEST(QString::fromStdU16String(check.locator1), "working1");
    QTEST(QString::fromStdU16String(check.locator2), "working2");
    QTEST(check.InputError, "inputError");
    QTEST(check.ShortFlag1, "short1");
    QTEST(check.ShortFlag2, "short2");
    QTEST(check.LongFlag1, "long1");
}

// Each text is tried as Locator 1 and as Locator 2 against a valid partner.
void TestLocatorCheck::malformedLocatorIsAnError_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("inputError");

    QTest::newRow("six, well formed") << "JN81GD" << false;
    QTest::newRow("four, well formed") << "jn81" << false;
    QTest::newRow("corners of the grid") << "RR99XX" << false;
    QTest::newRow("south-west corner") << "aa00aa" << false;
    QTest::newRow("letter in third place") << "JNX1GD" << true;
    QTest::newRow("blank in third place") << "JN 1GD" << true;
    QTest::newRow("slash in third place") << "JN/1GD" << true;
    QTest::newRow("fixed: field letter beyond R") << "ZZ99ZZ" << true;
    QTest::newRow("fixed: S as first letter") << "SN81GD" << true;
    QTest::newRow("fixed: S as second letter") << "JS81GD" << true;
    QTest::newRow("fixed: punctuation first") << "J#81GD" << true;
    QTest::newRow("fixed: letter in fourth place") << "JN8AGD" << true;
    QTest::newRow("fixed: subsquare letter beyond X") << "JN81YD" << true;
    QTest::newRow("fixed: digit as subsquare") << "JN81G5" << true;
    QTest::newRow("fixed: five characters") << "JN81G" << true;
    QTest::newRow("fixed: three characters") << "JN8" << true;
    QTest::newRow("fixed: Latin-1 letter as field") << QString::fromUtf8("ÉN81GD") << true;
    QTest::newRow("fixed: Cyrillic look-alike field") << QString::fromUtf8("JН81GD") << true;
    QTest::newRow("fixed: full-width digit third") << QString::fromUtf8("JN８1GD") << true;
    QTest::newRow("leading blank") << " JN81G" << true;
    QTest::newRow("NUL inside") << QString::fromUtf16(u"JN\u000081GD", 6) << true;
    QTest::newRow("emoji: two UTF-16 units") << QString::fromUtf8("JN81\U0001F600") << true;
}

void TestLocatorCheck::malformedLocatorIsAnError()
{
    QFETCH(QString, text);
    const std::u16string locator = text.toStdU16String();
    QTEST(checkLocators(locator, u"JO59AB").InputError, "inputError");
    QTEST(checkLocators(u"JO59AB", locator).InputError, "inputError");
    // Nothing but the length decides the message box.
    QCOMPARE(checkLocators(locator, u"JO59AB").LongFlag1, locator.size() > 6);
}

QTEST_APPLESS_MAIN(TestLocatorCheck)
#include "tst_locator_check.moc"
