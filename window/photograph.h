// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The compass photograph that fills the window's left side, as every
// runtime draws it: its size, and which of its two renderings a screen gets.

namespace window {

// The photograph's size in pixels at 96 dpi; on a denser screen it keeps this
// size in the window's units, drawn with more pixels.
inline constexpr int photographWidth = 208;
inline constexpr int photographHeight = 415;

// True when a screen whose pixels are `devicePixelRatio` times as dense as
// 96 dpi (1 for 96 dpi, 2 for 192 dpi) gets the photograph from its
// rendering at twice the density, false when it gets the photograph itself,
// pixel for pixel. Above a ratio of 1 the photograph would have to be
// enlarged, which blurs it; the dense rendering scaled down to the screen's
// pixels (at 1.25 or 1.5) keeps its detail. A ratio that is not a number
// counts as an ordinary screen.
bool usesDoubleDensity(double devicePixelRatio);

} // namespace window
