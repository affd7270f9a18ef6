// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The locator geometry in one include: checking and completing the two
// locator texts, decoding them into degrees and solving the great circle
// between them. Standard library only.

#include "great_circle.h"
#include "locator_check.h"
#include "locator_decode.h"
