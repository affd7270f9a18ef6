// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures.h"

#include "window/photograph.h"

#include <QString>

namespace window::qt {

QPixmap compassPicture(qreal devicePixelRatio)
{
    if (!usesDoubleDensity(devicePixelRatio))
        return QPixmap(QStringLiteral(":/compass.bmp"));
    QPixmap picture(QStringLiteral(":/compass@2x.jpg"));
    picture.setDevicePixelRatio(2.0);
    return picture;
}

// A window hands its icon to the window manager as pixel images only (_NET_WM_ICON on X11, buffers
// on Wayland), so the scalable drawing is not among them: docks and launchers find it through the
// desktop entry, in the icon theme.
QIcon form2Icon()
{
    QIcon icon(QStringLiteral(":/rotavel.ico"));
    for (int size : { 48, 64, 128, 256 })
        icon.addFile(QStringLiteral(":/rotavel-%1.png").arg(size));
    return icon;
}

} // namespace window::qt
