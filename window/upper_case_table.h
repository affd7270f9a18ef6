// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The capitals of all characters that have one of the same length, from
// Qt's Unicode tables (upper_case_table.cpp is generated, see
// tools/make_upper_case_table.cpp).

#include <cstdint>
#include <span>

namespace window {

// The characters first, first + stride, ... up to last have their capitals
// `delta` code points away.
struct CapitalRun
{
    char32_t first;
    char32_t last;
    std::int32_t delta;
    std::int32_t stride;
};

// Ordered by first character; runs do not overlap.
extern const std::span<const CapitalRun> capitalRuns;

} // namespace window
