// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Replaying the plain C++ tables (geometry_cases.h, behaviour_cases.h) under
// QtTest.

#include <QtTest>

#include <bit>
#include <cstdint>
#include <iterator>
#include <string_view>

// One data row per case, named after it, holding its index ("row").
template <typename Table> void addRows(const Table &table)
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < std::size(table); ++i)
        QTest::newRow(table[i].name) << int(i);
}

// A table's text, unit for unit: QString::fromStdU16String would take a
// leading U+FEFF or U+FFFE for a byte-order mark.
inline QString qtText(std::u16string_view text)
{
    return QStringView(text.data(), qsizetype(text.size())).toString();
}

inline bool sameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// What differs, both values in full.
inline QByteArray notSame(const char *actualText, double actual, double expected)
{
    return QString::asprintf("%s is %.17g, expected %.17g", actualText, actual, expected).toUtf8();
}

// QCOMPARE on doubles forgives a difference in the last bits (it uses
// qFuzzyCompare). Exact values are compared bit for bit instead, the sign of
// zero included.
#define COMPARE_EXACT(actual, expected)                                                            \
    QVERIFY2(sameBits((actual), (expected)), notSame(#actual, (actual), (expected)).constData())
