// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/geometry.h"

#include <QtTest>

#include <cmath>
#include <limits>

using geometry::decodePoint;
using geometry::locatorCodes;
using geometry::solveGreatCircle;

class TestGreatCircle : public QObject
{
    Q_OBJECT

private slots:
    void betweenLocators_data();
    void betweenLocators();
    void directCalls_data();
    void directCalls();
    void failedStepsKeepTheirValue_data();
    void failedStepsKeepTheirValue();
    void halfTurnIsExactly180Degrees();
};

namespace {

geometry::Solution solveLocators(std::u16string_view from, std::u16string_view to)
{
    const geometry::Point p1 = decodePoint(locatorCodes(from));
    const geometry::Point p2 = decodePoint(locatorCodes(to));
    return solveGreatCircle(-p1.lon, p1.lat, -p2.lon, p2.lat);
}

} // namespace

void TestGreatCircle::betweenLocators_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<double>("bearing");
    QTest::addColumn<double>("distance");

    QTest::newRow("JN81GD to JN61FV") << "JN81GD"
                                      << "JN61FV" << 285.0 << 350.0;
    QTest::newRow("swapped: a kilometre less") << "JN61FV"
                                               << "JN81GD" << 102.0 << 349.0;
    QTest::newRow("across the Atlantic") << "JN81GD"
                                         << "FN20XR" << 303.0 << 7206.0;
    QTest::newRow("and back") << "FN20XR"
                              << "JN81GD" << 56.0 << 7205.0;
    QTest::newRow("same point, north of 38 degrees") << "JN81GD"
                                                     << "JN81GD" << 270.0 << 0.0;
    QTest::newRow("same point near the equator") << "JJ00AA"
                                                 << "JJ00AA" << 270.0 << 1.0;
    QTest::newRow("next subsquare east") << "JN81GD"
                                         << "JN81HD" << 90.0 << 6.0;
    QTest::newRow("next subsquare west") << "JN81GD"
                                         << "JN81FD" << 270.0 << 7.0;
    QTest::newRow("just west of north gives 360") << "JN81GD"
                                                  << "JO81GD" << 360.0 << 1109.0;
    QTest::newRow("just east of north gives 0") << "JN81GD"
                                                << "JO81HD" << 0.0 << 1109.0;
    QTest::newRow("due south") << "JN81GD"
                               << "JM81GD" << 180.0 << 1109.0;
    QTest::newRow("far south: azimuth cosine limit") << "JN81GD"
                                                     << "JL81GD" << 180.0 << 2219.0;
    QTest::newRow("very far south") << "JN81GD"
                                    << "JD81GD" << 180.0 << 11095.0;
    QTest::newRow("antipodal subsquare centres") << "JJ00AA"
                                                 << "AI09AX" << 90.0 << 19970.0;
}

void TestGreatCircle::betweenLocators()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    const geometry::Solution s = solveLocators(from.toStdU16String(), to.toStdU16String());
    QTEST(s.bearing, "bearing");
    QTEST(s.distance, "distance");
}

void TestGreatCircle::directCalls_data()
{
    QTest::addColumn<double>("wlon1");
    QTest::addColumn<double>("lat1");
    QTest::addColumn<double>("wlon2");
    QTest::addColumn<double>("lat2");
    QTest::addColumn<double>("bearing");
    QTest::addColumn<double>("distance");

    // Both on the equator: latitude 1 is nudged north and the azimuth is
    // defined.
    QTest::newRow("equator, eastward") << -10.0 << 0.0 << -20.0 << 0.0 << 90.0 << 1109.0;
    QTest::newRow("equator, westward") << -20.0 << 0.0 << -10.0 << 0.0 << 270.0 << 1110.0;
}

void TestGreatCircle::directCalls()
{
    QFETCH(double, wlon1);
    QFETCH(double, lat1);
    QFETCH(double, wlon2);
    QFETCH(double, lat2);
    const geometry::Solution s = solveGreatCircle(wlon1, lat1, wlon2, lat2);
    QTEST(s.bearing, "bearing");
    QTEST(s.distance, "distance");
}

// Inputs for which a step cannot be evaluated: the solver still answers,
// with the values those steps left behind, and never with NaN or infinity.
void TestGreatCircle::failedStepsKeepTheirValue_data()
{
    QTest::addColumn<double>("wlon1");
    QTest::addColumn<double>("lat1");
    QTest::addColumn<double>("wlon2");
    QTest::addColumn<double>("lat2");
    QTest::addColumn<double>("bearing");
    QTest::addColumn<double>("distance");

    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    // Found by searching for a pair whose cosine of the central angle comes
    // out as exactly 0: the central angle cannot be formed and stays 0, so
    // does the azimuth, until the last step makes it a half turn.
    QTest::newRow("u exactly 0: 180 and 0")
        << -10.0 << 74.080018648406408 << -10.0 << -15.92 << 180.0 << 0.0;
    // The smallest negative latitude is -0 radians: point 2 lies due east on
    // the equator and the azimuth cosine comes out as exactly -0. Its arc
    // cosine is a quotient by zero whose arctangent alone would look like a
    // fine angle; the step fails and the cosine, 0, is kept as the azimuth.
    QTest::newRow("azimuth cosine exactly 0: 180")
        << -10.0 << 0.0 << -20.0 << -std::numeric_limits<double>::denorm_min() << 180.0 << 1109.0;
    // NaN has no sign and no sine: every step fed by it keeps its 0, leaving
    // two points at 0,0 without the equator nudge, 0.0001 radian apart.
    QTest::newRow("NaN everywhere") << nan << nan << nan << nan << 180.0 << 1.0;
    // An infinite longitude cannot become an angle and stays 0: the same point
    // twice, at latitude 10.
    QTest::newRow("infinite longitudes") << inf << 10.0 << -inf << 10.0 << 270.0 << 1.0;
}

void TestGreatCircle::failedStepsKeepTheirValue()
{
    QFETCH(double, wlon1);
    QFETCH(double, lat1);
    QFETCH(double, wlon2);
    QFETCH(double, lat2);
    const geometry::Solution s = solveGreatCircle(wlon1, lat1, wlon2, lat2);
    QTEST(s.bearing, "bearing");
    QTEST(s.distance, "distance");
}

void TestGreatCircle::halfTurnIsExactly180Degrees()
{
    QCOMPARE(geometry::PiApprox / geometry::DegToRad, 180.0);
    QCOMPARE(geometry::DegToRad, 0.01745328888888889);
}

QTEST_APPLESS_MAIN(TestGreatCircle)
#include "tst_great_circle.moc"
