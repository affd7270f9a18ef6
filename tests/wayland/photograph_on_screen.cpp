// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a screenshot shows the compass photograph as the program's
// pictures hold it, pixel for pixel, for a screen of the given scale.
//
//     photograph_on_screen SCREENSHOT LEFT TOP SCALE ASSETS
//
// LEFT, TOP: the window's client area in the screenshot's pixels. The
// picture box's inner area starts 2 pixels (of the window's units) in and
// shows 181 x 415 of them. SCALE 1 compares with compass.bmp, 2 with
// compass@2x.jpg. Prints how many pixels differ; exits 0 when none does.

#include <QImage>
#include <QRect>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s SCREENSHOT LEFT TOP SCALE ASSETS\n", argv[0]);
        return 2;
    }
    const QImage screenshot =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    const int left = QByteArray(argv[2]).toInt();
    const int top = QByteArray(argv[3]).toInt();
    const int scale = QByteArray(argv[4]).toInt();
    const QString assets = QString::fromLocal8Bit(argv[5]);
    const QImage photograph = QImage(assets + (scale == 1 ? "/compass.bmp" : "/compass@2x.jpg"))
                                  .convertToFormat(QImage::Format_RGB32);
    if (screenshot.isNull() || photograph.isNull() || (scale != 1 && scale != 2)) {
        std::fprintf(stderr, "no screenshot, or no photograph for scale %d\n", scale);
        return 2;
    }
    const QRect inner(0, 0, 181 * scale, 415 * scale);
    const QRect shown = inner.translated(left + 2 * scale, top + 2 * scale);
    if (!screenshot.rect().contains(shown)) {
        std::fprintf(stderr, "the picture box lies outside the screenshot\n");
        return 1;
    }
    int differing = 0;
    for (int y = 0; y < inner.height(); ++y) {
        for (int x = 0; x < inner.width(); ++x)
            differing += screenshot.pixel(shown.x() + x, shown.y() + y) != photograph.pixel(x, y);
    }
    std::printf("%d of %d pixels differ from the photograph for scale %d\n", differing,
        inner.width() * inner.height(), scale);
    return differing == 0 ? 0 : 1;
}
