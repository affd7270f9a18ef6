// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a fuzz target does when an invariant does not hold: say which one and
// abort, so that libFuzzer keeps the input as a crash and a corpus replay
// fails. Not assert(): release builds define NDEBUG and would drop the check.

#include <cstdio>
#include <cstdlib>

namespace fuzzcheck {

inline void require(bool holds, const char *invariant)
{
    if (holds)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}

} // namespace fuzzcheck
