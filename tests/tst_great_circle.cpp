// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/geometry.h"
#include "geometry_cases.h"
#include "replay.h"

#include <QtTest>

using geometry::decodePoint;
using geometry::locatorCodes;
using geometry::solveGreatCircle;

class TestGreatCircle : public QObject
{
    Q_OBJECT

private slots:
    void betweenLocators_data() { addRows(geometry_cases::locatorPairs); }
    void betweenLocators();
    void directCalls_data() { addRows(geometry_cases::directs); }
    void directCalls();
};

void TestGreatCircle::betweenLocators()
{
    QFETCH(int, row);
    const geometry_cases::LocatorPair &expected = geometry_cases::locatorPairs[row];
    const geometry::Point p1 = decodePoint(locatorCodes(expected.from));
    const geometry::Point p2 = decodePoint(locatorCodes(expected.to));
    const geometry::Solution s = solveGreatCircle(-p1.lon, p1.lat, -p2.lon, p2.lat);
    COMPARE_EXACT(s.bearing, expected.bearing);
    COMPARE_EXACT(s.distance, expected.distance);
}

void TestGreatCircle::directCalls()
{
    QFETCH(int, row);
    const geometry_cases::Direct &expected = geometry_cases::directs[row];
    const geometry::Solution s =
        solveGreatCircle(expected.wlon1, expected.lat1, expected.wlon2, expected.lat2);
    COMPARE_EXACT(s.bearing, expected.bearing);
    COMPARE_EXACT(s.distance, expected.distance);
}

QTEST_APPLESS_MAIN(TestGreatCircle)
#include "tst_great_circle.moc"
