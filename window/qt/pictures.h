// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window's two images as Qt loads them from the program's resources.

#include <QIcon>
#include <QPixmap>

namespace window::qt {

// The compass photograph for a screen of the given device pixel ratio: the 208 x 415 picture on
// ordinary screens, its rendering at twice the density on denser ones (the rule of
// window/photograph.h). Either way it covers 208 x 415 of the window's pixels.
QPixmap compassPicture(qreal devicePixelRatio);

// The window icon in every raster size there is: the two 24 x 24 images of the icon file (256
// colours, then 32-bit), then 48, 64, 128 and 256 pixels, so that title bars, task switchers and
// docks at any density pick a sharp one instead of enlarging the smallest.
QIcon form2Icon();

} // namespace window::qt
