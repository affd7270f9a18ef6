// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/geometry.h"

#include <QtTest>

using geometry::decodePoint;
using geometry::locatorCodes;

class TestLocatorDecode : public QObject
{
    Q_OBJECT

private slots:
    void referencePoints_data();
    void referencePoints();
    void codesOfUnusualCharacters_data();
    void codesOfUnusualCharacters();
    void slotsStartEmptyOnEveryCall();
};

void TestLocatorDecode::referencePoints_data()
{
    QTest::addColumn<QString>("working");
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("lat");

    // Exact doubles: the order of the additions matters to the last bit.
    QTest::newRow("initial Locator 1") << "JN81GD" << 16.541666666666668 << 41.145833333333336;
    QTest::newRow("completed square is not its centre")
        << "JN81LL" << 16.958333333333332 << 41.479166666666664;
    QTest::newRow("JN61FV") << "JN61FV" << 12.458333333333334 << 41.895833333333336;
    QTest::newRow("western hemisphere") << "FN20XR" << -74.04166666666667 << 40.729166666666664;
    QTest::newRow("south-west corner") << "AA00AA" << -179.95833333333334 << -89.97916666666667;
    QTest::newRow("north-east corner") << "RR99XX" << 179.95833333333334 << 89.97916666666667;
    QTest::newRow("sixth character missing") << "JN81G" << 16.541666666666668 << 38.3125;
    QTest::newRow("letter in fourth place") << "JN8LL" << 16.958333333333332 << 65.3125;
    QTest::newRow("empty: every slot counts 0") << "" << -1581.375 << -790.6875;
    QTest::newRow("outside the grid is decoded") << "ZZ99ZZ" << 340.125 << 170.0625;
    QTest::newRow("only six characters are read")
        << "JN81LLLL" << 16.958333333333332 << 41.479166666666664;
}

void TestLocatorDecode::referencePoints()
{
    QFETCH(QString, working);
    const geometry::Point p = decodePoint(locatorCodes(working.toStdU16String()));
    QTEST(p.lon, "lon");
    QTEST(p.lat, "lat");
}

void TestLocatorDecode::codesOfUnusualCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");

    QTest::newRow("ASCII letter") << "A" << 65;
    QTest::newRow("blank") << " " << 32;
    QTest::newRow("NUL") << QString(QChar(0)) << 0;
    QTest::newRow("Latin-1 keeps its value") << QString::fromUtf8("É") << 0xC9;
    QTest::newRow("last Latin-1 character") << QString::fromUtf8("ÿ") << 0xFF;
    QTest::newRow("Cyrillic shows as ?") << QString::fromUtf8("Ж") << 63;
    QTest::newRow("lone surrogate shows as ?") << QString(QChar(0xD800)) << 63;
}

void TestLocatorDecode::codesOfUnusualCharacters()
{
    QFETCH(QString, text);
    const geometry::LocatorCodes codes = locatorCodes(text.toStdU16String());
    QVERIFY(codes[0].has_value());
    QTEST(int(*codes[0]), "code");
    QVERIFY(!codes[1].has_value());
}

void TestLocatorDecode::slotsStartEmptyOnEveryCall()
{
    // A short locator after a full one does not keep the full one's codes.
    QCOMPARE(decodePoint(locatorCodes(u"JN81GD")).lat, 41.145833333333336);
    QCOMPARE(decodePoint(locatorCodes(u"JN81G")).lat, 38.3125);

    // An emoji is two UTF-16 units, each a character of its own.
    const geometry::LocatorCodes codes = locatorCodes(u"JN81\U0001F600");
    QCOMPARE(*codes[4], std::int16_t(63));
    QCOMPARE(*codes[5], std::int16_t(63));
}

QTEST_APPLESS_MAIN(TestLocatorDecode)
#include "tst_locator_decode.moc"
