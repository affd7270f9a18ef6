// SPDX-License-Identifier: GPL-3.0-or-later
#include "photograph.h"

namespace window {

bool usesDoubleDensity(double devicePixelRatio)
{
    // A NaN compares false: the photograph itself.
    return devicePixelRatio > 1.0;
}

} // namespace window
