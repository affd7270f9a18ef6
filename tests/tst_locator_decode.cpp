// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/geometry.h"
#include "geometry_cases.h"
#include "replay.h"

#include <QtTest>

using geometry::decodePoint;
using geometry::locatorCodes;

class TestLocatorDecode : public QObject
{
    Q_OBJECT

private slots:
    void referencePoints_data() { addRows(geometry_cases::decodes); }
    void referencePoints();
    void codesOfUnusualCharacters_data() { addRows(geometry_cases::characterCodes); }
    void codesOfUnusualCharacters();
    void slotsStartEmptyOnEveryCall();
};

void TestLocatorDecode::referencePoints()
{
    QFETCH(int, row);
    const geometry_cases::Decode &expected = geometry_cases::decodes[row];
    const geometry::Point p = decodePoint(locatorCodes(expected.working));
    COMPARE_EXACT(p.lon, expected.lon);
    COMPARE_EXACT(p.lat, expected.lat);
}

void TestLocatorDecode::codesOfUnusualCharacters()
{
    QFETCH(int, row);
    const geometry_cases::CharacterCode &expected = geometry_cases::characterCodes[row];
    const geometry::LocatorCodes codes = locatorCodes(expected.text);
    QVERIFY(codes[0].has_value());
    QCOMPARE(*codes[0], expected.code);
    QVERIFY(!codes[1].has_value());
}

void TestLocatorDecode::slotsStartEmptyOnEveryCall()
{
    // A short locator after a full one does not keep the full one's codes.
    COMPARE_EXACT(decodePoint(locatorCodes(u"JN81GD")).lat, 41.145833333333336);
    COMPARE_EXACT(decodePoint(locatorCodes(u"JN81G")).lat, 38.3125);

    // An emoji is two UTF-16 units, each a character of its own.
    const geometry::LocatorCodes codes = locatorCodes(u"JN81\U0001F600");
    QCOMPARE(*codes[4], std::int16_t(63));
    QCOMPARE(*codes[5], std::int16_t(63));
}

QTEST_APPLESS_MAIN(TestLocatorDecode)
#include "tst_locator_decode.moc"
