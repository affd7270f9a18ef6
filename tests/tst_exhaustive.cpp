// SPDX-License-Identifier: GPL-3.0-or-later
// Every locator of the grid, one by one: all 18 x 18 x 10 x 10 x 24 x 24
// six-character locators must be accepted in either case and in either field,
// decode exactly onto the centre of their subsquare, and give a bearing and a
// distance from a few fixed stations that agree with an independent
// great-circle formula on the same sphere. The walk is split over threads so
// that it stays well under a minute on two cores.
//
// The environment variable ROTAVEL_EXHAUSTIVE=sample makes the walk cover a
// fixed sample instead: every seventh subsquare column and row of the grid,
// 618 x 618 locators, the first and the last of each included. The arm64
// build's tests ask for it under emulation (QEMU's user mode runs them some
// 20 times slower); everywhere else the whole grid is walked unless told
// otherwise. The sample's results are pinned too, and the whole walk checks
// them as well, so that the sample's bearings and distances on one processor
// must equal, bit for bit, those of the whole walk on another.

#include "geometry/geometry.h"

#include <QtTest>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

using geometry::checkLocators;
using geometry::decodePoint;
using geometry::locatorCodes;
using geometry::solveGreatCircle;

class TestExhaustive : public QObject
{
    Q_OBJECT

private slots:
    void everySubsquare();
    void everySquare();
    void justOutsideTheGridIsRejected();
};

namespace {

// The Maidenhead grid: 18 x 18 fields of 20 x 10 degrees, 10 x 10 squares of
// 2 x 1 degrees in each, 24 x 24 subsquares in each square.
constexpr int fieldCount = 18;
constexpr int squareCount = 10;
constexpr int subsquareCount = 24;
constexpr int subsquaresPerField = squareCount * subsquareCount;
// Subsquare columns from 180 W eastwards and rows from the south pole
// northwards: 4320 of each.
constexpr int gridSteps = fieldCount * subsquaresPerField;
// The sample's stride, in subsquares: 4319 = 7 x 617, so that the columns and
// rows at both edges of the grid are in it.
constexpr int sampleStride = 7;
constexpr int sampleSteps = (gridSteps - 1) / sampleStride + 1;
static_assert((gridSteps - 1) % sampleStride == 0);

constexpr double sphereRadiusKm = 6356.775;
constexpr double halfCircumferenceKm = std::numbers::pi * sphereRadiusKm;
// No two points of the globe are further apart than half a great circle,
// 19970.4 km on this sphere; whole kilometres round up to at most this.
constexpr double longestDistanceKm = 19971;

// The solver moves point 2 by 0.0001 radian of longitude, up to 0.636 km on
// the equator, and rounds to whole kilometres: 1.14 km at worst.
constexpr double distanceToleranceKm = 1.2;
// Whole degrees round by up to half a degree, and the pi of six decimals in
// the solver's arc cosines turns a bearing along a meridian by up to 0.3 degree
// some 60 to 150 km from the antipode (179 where 180.000 is exact): one degree
// in all, plus the rounding noise of the reference itself. The 0.0001 radian
// seen from close by (or from near the antipode) turns the bearing by
// atan(0.636 km / distance); that exceeds half a degree inside 73 km, and there
// the allowance grows by that angle and no more: 1.23 degrees at 50 km.
constexpr double bearingToleranceDeg = 1.0;
constexpr double referenceNoiseDeg = 1e-9;
constexpr double lonOffsetShiftKm = 0.0001 * sphereRadiusKm;
// Bearings are compared only where they mean something: not between points
// almost on top of each other or almost antipodal.
constexpr double bearingCheckMarginKm = 50;

constexpr double radPerDeg = std::numbers::pi / 180;

// Stop describing failures after this many; they are still counted.
constexpr int reportedFailures = 10;

struct GridIndex
{
    int field = 0;
    int square = 0;
    int subsquare = 0;

    int step() const { return field * subsquaresPerField + square * subsquareCount + subsquare; }
};

// Centre of a subsquare worked out from the indices alone: whole degrees
// exactly, then the half subsquare.
double centreEastLonDeg(GridIndex lon)
{
    return (-180.0 + 20 * lon.field + 2 * lon.square) + (lon.subsquare + 0.5) / 12;
}

double centreLatDeg(GridIndex lat)
{
    return (-90.0 + 10 * lat.field + lat.square) + (lat.subsquare + 0.5) / 24;
}

double westEdgeDeg(GridIndex lon)
{
    return (-180.0 + 20 * lon.field + 2 * lon.square) + lon.subsquare / 12.0;
}

double southEdgeDeg(GridIndex lat)
{
    return (-90.0 + 10 * lat.field + lat.square) + lat.subsquare / 24.0;
}

// A decoded centre is a sum of a few divisions by 12 or 24, each rounded:
// its multiple of a step is off a whole number by some units in the last
// place of a few thousand steps, far below this and far below the half step
// that would make it another number.
constexpr double divisionRoundingSteps = 1e-9;

// True when deg is an odd multiple of 1/stepsPerDeg degree, to within the
// rounding of the division that formed it.
bool isOddMultiple(double deg, double stepsPerDeg)
{
    const double steps = deg * stepsPerDeg;
    const double whole = std::nearbyint(steps);
    return std::abs(steps - whole) < divisionRoundingSteps && std::fmod(whole, 2) != 0;
}

struct LocatorText
{
    std::array<char16_t, 6> upper {};
    std::array<char16_t, 6> lower {};

    std::u16string_view upperView() const { return { upper.data(), upper.size() }; }
    std::u16string_view lowerView() const { return { lower.data(), lower.size() }; }
};

LocatorText locatorText(GridIndex lon, GridIndex lat)
{
    LocatorText t;
    t.upper = { char16_t(u'A' + lon.field), char16_t(u'A' + lat.field), char16_t(u'0' + lon.square),
        char16_t(u'0' + lat.square), char16_t(u'A' + lon.subsquare),
        char16_t(u'A' + lat.subsquare) };
    t.lower = t.upper;
    for (const int i : { 0, 1, 4, 5 })
        t.lower[i] = char16_t(t.upper[i] - u'A' + u'a');
    return t;
}

QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

// Sines and cosines of one subsquare centre's angle and of its half, with
// true pi: the reference reads them from tables instead of calling the
// trigonometric functions 75 million times.
struct AngleTrig
{
    double sinFull = 0;
    double cosFull = 0;
    double sinHalf = 0;
    double cosHalf = 0;
};

AngleTrig angleTrig(double deg)
{
    const double rad = deg * radPerDeg;
    return { std::sin(rad), std::cos(rad), std::sin(rad / 2), std::cos(rad / 2) };
}

GridIndex gridIndexOfStep(int step)
{
    return { step / subsquaresPerField, step / subsquareCount % squareCount,
        step % subsquareCount };
}

struct ReferenceTables
{
    std::vector<AngleTrig> lon;
    std::vector<AngleTrig> lat;

    ReferenceTables()
    {
        lon.reserve(gridSteps);
        lat.reserve(gridSteps);
        for (int step = 0; step < gridSteps; ++step) {
            lon.push_back(angleTrig(centreEastLonDeg(gridIndexOfStep(step))));
            lat.push_back(angleTrig(centreLatDeg(gridIndexOfStep(step))));
        }
    }
};

struct Reference
{
    double distanceKm = 0;
    double bearingDeg = 0;
};

// Haversine distance and the initial bearing
//   theta = atan2(sin dLon cos lat2, cos lat1 sin lat2 - sin lat1 cos lat2 cos dLon),
// with the differences of the angles and of their halves expanded by the
// angle-difference identities over the tables.
Reference reference(
    const ReferenceTables &tables, int lonStep1, int latStep1, int lonStep2, int latStep2)
{
    const AngleTrig &lon1 = tables.lon[lonStep1];
    const AngleTrig &lat1 = tables.lat[latStep1];
    const AngleTrig &lon2 = tables.lon[lonStep2];
    const AngleTrig &lat2 = tables.lat[latStep2];

    const double sinHalfDLat = lat2.sinHalf * lat1.cosHalf - lat2.cosHalf * lat1.sinHalf;
    const double sinHalfDLon = lon2.sinHalf * lon1.cosHalf - lon2.cosHalf * lon1.sinHalf;
    const double haversine =
        sinHalfDLat * sinHalfDLat + lat1.cosFull * lat2.cosFull * sinHalfDLon * sinHalfDLon;
    const double centralAngleRad = 2 * std::asin(std::min(1.0, std::sqrt(haversine)));

    const double sinDLon = lon2.sinFull * lon1.cosFull - lon2.cosFull * lon1.sinFull;
    const double cosDLon = lon2.cosFull * lon1.cosFull + lon2.sinFull * lon1.sinFull;
    const double bearingRad = std::atan2(sinDLon * lat2.cosFull,
        lat1.cosFull * lat2.sinFull - lat1.sinFull * lat2.cosFull * cosDLon);
    double bearingDeg = bearingRad / radPerDeg;
    if (bearingDeg < 0)
        bearingDeg += 360;
    return { sphereRadiusKm * centralAngleRad, bearingDeg };
}

// Difference of two bearings around the compass: 359.6 and 0.2 are 0.6 apart.
double bearingGapDeg(double a, double b)
{
    const double gap = std::fmod(std::abs(a - b), 360);
    return std::min(gap, 360 - gap);
}

double bearingAllowanceDeg(double distanceKm)
{
    // The offset's sideways shift seen along a great circle of this length.
    const double sideways = std::sin(distanceKm / sphereRadiusKm) * sphereRadiusKm;
    const double offsetTurnDeg = std::atan(lonOffsetShiftKm / sideways) / radPerDeg;
    return std::max(bearingToleranceDeg, 0.5 + offsetTurnDeg) + referenceNoiseDeg;
}

struct Origin
{
    const char16_t *name;
    GridIndex lon;
    GridIndex lat;
    double westLonDeg = 0;
    double latDeg = 0;
};

Origin origin(std::u16string_view name)
{
    Origin o { name.data(), { name[0] - u'A', name[2] - u'0', name[4] - u'A' },
        { name[1] - u'A', name[3] - u'0', name[5] - u'A' } };
    // The window hands the solver the decoded point, west-positive.
    const geometry::Point p = decodePoint(locatorCodes(name));
    o.westLonDeg = -p.lon;
    o.latDeg = p.lat;
    return o;
}

// Failures and the worst agreements of one thread; merged at the end.
struct Findings
{
    long long failures = 0;
    QStringList messages;
    double worstDistanceErrorKm = 0;
    double worstBearingErrorDeg = 0;
    double leastBearingHeadroomDeg = 360; // allowance less error, at the tightest

    void fail(const LocatorText &t, const char16_t *originName, const QString &what)
    {
        if (++failures > reportedFailures)
            return;
        const QString from =
            originName ? QStringLiteral(" from ") + QString::fromUtf16(originName) : QString();
        messages << toQString(t.upperView()) + from + QStringLiteral(": ") + what;
    }

    void merge(const Findings &other)
    {
        failures += other.failures;
        for (const QString &m : other.messages) {
            if (messages.size() < reportedFailures)
                messages << m;
        }
        worstDistanceErrorKm = std::max(worstDistanceErrorKm, other.worstDistanceErrorKm);
        worstBearingErrorDeg = std::max(worstBearingErrorDeg, other.worstBearingErrorDeg);
        leastBearingHeadroomDeg = std::min(leastBearingHeadroomDeg, other.leastBearingHeadroomDeg);
    }
};

// The whole-number results of one origin over part of the walk, in the order
// of the walk: their sums and a hash of the sequence.
struct Tally
{
    long long bearingSumDeg = 0;
    long long distanceSumKm = 0;
    std::uint64_t hash = 14695981039346656037u; // FNV-1a

    void add(std::uint64_t value)
    {
        for (int byte = 0; byte < 8; ++byte) {
            hash = (hash ^ ((value >> (8 * byte)) & 0xFF)) * 1099511628211u;
        }
    }

    void add(const geometry::Solution &s)
    {
        bearingSumDeg += static_cast<long long>(s.bearing);
        distanceSumKm += static_cast<long long>(s.distance);
        add(static_cast<std::uint64_t>(s.bearing) << 32 | static_cast<std::uint64_t>(s.distance));
    }
};

bool isWholeIn(double v, double low, double high)
{
    return std::isfinite(v) && v == std::floor(v) && v >= low && v <= high;
}

void checkSolution(const ReferenceTables &tables, const Origin &o, const LocatorText &text,
    GridIndex lon, GridIndex lat, const geometry::Point &p, Findings &findings, Tally *tally,
    Tally *sampleTally)
{
    const geometry::Solution s = solveGreatCircle(o.westLonDeg, o.latDeg, -p.lon, p.lat);
    if (!isWholeIn(s.bearing, 0, 360) || !isWholeIn(s.distance, 0, longestDistanceKm)) {
        findings.fail(text, o.name,
            QStringLiteral("bearing %1, distance %2 not whole or out of range")
                .arg(s.bearing)
                .arg(s.distance));
        return;
    }
    if (tally)
        tally->add(s);
    if (sampleTally)
        sampleTally->add(s);

    const Reference r = reference(tables, o.lon.step(), o.lat.step(), lon.step(), lat.step());
    const double distanceErrorKm = std::abs(s.distance - r.distanceKm);
    findings.worstDistanceErrorKm = std::max(findings.worstDistanceErrorKm, distanceErrorKm);
    if (distanceErrorKm > distanceToleranceKm) {
        findings.fail(text, o.name,
            QStringLiteral("distance %1 km, reference %2 km")
                .arg(s.distance)
                .arg(r.distanceKm, 0, 'f', 3));
    }

    if (r.distanceKm <= bearingCheckMarginKm
        || r.distanceKm >= halfCircumferenceKm - bearingCheckMarginKm)
        return;
    const double bearingErrorDeg = bearingGapDeg(s.bearing, r.bearingDeg);
    const double allowanceDeg = bearingAllowanceDeg(r.distanceKm);
    findings.worstBearingErrorDeg = std::max(findings.worstBearingErrorDeg, bearingErrorDeg);
    findings.leastBearingHeadroomDeg =
        std::min(findings.leastBearingHeadroomDeg, allowanceDeg - bearingErrorDeg);
    if (bearingErrorDeg > allowanceDeg) {
        findings.fail(text, o.name,
            QStringLiteral("bearing %1, reference %2 at %3 km")
                .arg(s.bearing)
                .arg(r.bearingDeg, 0, 'f', 3)
                .arg(r.distanceKm, 0, 'f', 1));
    }
}

constexpr std::size_t originCount = 4;
using Origins = std::array<Origin, originCount>;

// The whole-number results of this version from each origin to every
// subsquare, each within the allowances above. Pinned because the pi of six
// decimals, the rounding and the azimuth limit are part of the answer: using
// true pi in one place of the solver moves results by some 4 millionths of a
// degree and 4 mm, far inside any allowance, yet flips the rounding of
// thousands of them. A change to the solver that only reorders its
// arithmetic should leave every one of the 75 million results, and so these
// figures, as they are.
struct PinnedResults
{
    const char16_t *origin;
    long long bearingSumDeg;
    long long distanceSumKm;
    std::uint64_t hash;
};

// Mid-latitude Europe, the two corners of the grid (each within a few
// kilometres of a pole) and the subsquare at 0 N 0 E.
constexpr std::array<PinnedResults, originCount> pinnedResults = { {
    { u"JN81GD", 3358924450, 186347751027, 0x3d13247b958a0895 },
    { u"AA00AA", 3359738591, 186347735640, 0x8728d8c388ae4b6d },
    { u"RR99XX", 3358725409, 186347735640, 0x33e90486d9027c7d },
    { u"JJ00AA", 3359231732, 186347756441, 0x22ee373424dbc7b8 },
} };
// The same over the sample alone, in the same order.
constexpr std::array<PinnedResults, originCount> pinnedSampleResults = { {
    { u"JN81GD", 68626696, 3815520642, 0x2389a2e1a7c9d28f },
    { u"AA00AA", 68947434, 3813585075, 0x94da3acde3d390ab },
    { u"RR99XX", 68736029, 3813585068, 0x404be7f076727729 },
    { u"JJ00AA", 68635010, 3816227732, 0xd857ac41054ce515 },
} };
using OriginTallies = std::array<Tally, originCount>;

// Everything about one six-character locator.
void checkLocator(const ReferenceTables &tables, const Origins &origins, GridIndex lon,
    GridIndex lat, Findings &findings, OriginTallies *tallies, OriginTallies *sampleTallies)
{
    const LocatorText text = locatorText(lon, lat);

    // Upper case as Locator 1 with lower case as Locator 2, then the other
    // way round: both accepted as they stand, upper-cased.
    for (const auto &[text1, text2] : { std::pair { text.upperView(), text.lowerView() },
             std::pair { text.lowerView(), text.upperView() } }) {
        const geometry::LocatorCheck check = checkLocators(text1, text2);
        if (check.InputError || check.ShortFlag1 || check.ShortFlag2 || check.LongFlag1
            || check.locator1 != text.upperView() || check.locator2 != text.upperView()) {
            findings.fail(text, nullptr,
                QStringLiteral("not accepted as %1 and %2: error %3, working %4 %5")
                    .arg(toQString(text1), toQString(text2))
                    .arg(check.InputError)
                    .arg(toQString(check.locator1), toQString(check.locator2)));
            return;
        }
    }

    const geometry::Point p = decodePoint(locatorCodes(text.upperView()));
    const double westDeg = westEdgeDeg(lon);
    const double southDeg = southEdgeDeg(lat);
    if (!std::isfinite(p.lon) || !std::isfinite(p.lat) || p.lon <= westDeg
        || p.lon >= westDeg + 1.0 / 12 || p.lat <= southDeg || p.lat >= southDeg + 1.0 / 24
        || !isOddMultiple(p.lon, 24) || !isOddMultiple(p.lat, 48) || p.lon != centreEastLonDeg(lon)
        || p.lat != centreLatDeg(lat)) {
        findings.fail(text, nullptr,
            QStringLiteral("decoded to %1 N %2 E, centre is %3 N %4 E")
                .arg(p.lat, 0, 'g', 17)
                .arg(p.lon, 0, 'g', 17)
                .arg(centreLatDeg(lat), 0, 'g', 17)
                .arg(centreEastLonDeg(lon), 0, 'g', 17));
        return;
    }

    for (std::size_t i = 0; i < originCount; ++i)
        checkSolution(tables, origins[i], text, lon, lat, p, findings,
            tallies ? &(*tallies)[i] : nullptr, sampleTallies ? &(*sampleTallies)[i] : nullptr);
}

bool inSample(GridIndex lon, GridIndex lat)
{
    return lon.step() % sampleStride == 0 && lat.step() % sampleStride == 0;
}

enum class Walk { whole, sample };

Walk chosenWalk()
{
    const QByteArray chosen = qgetenv("ROTAVEL_EXHAUSTIVE");
    if (chosen == "sample")
        return Walk::sample;
    if (!chosen.isEmpty() && chosen != "whole")
        qFatal("ROTAVEL_EXHAUSTIVE is '%s', not sample or whole", chosen.constData());
    return Walk::whole;
}

// Walks the subsquares of whole fields of longitude, taking the next field
// not yet taken, so that the threads finish together. The sample's cases are
// tallied on their own as well, in the order of the whole walk.
void walkFields(const ReferenceTables &tables, const Origins &origins, Walk walk,
    std::atomic<int> &nextField, Findings &findings,
    std::array<OriginTallies, fieldCount> &fieldTallies,
    std::array<OriginTallies, fieldCount> &fieldSampleTallies)
{
    for (int lonField = nextField++; lonField < fieldCount; lonField = nextField++) {
        OriginTallies *tallies = walk == Walk::whole ? &fieldTallies[lonField] : nullptr;
        OriginTallies &sampleTallies = fieldSampleTallies[lonField];
        for (int latField = 0; latField < fieldCount; ++latField) {
            for (int lonSquare = 0; lonSquare < squareCount; ++lonSquare) {
                for (int latSquare = 0; latSquare < squareCount; ++latSquare) {
                    for (int lonSub = 0; lonSub < subsquareCount; ++lonSub) {
                        for (int latSub = 0; latSub < subsquareCount; ++latSub) {
                            const GridIndex lon { lonField, lonSquare, lonSub };
                            const GridIndex lat { latField, latSquare, latSub };
                            const bool sampled = inSample(lon, lat);
                            if (walk == Walk::sample && !sampled)
                                continue;
                            checkLocator(tables, origins, lon, lat, findings, tallies,
                                sampled ? &sampleTallies : nullptr);
                        }
                    }
                }
            }
        }
    }
}

// The tallies of the fields in field order, against the pinned figures;
// returns the origins whose results changed.
QStringList compareWithPinned(const char *walkName,
    const std::array<OriginTallies, fieldCount> &fieldTallies,
    const std::array<PinnedResults, originCount> &pinnedFigures)
{
    QStringList changed;
    for (std::size_t i = 0; i < originCount; ++i) {
        Tally total;
        for (const OriginTallies &tallies : fieldTallies) {
            total.bearingSumDeg += tallies[i].bearingSumDeg;
            total.distanceSumKm += tallies[i].distanceSumKm;
            total.add(tallies[i].hash);
        }
        const PinnedResults &pinned = pinnedFigures[i];
        const QString name = QString::fromUtf16(pinned.origin);
        qInfo("%s from %s: bearings add up to %lld, distances to %lld, hash 0x%016llx", walkName,
            qPrintable(name), total.bearingSumDeg, total.distanceSumKm,
            static_cast<unsigned long long>(total.hash));
        if (total.bearingSumDeg != pinned.bearingSumDeg
            || total.distanceSumKm != pinned.distanceSumKm || total.hash != pinned.hash) {
            changed << QStringLiteral("%1 over the %2 (sums of bearings %3, of distances %4)")
                           .arg(name, QString::fromLatin1(walkName),
                               QString::asprintf(
                                   "%+lld", total.bearingSumDeg - pinned.bearingSumDeg),
                               QString::asprintf(
                                   "%+lld", total.distanceSumKm - pinned.distanceSumKm));
        }
    }
    return changed;
}

} // namespace

void TestExhaustive::everySubsquare()
{
    const Walk walk = chosenWalk();
    const ReferenceTables tables;
    Origins origins;
    for (std::size_t i = 0; i < originCount; ++i)
        origins[i] = origin(pinnedResults[i].origin);

    const unsigned threadCount = std::clamp(std::thread::hardware_concurrency(), 2u, 18u);
    std::vector<Findings> perThread(threadCount);
    std::array<OriginTallies, fieldCount> fieldTallies;
    std::array<OriginTallies, fieldCount> fieldSampleTallies;
    std::atomic<int> nextField = 0;
    QElapsedTimer timer;
    timer.start();
    {
        std::vector<std::jthread> threads;
        for (Findings &findings : perThread) {
            threads.emplace_back([&] {
                walkFields(
                    tables, origins, walk, nextField, findings, fieldTallies, fieldSampleTallies);
            });
        }
    }

    Findings all;
    for (const Findings &findings : perThread)
        all.merge(findings);
    const int sides = walk == Walk::whole ? gridSteps : sampleSteps;
    qInfo("%s: %d locators (%d x %d) against %d origins on %u threads in %.1f s",
        walk == Walk::whole ? "every subsquare" : "every seventh subsquare column and row",
        sides * sides, sides, sides, int(originCount), threadCount, double(timer.elapsed()) / 1000);
    qInfo("worst distance error %.3f km, worst bearing error %.3f degrees, least headroom %.3g "
          "degrees",
        all.worstDistanceErrorKm, all.worstBearingErrorDeg, all.leastBearingHeadroomDeg);
    for (const QString &m : all.messages)
        qWarning("%s", qPrintable(m));
    QVERIFY2(all.failures == 0, qPrintable(QStringLiteral("%1 failed checks").arg(all.failures)));

    QStringList changed;
    if (walk == Walk::whole)
        changed << compareWithPinned("whole grid", fieldTallies, pinnedResults);
    changed << compareWithPinned("sample", fieldSampleTallies, pinnedSampleResults);
    QVERIFY2(changed.isEmpty(),
        qPrintable(QStringLiteral("results changed from ") + changed.join(u", ")));
}

// Four-character locators name the square and are taken at its subsquare
// LL, alone or against another four-character locator.
void TestExhaustive::everySquare()
{
    long long failures = 0;
    for (int lonField = 0; lonField < fieldCount; ++lonField) {
        for (int latField = 0; latField < fieldCount; ++latField) {
            for (int lonSquare = 0; lonSquare < squareCount; ++lonSquare) {
                for (int latSquare = 0; latSquare < squareCount; ++latSquare) {
                    const GridIndex lon { lonField, lonSquare, u'L' - u'A' };
                    const GridIndex lat { latField, latSquare, u'L' - u'A' };
                    const LocatorText six = locatorText(lon, lat);
                    const std::u16string_view upper = six.upperView().substr(0, 4);
                    const std::u16string_view lower = six.lowerView().substr(0, 4);

                    const auto alone = checkLocators(lower, u"JN81GD");
                    const auto both = checkLocators(upper, lower);
                    const geometry::Point p = decodePoint(locatorCodes(alone.locator1));
                    const geometry::Point q = decodePoint(locatorCodes(both.locator2));
                    const bool ok = !alone.InputError && alone.ShortFlag1 && !alone.ShortFlag2
                        && alone.locator1 == six.upperView() && !both.InputError && both.ShortFlag1
                        && both.ShortFlag2 && both.locator1.substr(0, 6) == six.upperView()
                        && both.locator2.substr(0, 6) == six.upperView()
                        && p.lon == centreEastLonDeg(lon) && p.lat == centreLatDeg(lat)
                        && q.lon == p.lon && q.lat == p.lat;
                    if (!ok && ++failures <= reportedFailures)
                        qWarning("%s is not taken at %s", qPrintable(toQString(upper)),
                            qPrintable(toQString(six.upperView())));
                }
            }
        }
    }
    QCOMPARE(failures, 0);
}

// Characters next to each range (the letter after R or X, the character before
// A, and those around the digits), in either case, in every position of every
// square and of the corner subsquares of every square: all refused, in either
// field.
void TestExhaustive::justOutsideTheGridIsRejected()
{
    constexpr std::u16string_view outsideField = u"@S`s[";
    constexpr std::u16string_view outsideDigit = u"/: O";
    constexpr std::u16string_view outsideSubsquare = u"@Y`y[";
    constexpr std::array<std::u16string_view, 6> outside = { outsideField, outsideField,
        outsideDigit, outsideDigit, outsideSubsquare, outsideSubsquare };
    constexpr int lastSubsquare = subsquareCount - 1;

    long long failures = 0;
    const auto expectRejected = [&](const LocatorText &valid, std::size_t length) {
        const std::u16string_view good = valid.upperView().substr(0, length);
        for (std::size_t position = 0; position < length; ++position) {
            for (const char16_t c : outside[position]) {
                std::array<char16_t, 6> bad = valid.upper;
                bad[position] = c;
                const std::u16string_view badView(bad.data(), length);
                if ((!checkLocators(badView, good).InputError
                        || !checkLocators(good, badView).InputError)
                    && ++failures <= reportedFailures)
                    qWarning("%s accepted", qPrintable(toQString(badView)));
            }
        }
    };

    for (int lonStep = 0; lonStep < gridSteps; ++lonStep) {
        const GridIndex lon = gridIndexOfStep(lonStep);
        if (lon.subsquare != 0 && lon.subsquare != lastSubsquare)
            continue;
        for (int latStep = 0; latStep < gridSteps; ++latStep) {
            const GridIndex lat = gridIndexOfStep(latStep);
            if (lat.subsquare != 0 && lat.subsquare != lastSubsquare)
                continue;
            const LocatorText valid = locatorText(lon, lat);
            if (lon.subsquare == 0 && lat.subsquare == 0)
                expectRejected(valid, 4);
            expectRejected(valid, 6);
        }
    }
    QCOMPARE(failures, 0);
}

QTEST_APPLESS_MAIN(TestExhaustive)
#include "tst_exhaustive.moc"
