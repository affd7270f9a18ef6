// SPDX-License-Identifier: GPL-3.0-or-later
// Every locator of the grid, one by one: all 18 x 18 x 10 x 10 x 24 x 24
// six-character locators must be accepted in either case and in either field,
// decode exactly onto the centre of their subsquare, and give a bearing and a
// distance from four stations that agree with an independent great-circle
// formula on the same sphere. The walk is split over threads so that it stays
// well under a minute on two cores.
//
// ROTAVEL_EXHAUSTIVE=sample makes the walk cover a fixed sample instead: every
// seventh subsquare column and row, 618 x 618 locators, the first and the last
// of each included. The arm64 build's tests ask for it under emulation (QEMU's
// user mode runs them some 20 times slower); everywhere else the whole grid is
// walked. The sample's results are pinned too, and the whole walk checks them
// as well, so that the sample's results on one processor must equal, bit for
// bit, those of the whole walk on another.

#include "geometry/geometry.h"

#include <QtTest>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <mutex>
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
// 2 x 1 degrees in each, 24 x 24 subsquares in each square. Subsquare columns
// run from 180 W eastwards and rows from the south pole northwards: 4320 of
// each.
constexpr int fieldCount = 18;
constexpr int squareCount = 10;
constexpr int subsquareCount = 24;
constexpr int gridSteps = fieldCount * squareCount * subsquareCount;
// 4319 = 7 x 617, so that the columns and rows at both edges of the grid are
// in the sample.
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

// One coordinate of a subsquare: its field, square and subsquare along it.
struct GridIndex
{
    int field = 0;
    int square = 0;
    int subsquare = 0;

    int step() const { return (field * squareCount + square) * subsquareCount + subsquare; }
};

GridIndex gridIndexOfStep(int step)
{
    return { step / (squareCount * subsquareCount), step / subsquareCount % squareCount,
        step % subsquareCount };
}

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

// The six characters of a subsquare, in capitals or in small letters.
std::u16string locatorText(GridIndex lon, GridIndex lat, char16_t letterA = u'A')
{
    return { char16_t(letterA + lon.field), char16_t(letterA + lat.field),
        char16_t(u'0' + lon.square), char16_t(u'0' + lat.square), char16_t(letterA + lon.subsquare),
        char16_t(letterA + lat.subsquare) };
}

// Failures of any thread, counted; the first few described (a locator's
// text as %ls).
struct Failures
{
    static constexpr int described = 10;
    std::atomic<long long> count = 0;
    std::mutex mutex;
    QStringList first;

    template <typename... Values> void add(const char *format, Values... values)
    {
        if (++count > described)
            return;
        const std::lock_guard lock(mutex);
        first << QString::asprintf(format, values...);
    }

    long long reported()
    {
        for (const QString &what : first)
            qWarning("%s", qPrintable(what));
        return count;
    }
};

// Sine and cosine of every subsquare column's or row's centre, with true pi:
// the reference reads them instead of calling them 75 million times.
struct SinCos
{
    double sin = 0;
    double cos = 0;
};

std::vector<SinCos> sinCosOfCentres(double (*centreDeg)(GridIndex))
{
    std::vector<SinCos> table;
    for (int step = 0; step < gridSteps; ++step) {
        const double rad = centreDeg(gridIndexOfStep(step)) * radPerDeg;
        table.push_back({ std::sin(rad), std::cos(rad) });
    }
    return table;
}

struct Reference
{
    double distanceKm = 0;
    double bearingDeg = 0;
};

// With y = cos lat2 sin dLon, x = cos lat1 sin lat2 - sin lat1 cos lat2 cos dLon
// and z = sin lat1 sin lat2 + cos lat1 cos lat2 cos dLon, the initial bearing
// is atan2(y, x) and the central angle atan2(sqrt(x^2 + y^2), z), well
// conditioned from 0 to a half turn; sin dLon and cos dLon come from the
// angle-difference identities.
Reference reference(SinCos lambda1, SinCos phi1, SinCos lambda2, SinCos phi2)
{
    const double sinDLon = lambda2.sin * lambda1.cos - lambda2.cos * lambda1.sin;
    const double cosDLon = lambda2.cos * lambda1.cos + lambda2.sin * lambda1.sin;
    const double y = phi2.cos * sinDLon;
    const double x = phi1.cos * phi2.sin - phi1.sin * phi2.cos * cosDLon;
    const double z = phi1.sin * phi2.sin + phi1.cos * phi2.cos * cosDLon;
    const double bearingDeg = std::atan2(y, x) / radPerDeg;
    return { sphereRadiusKm * std::atan2(std::sqrt(x * x + y * y), z),
        bearingDeg < 0 ? bearingDeg + 360 : bearingDeg };
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

bool isWholeIn(double v, double low, double high)
{
    return std::isfinite(v) && v == std::floor(v) && v >= low && v <= high;
}

// The whole-number results from one origin, in the order of the walk: their
// sums and an FNV-1a hash of the sequence.
struct Tally
{
    long long bearingSumDeg = 0;
    long long distanceSumKm = 0;
    std::uint64_t hash = 14695981039346656037u;

    void add(std::uint64_t value)
    {
        for (int byte = 0; byte < 8; ++byte)
            hash = (hash ^ ((value >> (8 * byte)) & 0xFF)) * 1099511628211u;
    }

    void add(const geometry::Solution &s)
    {
        bearingSumDeg += static_cast<long long>(s.bearing);
        distanceSumKm += static_cast<long long>(s.distance);
        add(static_cast<std::uint64_t>(s.bearing) << 32 | static_cast<std::uint64_t>(s.distance));
    }

    // One field's tally after the fields before it.
    void append(const Tally &field)
    {
        bearingSumDeg += field.bearingSumDeg;
        distanceSumKm += field.distanceSumKm;
        add(field.hash);
    }
};

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
    const char *origin;
    long long bearingSumDeg;
    long long distanceSumKm;
    std::uint64_t hash;
};

constexpr std::size_t originCount = 4;
// Mid-latitude Europe, the two corners of the grid (each within a few
// kilometres of a pole) and the subsquare at 0 N 0 E.
constexpr std::array<PinnedResults, originCount> pinnedResults = { {
    { "JN81GD", 3358924450, 186347751027, 0x3d13247b958a0895 },
    { "AA00AA", 3359738591, 186347735640, 0x8728d8c388ae4b6d },
    { "RR99XX", 3358725409, 186347735640, 0x33e90486d9027c7d },
    { "JJ00AA", 3359231732, 186347756441, 0x22ee373424dbc7b8 },
} };
// The same over the sample alone, in the same order.
constexpr std::array<PinnedResults, originCount> pinnedSampleResults = { {
    { "JN81GD", 68626696, 3815520642, 0x2389a2e1a7c9d28f },
    { "AA00AA", 68947434, 3813585075, 0x94da3acde3d390ab },
    { "RR99XX", 68736029, 3813585068, 0x404be7f076727729 },
    { "JJ00AA", 68635010, 3816227732, 0xd857ac41054ce515 },
} };

struct Origin
{
    const char *name;
    GridIndex lon;
    GridIndex lat;
    double westLonDeg = 0;
    double latDeg = 0;
};

Origin origin(const char *name)
{
    // The window hands the solver the decoded point, west-positive.
    const geometry::Point p = decodePoint(locatorCodes(std::u16string(name, name + 6)));
    return { name, { name[0] - 'A', name[2] - '0', name[4] - 'A' },
        { name[1] - 'A', name[3] - '0', name[5] - 'A' }, -p.lon, p.lat };
}

using OriginTallies = std::array<Tally, originCount>;
using FieldTallies = std::array<OriginTallies, fieldCount>;

struct GridWalk
{
    const bool sampleOnly = qgetenv("ROTAVEL_EXHAUSTIVE") == "sample";
    const std::vector<SinCos> lonSinCos = sinCosOfCentres(centreEastLonDeg);
    const std::vector<SinCos> latSinCos = sinCosOfCentres(centreLatDeg);
    const std::array<Origin, originCount> origins = { origin(pinnedResults[0].origin),
        origin(pinnedResults[1].origin), origin(pinnedResults[2].origin),
        origin(pinnedResults[3].origin) };
    Failures failures;
    // Each field of longitude's tallies, for the whole walk and for its
    // sample, so that threads can take the fields in any order.
    FieldTallies wholeTallies;
    FieldTallies sampleTallies;

    // Everything about one six-character locator.
    void check(GridIndex lon, GridIndex lat)
    {
        const bool sampled = lon.step() % sampleStride == 0 && lat.step() % sampleStride == 0;
        if (sampleOnly && !sampled)
            return;
        const std::u16string upper = locatorText(lon, lat);
        const std::u16string lower = locatorText(lon, lat, u'a');
        // Capitals as Locator 1 with small letters as Locator 2, then the
        // other way round: both accepted as they stand, upper-cased.
        for (const auto &[text1, text2] :
            { std::pair { upper, lower }, std::pair { lower, upper } }) {
            const geometry::LocatorCheck c = checkLocators(text1, text2);
            if (c.InputError || c.ShortFlag1 || c.ShortFlag2 || c.LongFlag1 || c.locator1 != upper
                || c.locator2 != upper)
                return failures.add(
                    "%ls with %ls: not accepted as it stands", text1.c_str(), text2.c_str());
        }

        const geometry::Point p = decodePoint(locatorCodes(upper));
        if (p.lon != centreEastLonDeg(lon) || p.lat != centreLatDeg(lat))
            return failures.add(
                "%ls decoded to %.17g N %.17g E, not the centre", upper.c_str(), p.lat, p.lon);

        for (std::size_t i = 0; i < originCount; ++i) {
            const Origin &o = origins[i];
            const geometry::Solution s = solveGreatCircle(o.westLonDeg, o.latDeg, -p.lon, p.lat);
            const Reference r = reference(lonSinCos[o.lon.step()], latSinCos[o.lat.step()],
                lonSinCos[lon.step()], latSinCos[lat.step()]);
            const bool bearingMeaningful = r.distanceKm > bearingCheckMarginKm
                && r.distanceKm < halfCircumferenceKm - bearingCheckMarginKm;
            if (!isWholeIn(s.bearing, 0, 360) || !isWholeIn(s.distance, 0, longestDistanceKm)
                || std::abs(s.distance - r.distanceKm) > distanceToleranceKm
                || (bearingMeaningful
                    && bearingGapDeg(s.bearing, r.bearingDeg)
                        > bearingAllowanceDeg(r.distanceKm))) {
                failures.add("%ls from %s: bearing %g, distance %g km; reference %.3f, %.3f km",
                    upper.c_str(), o.name, s.bearing, s.distance, r.bearingDeg, r.distanceKm);
                continue;
            }
            if (!sampleOnly)
                wholeTallies[lon.field][i].add(s);
            if (sampled)
                sampleTallies[lon.field][i].add(s);
        }
    }

    // The subsquares of one field of longitude, in the order the tallies are
    // pinned in.
    void walkField(int lonField)
    {
        for (int latField = 0; latField < fieldCount; ++latField)
            for (int lonSquare = 0; lonSquare < squareCount; ++lonSquare)
                for (int latSquare = 0; latSquare < squareCount; ++latSquare)
                    for (int lonSub = 0; lonSub < subsquareCount; ++lonSub)
                        for (int latSub = 0; latSub < subsquareCount; ++latSub)
                            check({ lonField, lonSquare, lonSub }, { latField, latSquare, latSub });
    }
};

// The tallies of the fields in field order, printed (the arm64 test compares
// the sample's lines between processors); false if any differs from the
// pinned figures.
bool keepsPinned(const char *walkName, const FieldTallies &fieldTallies,
    const std::array<PinnedResults, originCount> &pinned)
{
    bool kept = true;
    for (std::size_t i = 0; i < originCount; ++i) {
        Tally total;
        for (const OriginTallies &field : fieldTallies)
            total.append(field[i]);
        qInfo("%s from %s: bearings add up to %lld, distances to %lld, hash 0x%016llx", walkName,
            pinned[i].origin, total.bearingSumDeg, total.distanceSumKm,
            static_cast<unsigned long long>(total.hash));
        kept = kept && total.bearingSumDeg == pinned[i].bearingSumDeg
            && total.distanceSumKm == pinned[i].distanceSumKm && total.hash == pinned[i].hash;
    }
    return kept;
}

} // namespace

void TestExhaustive::everySubsquare()
{
    const QByteArray chosen = qgetenv("ROTAVEL_EXHAUSTIVE");
    if (!chosen.isEmpty() && chosen != "sample" && chosen != "whole")
        qFatal("ROTAVEL_EXHAUSTIVE is '%s', not sample or whole", chosen.constData());
    GridWalk walk;
    const unsigned threadCount = std::clamp(std::thread::hardware_concurrency(), 2u, 18u);
    std::atomic<int> nextField = 0;
    QElapsedTimer timer;
    timer.start();
    {
        std::vector<std::jthread> threads;
        for (unsigned i = 0; i < threadCount; ++i) {
            threads.emplace_back([&] {
                for (int lonField = nextField++; lonField < fieldCount; lonField = nextField++)
                    walk.walkField(lonField);
            });
        }
    }
    const int sides = walk.sampleOnly ? sampleSteps : gridSteps;
    qInfo("%s: %d locators (%d x %d) against %d origins on %u threads in %.1f s",
        walk.sampleOnly ? "every seventh subsquare column and row" : "every subsquare",
        sides * sides, sides, sides, int(originCount), threadCount, double(timer.elapsed()) / 1000);
    QCOMPARE(walk.failures.reported(), 0);

    const bool wholeKept =
        walk.sampleOnly || keepsPinned("whole grid", walk.wholeTallies, pinnedResults);
    const bool sampleKept = keepsPinned("sample", walk.sampleTallies, pinnedSampleResults);
    QVERIFY2(wholeKept && sampleKept, "results changed from the pinned figures");
}

// Four-character locators name the square and are taken at its subsquare
// LL, alone or against another four-character locator.
void TestExhaustive::everySquare()
{
    constexpr int subsquareL = u'L' - u'A';
    Failures failures;
    for (int lonStep = subsquareL; lonStep < gridSteps; lonStep += subsquareCount) {
        for (int latStep = subsquareL; latStep < gridSteps; latStep += subsquareCount) {
            const GridIndex lon = gridIndexOfStep(lonStep);
            const GridIndex lat = gridIndexOfStep(latStep);
            const std::u16string six = locatorText(lon, lat);
            const std::u16string upper = six.substr(0, 4);
            const std::u16string lower = locatorText(lon, lat, u'a').substr(0, 4);

            const auto alone = checkLocators(lower, u"JN81GD");
            const auto both = checkLocators(upper, lower);
            const geometry::Point p = decodePoint(locatorCodes(alone.locator1));
            const geometry::Point q = decodePoint(locatorCodes(both.locator2));
            if (alone.InputError || !alone.ShortFlag1 || alone.ShortFlag2 || alone.locator1 != six
                || both.InputError || !both.ShortFlag1 || !both.ShortFlag2
                || both.locator1.substr(0, 6) != six || both.locator2.substr(0, 6) != six
                || p.lon != centreEastLonDeg(lon) || p.lat != centreLatDeg(lat) || q.lon != p.lon
                || q.lat != p.lat)
                failures.add("%ls is not taken at %ls", upper.c_str(), six.c_str());
        }
    }
    QCOMPARE(failures.reported(), 0);
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
    const auto isCorner = [](int step) {
        return step % subsquareCount == 0 || step % subsquareCount == subsquareCount - 1;
    };

    Failures failures;
    const auto expectRejected = [&](const std::u16string &good) {
        for (std::size_t position = 0; position < good.size(); ++position) {
            for (const char16_t c : outside[position]) {
                std::u16string bad = good;
                bad[position] = c;
                if (!checkLocators(bad, good).InputError || !checkLocators(good, bad).InputError)
                    failures.add("%ls accepted", bad.c_str());
            }
        }
    };
    for (int lonStep = 0; lonStep < gridSteps; ++lonStep) {
        for (int latStep = 0; latStep < gridSteps; ++latStep) {
            if (!isCorner(lonStep) || !isCorner(latStep))
                continue;
            const std::u16string valid =
                locatorText(gridIndexOfStep(lonStep), gridIndexOfStep(latStep));
            if (lonStep % subsquareCount == 0 && latStep % subsquareCount == 0)
                expectRejected(valid.substr(0, 4));
            expectRejected(valid);
        }
    }
    QCOMPARE(failures.reported(), 0);
}

QTEST_APPLESS_MAIN(TestExhaustive)
#include "tst_exhaustive.moc"
