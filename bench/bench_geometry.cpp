// SPDX-License-Identifier: GPL-3.0-or-later
// The locator geometry from two texts to bearing and distance, per pair, over
// a fixed set of random valid pairs, beside three yardsticks: the same
// arithmetic with nothing around it, the least arithmetic any spherical
// solution needs, and Hamlib's locator functions.

#include "bench_table.h"
#include "geometry/geometry.h"

#include <benchmark/benchmark.h>

#ifdef ROTAVEL_BENCH_HAMLIB
#include <hamlib/rig.h>
#include <hamlib/rotator.h>
#endif

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t pairCount = 1'000'000;
constexpr std::uint32_t pairSeed = 20240601;

struct PairSet
{
    std::vector<std::u16string> locator1;
    std::vector<std::u16string> locator2;
    // The same texts as 8-bit strings, for Hamlib.
    std::vector<std::string> latin1Locator1;
    std::vector<std::string> latin1Locator2;
};

// A well-formed locator: two out of three have six characters, one in three
// is typed in small letters.
std::u16string randomLocator(std::mt19937 &random)
{
    auto below = [&random](unsigned n) { return static_cast<char16_t>(random() % n); };
    std::u16string text;
    text += static_cast<char16_t>(u'A' + below(18));
    text += static_cast<char16_t>(u'A' + below(18));
    text += static_cast<char16_t>(u'0' + below(10));
    text += static_cast<char16_t>(u'0' + below(10));
    if (below(3) != 0) {
        text += static_cast<char16_t>(u'A' + below(24));
        text += static_cast<char16_t>(u'A' + below(24));
    }
    if (below(3) == 0) {
        for (char16_t &c : text) {
            if (c >= u'A' && c <= u'Z')
                c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return text;
}

std::string latin1(const std::u16string &text)
{
    return std::string(text.begin(), text.end());
}

const PairSet &pairs()
{
    static const PairSet set = [] {
        PairSet s;
        std::mt19937 random(pairSeed);
        for (std::size_t i = 0; i < pairCount; ++i) {
            s.locator1.push_back(randomLocator(random));
            s.locator2.push_back(randomLocator(random));
            s.latin1Locator1.push_back(latin1(s.locator1.back()));
            s.latin1Locator2.push_back(latin1(s.locator2.back()));
        }
        return s;
    }();
    return set;
}

struct Answer
{
    double bearingDeg;
    double distanceKm;
};

// What the window does with the two texts, less the fields.
Answer geometryPipeline(std::u16string_view text1, std::u16string_view text2)
{
    const geometry::LocatorCheck check = geometry::checkLocators(text1, text2);
    const geometry::Point point1 = geometry::decodePoint(geometry::locatorCodes(check.locator1));
    const geometry::Point point2 = geometry::decodePoint(geometry::locatorCodes(check.locator2));
    const geometry::Solution solution =
        geometry::solveGreatCircle(-point1.lon, point1.lat, -point2.lon, point2.lat);
    return { check.InputError ? -1 : solution.bearing, solution.distance };
}

// The bare chain: the solution's own steps with nothing around them, in the
// same order and with the same operations, so the same bits for every valid
// pair, but no check of any step and the point decoded straight from the
// characters. What the pipeline costs beyond it is the price of its checks,
// its working strings and its code slots.
double bareSgn(double v)
{
    return (v > 0) - (v < 0);
}

struct PointDeg
{
    double latDeg;
    double eastLonDeg;
};

PointDeg bareDecode(std::u16string_view text)
{
    // Clearing this bit makes a small ASCII letter a capital; a square alone
    // is completed with subsquare L.
    constexpr int capitalMask = 0xDF;
    const bool six = text.size() >= 6;
    const double c1 = text[0] & capitalMask;
    const double c2 = text[1] & capitalMask;
    const double c3 = text[2];
    const double c4 = text[3];
    const double c5 = six ? text[4] & capitalMask : 'L';
    const double c6 = six ? text[5] & capitalMask : 'L';
    return { (((-90 + (c2 - 65) * 10) + c4) - 48) + (c6 - 64.5) / 24,
        ((-180 + (c1 - 65) * 20) + (c3 - 48) * 2) + (c5 - 64.5) / 12 };
}

Answer bareSolve(double westLon1Deg, double lat1Deg, double westLon2Deg, double lat2Deg)
{
    using geometry::DegToRad;
    using geometry::PiApprox;
    if (lat1Deg == 0 && lat2Deg == 0)
        lat1Deg = lat1Deg + 0.00001;
    const double L1 = -(westLon1Deg - (bareSgn(westLon1Deg - 0.0001) + 1) * 180) * DegToRad;
    const double L2 = -(westLon2Deg - (bareSgn(westLon2Deg - 0.0001) + 1) * 180) * DegToRad;
    const double phi1 = lat1Deg * DegToRad;
    const double phi2 = lat2Deg * DegToRad;
    double deltaL = (L1 - L2) + 0.0001;
    deltaL = PiApprox * (1 - bareSgn(deltaL)) + deltaL;
    const double u =
        std::sin(phi1) * std::sin(phi2) + (std::cos(phi1) * std::cos(phi2)) * std::cos(deltaL);
    const double d = std::atan(std::sqrt(1 - u * u) / u) + PiApprox / 2 * (1 - bareSgn(u));
    double a = ((std::sin(phi2) - u * std::sin(phi1)) / std::sin(d)) / std::cos(phi1);
    if (a < -0.9999999)
        a = PiApprox;
    else
        a = std::atan(std::sqrt(1 - a * a) / a) + PiApprox / 2 * (1 - bareSgn(a));
    a = a * bareSgn(deltaL - PiApprox) * bareSgn(PiApprox - d);
    a = PiApprox * (1 - bareSgn(a)) + a;
    return { std::floor(a / DegToRad + 0.5), std::floor(6356.775 * d + 0.5) };
}

Answer bareChain(std::u16string_view text1, std::u16string_view text2)
{
    const PointDeg p1 = bareDecode(text1);
    const PointDeg p2 = bareDecode(text2);
    return bareSolve(-p1.eastLonDeg, p1.latDeg, -p2.eastLonDeg, p2.latDeg);
}

// The floor: no checks, the subsquare centre straight from the characters in
// whole units (1/24 degree of longitude, 1/48 of latitude), one law-of-cosines
// solution for the distance and the usual atan2 form for the bearing.
constexpr double piRad = 3.14159265358979323846;
constexpr double floorRadiusKm = 6356.775;

struct PointRad
{
    double latRad;
    double lonRad;
};

PointRad floorDecode(std::u16string_view text)
{
    // Clearing this bit makes a small ASCII letter a capital.
    constexpr int capitalMask = 0xDF;
    constexpr int centreSubsquare = 'L' - 'A';
    const bool six = text.size() >= 6;
    const int lonSubsquare = six ? (text[4] & capitalMask) - 'A' : centreSubsquare;
    const int latSubsquare = six ? (text[5] & capitalMask) - 'A' : centreSubsquare;
    const int lonUnits =
        ((text[0] & capitalMask) - 'A') * 480 + (text[2] - '0') * 48 + lonSubsquare * 2 + 1;
    const int latUnits =
        ((text[1] & capitalMask) - 'A') * 480 + (text[3] - '0') * 48 + latSubsquare * 2 + 1;
    return { latUnits * (piRad / 180 / 48) - piRad / 2, lonUnits * (piRad / 180 / 24) - piRad };
}

Answer floorSolve(PointRad p1, PointRad p2)
{
    const double sinLat1 = std::sin(p1.latRad);
    const double cosLat1 = std::cos(p1.latRad);
    const double sinLat2 = std::sin(p2.latRad);
    const double cosLat2 = std::cos(p2.latRad);
    const double eastRad = p2.lonRad - p1.lonRad;
    const double sinEast = std::sin(eastRad);
    const double cosEast = std::cos(eastRad);
    const double cosCentral = sinLat1 * sinLat2 + cosLat1 * cosLat2 * cosEast;
    const double centralRad = std::acos(std::clamp(cosCentral, -1.0, 1.0));
    double bearingDeg =
        std::atan2(sinEast * cosLat2, cosLat1 * sinLat2 - sinLat1 * cosLat2 * cosEast)
        * (180 / piRad);
    if (bearingDeg < 0)
        bearingDeg += 360;
    return { std::round(bearingDeg), std::round(floorRadiusKm * centralRad) };
}

Answer floorPipeline(std::u16string_view text1, std::u16string_view text2)
{
    return floorSolve(floorDecode(text1), floorDecode(text2));
}

#ifdef ROTAVEL_BENCH_HAMLIB
Answer hamlibPipeline(const std::string &text1, const std::string &text2)
{
    double lon1Deg = 0;
    double lat1Deg = 0;
    double lon2Deg = 0;
    double lat2Deg = 0;
    double distanceKm = 0;
    double bearingDeg = 0;
    if (locator2longlat(&lon1Deg, &lat1Deg, text1.c_str()) != RIG_OK
        || locator2longlat(&lon2Deg, &lat2Deg, text2.c_str()) != RIG_OK
        || qrb(lon1Deg, lat1Deg, lon2Deg, lat2Deg, &distanceKm, &bearingDeg) != RIG_OK)
        return { -1, -1 };
    return { bearingDeg, distanceKm };
}
#endif

// Every pair once per iteration; the answers are summed so that none can be
// left uncomputed.
template <typename Solve> void solveEveryPair(benchmark::State &state, Solve solve)
{
    const PairSet &set = pairs();
    for (auto _ : state) {
        double sum = 0;
        for (std::size_t i = 0; i < pairCount; ++i) {
            const Answer answer = solve(i, set);
            sum += answer.bearingDeg + answer.distanceKm;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["ns_per_pair"] = benchmark::Counter(static_cast<double>(pairCount),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_GeometryPipeline(benchmark::State &state)
{
    solveEveryPair(state, [](std::size_t i, const PairSet &set) {
        return geometryPipeline(set.locator1[i], set.locator2[i]);
    });
}

void BM_BareChain(benchmark::State &state)
{
    solveEveryPair(state, [](std::size_t i, const PairSet &set) {
        return bareChain(set.locator1[i], set.locator2[i]);
    });
}

void BM_Floor(benchmark::State &state)
{
    solveEveryPair(state, [](std::size_t i, const PairSet &set) {
        return floorPipeline(set.locator1[i], set.locator2[i]);
    });
}

#ifdef ROTAVEL_BENCH_HAMLIB
void BM_Hamlib(benchmark::State &state)
{
    rig_set_debug(RIG_DEBUG_NONE);
    solveEveryPair(state, [](std::size_t i, const PairSet &set) {
        return hamlibPipeline(set.latin1Locator1[i], set.latin1Locator2[i]);
    });
}
#endif

// Five runs of the whole set each; the table takes their median.
void fiveRuns(benchmark::internal::Benchmark *b)
{
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_GeometryPipeline)->Apply(fiveRuns);
BENCHMARK(BM_BareChain)->Apply(fiveRuns);
BENCHMARK(BM_Floor)->Apply(fiveRuns);
#ifdef ROTAVEL_BENCH_HAMLIB
BENCHMARK(BM_Hamlib)->Apply(fiveRuns);
#endif

bool sameBearing(double a, double b)
{
    const double apart = std::fabs(a - b);
    return std::min(apart, 360 - apart) <= 1;
}

// The bare chain stands for the pipeline's own arithmetic only if it gives
// the same bits for every pair of the set.
void checkBareChainIsTheSameArithmetic()
{
    const PairSet &set = pairs();
    std::size_t differing = 0;
    for (std::size_t i = 0; i < pairCount; ++i) {
        const Answer ours = geometryPipeline(set.locator1[i], set.locator2[i]);
        const Answer bare = bareChain(set.locator1[i], set.locator2[i]);
        if (std::bit_cast<std::uint64_t>(ours.bearingDeg)
                != std::bit_cast<std::uint64_t>(bare.bearingDeg)
            || std::bit_cast<std::uint64_t>(ours.distanceKm)
                != std::bit_cast<std::uint64_t>(bare.distanceKm))
            ++differing;
    }
    if (differing != 0) {
        std::fprintf(stderr, "the bare chain differs from the geometry on %zu of %zu pairs\n",
            differing, pairCount);
        std::exit(EXIT_FAILURE);
    }
}

// A yardstick that computes something else would make every ratio a lie:
// far pairs must agree to a degree and to half a percent of the distance
// (Hamlib's earth is 0.3 percent larger than ours).
void checkYardsticksAgree()
{
    const PairSet &set = pairs();
    std::size_t compared = 0;
    std::size_t disagreeing = 0;
    for (std::size_t i = 0; i < pairCount; i += 97) {
        const Answer ours = geometryPipeline(set.locator1[i], set.locator2[i]);
        if (ours.distanceKm < 200 || ours.distanceKm > 19000)
            continue;
        ++compared;
        const Answer floor = floorPipeline(set.locator1[i], set.locator2[i]);
        bool agree = sameBearing(ours.bearingDeg, floor.bearingDeg)
            && std::fabs(ours.distanceKm - floor.distanceKm) <= 1;
#ifdef ROTAVEL_BENCH_HAMLIB
        const Answer hamlib = hamlibPipeline(set.latin1Locator1[i], set.latin1Locator2[i]);
        agree = agree && sameBearing(ours.bearingDeg, hamlib.bearingDeg)
            && std::fabs(ours.distanceKm - hamlib.distanceKm) <= ours.distanceKm * 0.005;
#endif
        if (!agree)
            ++disagreeing;
    }
    if (compared == 0 || disagreeing * 100 > compared) {
        std::fprintf(stderr, "the yardsticks disagree with the geometry on %zu of %zu pairs\n",
            disagreeing, compared);
        std::exit(EXIT_FAILURE);
    }
}

} // namespace

int main(int argc, char **argv)
{
#ifdef ROTAVEL_BENCH_HAMLIB
    rig_set_debug(RIG_DEBUG_NONE);
#endif
    checkBareChainIsTheSameArithmetic();
    checkYardsticksAgree();
    const auto results = benchtable::runBenchmarks(argc, argv);

    using benchtable::fixed;
    using benchtable::printRow;
    const double pipelineNs = benchtable::medianNs(results, "BM_GeometryPipeline") / pairCount;
    const double floorNs = benchtable::medianNs(results, "BM_Floor") / pairCount;
    const double bareNs = benchtable::medianNs(results, "BM_BareChain") / pairCount;
    const double overFloor = pipelineNs / floorNs;
    const double overBare = pipelineNs / bareNs;
    printRow("geometry pipeline, per pair", fixed(pipelineNs, 1, " ns"),
        "floor " + fixed(floorNs, 1, " ns"), fixed(overFloor, 2, "x the floor"), "<= 1.5x",
        overFloor <= 1.5);
    printRow("geometry pipeline vs bare arithmetic chain", fixed(pipelineNs, 1, " ns"),
        "bare chain " + fixed(bareNs, 1, " ns") + " (" + fixed(bareNs / floorNs, 2, "x the floor)"),
        fixed(overBare, 2, "x the bare chain"), "<= 1.2x", overBare <= 1.2);
#ifdef ROTAVEL_BENCH_HAMLIB
    const double hamlibNs = benchtable::medianNs(results, "BM_Hamlib") / pairCount;
    const double faster = hamlibNs / pipelineNs;
    printRow("geometry pipeline vs Hamlib", fixed(pipelineNs, 1, " ns"),
        "Hamlib " + fixed(hamlibNs, 1, " ns"), fixed(faster, 1, "x faster"), ">= 5x faster",
        faster >= 5);
#else
    printRow("geometry pipeline vs Hamlib", fixed(pipelineNs, 1, " ns"), "Hamlib not installed",
        "-", ">= 5x faster", false);
#endif
    return 0;
}
