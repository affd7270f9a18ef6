// SPDX-License-Identifier: GPL-3.0-or-later
// make_pictures: paints the artwork that ships with Rotavel.
//
//   compass.bmp         the "photograph" of a brass compass lying on an old map, shown beside the
//                       locator fields (24-bit uncompressed BMP)
//   compass@2x.png      the same photograph rendered at twice the density (416 x 830), for
//                       screens with two device pixels to each of the window's pixels
//   rotavel.ico         the window icon, 24 x 24 in 256 colours and in 32-bit ARGB
//   rotavel-windows.ico the Windows program file's icon: the two 24 x 24 images of rotavel.ico
//                       first, then 32, 48, 64 and 128 pixels in 32-bit ARGB and 256 as PNG
//   rotavel-setup.ico   the Windows setup's and uninstaller's icon: 16, 24, 32 and 48 pixels in
//                       32-bit ARGB and 256 as PNG
//   rotavel-<n>.png     the same icon for desktop launchers (24, 48, 64, 128 and 256 pixels)
//   rotavel.svg         the icon as scalable vector graphics, same geometry
//   rotavel.icns        the same icon for a macOS application bundle (PNG renderings from 16 to
//                       256 pixels), written to MAC_ICON_DIR when that is given
//
// Everything is drawn from vector shapes and from noise seeded with constants, so two runs write
// byte-identical files.
//
// Usage: make_pictures OUTPUT_DIR [MAC_ICON_DIR]
//        (run with QT_QPA_PLATFORM=offscreen on a headless machine)

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QConicalGradient>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <numeric>
#include <random>
#include <tuple>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Small maths helpers
// ---------------------------------------------------------------------------------------------

constexpr double Pi = std::numbers::pi;

double radians(double degrees) { return degrees * Pi / 180.0; }

// Point at a compass bearing (degrees clockwise from north) from a centre, screen y pointing down.
QPointF polar(QPointF centre, double bearing, double radius)
{
    const double a = radians(bearing);
    return { centre.x() + radius * std::sin(a), centre.y() - radius * std::cos(a) };
}

double smoothstep(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

QColor mix(const QColor &a, const QColor &b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
        float(a.greenF() + (b.greenF() - a.greenF()) * t),
        float(a.blueF() + (b.blueF() - a.blueF()) * t),
        float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

QPainterPath disc(QPointF centre, double radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QPainterPath ring(QPointF centre, double outerRadius, double innerRadius)
{
    return disc(centre, outerRadius).subtracted(disc(centre, innerRadius));
}

// Deterministic per-pixel dither in [0, 1): film grain, paper fibres.
double grain(int x, int y, std::uint32_t salt)
{
    std::uint32_t h =
        std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u + salt * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h) / 4294967296.0;
}

// Smooth lattice noise with a fractal sum; seeded, so the map comes out the same every time.
// The generator's raw output is used directly because the standard distributions are allowed
// to differ between library implementations.
class ValueNoise
{
public:
    explicit ValueNoise(std::uint32_t seed)
    {
        std::mt19937 generator(seed);
        for (double &value : m_lattice)
            value = double(generator()) / 4294967296.0;
        std::iota(m_permutation.begin(), m_permutation.end(), 0);
        for (int i = 255; i > 0; --i)
            std::swap(m_permutation[i], m_permutation[generator() % std::uint32_t(i + 1)]);
    }

    double at(double x, double y) const
    {
        const double fx = std::floor(x);
        const double fy = std::floor(y);
        const int ix = int(fx);
        const int iy = int(fy);
        const double tx = smoothstep(0.0, 1.0, x - fx);
        const double ty = smoothstep(0.0, 1.0, y - fy);
        const double top = lattice(ix, iy) + (lattice(ix + 1, iy) - lattice(ix, iy)) * tx;
        const double bottom =
            lattice(ix, iy + 1) + (lattice(ix + 1, iy + 1) - lattice(ix, iy + 1)) * tx;
        return top + (bottom - top) * ty;
    }

    // Sum of octaves, normalised back to roughly 0..1.
    double fractal(double x, double y, int octaves) const
    {
        double sum = 0.0;
        double amplitude = 1.0;
        double total = 0.0;
        for (int octave = 0; octave < octaves; ++octave) {
            sum += amplitude * at(x, y);
            total += amplitude;
            x = x * 2.03 + 17.1;
            y = y * 2.03 - 9.7;
            amplitude *= 0.5;
        }
        return sum / total;
    }

private:
    double lattice(int x, int y) const
    {
        return m_lattice[m_permutation[(m_permutation[x & 255] + y) & 255]];
    }

    std::array<double, 256> m_lattice {};
    std::array<int, 256> m_permutation {};
};

// Three box passes approximate a gaussian blur; used for soft shadows.
QImage blurred(const QImage &source, int radius)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = image.width();
    const int height = image.height();
    std::vector<std::array<int, 4>> line(std::size_t(std::max(width, height)));

    auto blurLine = [&](auto pixelAt, int length) {
        for (int i = 0; i < length; ++i) {
            const QRgb p = *pixelAt(i);
            line[std::size_t(i)] = { qAlpha(p), qRed(p), qGreen(p), qBlue(p) };
        }
        for (int i = 0; i < length; ++i) {
            std::array<int, 4> sum {};
            for (int k = -radius; k <= radius; ++k) {
                const int j = std::clamp(i + k, 0, length - 1);
                for (int c = 0; c < 4; ++c)
                    sum[std::size_t(c)] += line[std::size_t(j)][std::size_t(c)];
            }
            const int n = 2 * radius + 1;
            *pixelAt(i) = qRgba(sum[1] / n, sum[2] / n, sum[3] / n, sum[0] / n);
        }
    };

    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y) {
            auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            blurLine([row](int i) { return row + i; }, width);
        }
        for (int x = 0; x < width; ++x) {
            blurLine([&image, x](int i) { return reinterpret_cast<QRgb *>(image.scanLine(i)) + x; },
                height);
        }
    }
    return image;
}

// Serif face from whatever the system offers; the card of an old compass is printed in serifs.
QFont cardFont(double pixelSize, bool bold)
{
    QFont font(QStringLiteral("serif"));
    font.setStyleHint(QFont::Serif, QFont::PreferAntialias);
    font.setPixelSize(int(std::lround(pixelSize)));
    font.setBold(bold);
    return font;
}

// Glyph outline centred on the origin, so it can be placed and turned freely.
QPainterPath centredText(const QString &text, const QFont &font)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    return path.translated(-box.center());
}

// ---------------------------------------------------------------------------------------------
// The compass photograph
// ---------------------------------------------------------------------------------------------

namespace Photo {

    constexpr int Width = 208;
    constexpr int Height = 415;

    // The compass sits so close to the camera that only its northern half fits: the case is cut at
    // both sides and the pivot lies in the lowest quarter of the picture.
    constexpr QPointF Centre { 104.0, 318.0 };
    constexpr double CaseRadius = 214.0; // outer edge of the brass case, resting on the map
    constexpr double FaceRadius = 206.0; // flat top of the bezel begins
    constexpr double BezelInnerRadius = 198.5; // inward-facing chamfer begins
    constexpr double GlassRadius = 193.0; // the blackened ring that holds the glass
    constexpr double CardRadius = 182.0;
    constexpr double DegreeOuterRadius = 179.0;
    constexpr double DegreeInnerRadius = 151.0;
    constexpr double TickBaseRadius = 178.0; // ticks hang inward from the outer line
    constexpr double NumberRadius = 159.5;
    constexpr double LetterRadius = 129.0;
    constexpr double RoseRadius = 108.0; // tips of the cardinal points
    constexpr double NeedleLength = 117.0;
    constexpr double NeedleHalfWidth = 7.0;
    constexpr double PivotRadius = 10.0;

    // Light comes from the upper left, as from a window behind the photographer's shoulder.
    constexpr double LightAngle = 120.0; // counter-clockwise from 3 o'clock, as on screen
    constexpr QPointF ShadowOffset { 6.0, 9.0 };

    // The map lies slightly askew under the compass.
    constexpr double MapTilt = -8.0;
    constexpr double MapFeatureSize = 62.0;
    constexpr double SeaLevel = 0.50;
    constexpr std::uint32_t MapSeed = 1852; // the nautical mile, for luck
    constexpr int CountryCount = 5;

    const QColor Parchment(233, 216, 176);
    const QColor ParchmentDark(186, 150, 98);
    const QColor SeaWash(150, 178, 168);
    const QColor CoastInk(92, 62, 36);
    const QColor GridInk(120, 82, 48);
    const std::array<QColor, CountryCount> CountryWashes = { QColor(206, 142, 128),
        QColor(178, 186, 118), QColor(222, 178, 92), QColor(170, 150, 176), QColor(196, 168, 118) };

    const QColor CardCream(243, 234, 208);
    const QColor CardEdge(222, 205, 164);
    const QColor PrintInk(28, 24, 20);

    // The photograph is laid out in its own pixels (Width x Height) and rendered at a whole
    // number of device pixels to each: 1 for the picture itself, 2 for screens of twice the
    // density. The canvas and every layer carry that number as their device pixel ratio, so the
    // painter draws shapes in picture pixels, while the per-pixel passes work in device pixels and
    // map them back. Fine texture (paper fibres, film grain) is taken per device pixel, so the
    // denser rendering is sharper, not a blow-up.
    int scaleOf(const QPaintDevice &device) { return int(device.devicePixelRatio()); }

    // A transparent layer the size of the picture, at the device's scale.
    QImage layer(int scale)
    {
        QImage image(Width * scale, Height * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        return image;
    }

    // Position on the map sheet for a picture pixel (the sheet is rotated by MapTilt).
    QPointF toMap(double x, double y)
    {
        const double a = radians(MapTilt);
        return { x * std::cos(a) + y * std::sin(a), -x * std::sin(a) + y * std::cos(a) };
    }

    // Washes, coastline and sea ripples are computed per pixel; the grid and the rhumb lines are
    // drawn afterwards with the painter.
    void paintMapSheet(QImage &canvas)
    {
        const ValueNoise relief(MapSeed);
        const ValueNoise countries(MapSeed + 1);
        const ValueNoise stains(MapSeed + 2);

        auto height = [&](double mx, double my) {
            // A gentle tilt of the relief keeps open sea to the upper right and land to the left.
            return relief.fractal(mx / MapFeatureSize, my / MapFeatureSize, 5) - 0.0016 * mx
                + 0.0009 * my + 0.08;
        };
        auto country = [&](double mx, double my) {
            return countries.fractal(mx / 60.0 + 3.0, my / 60.0, 3) * CountryCount * 1.6;
        };

        const double scale = scaleOf(canvas);
        for (int y = 0; y < canvas.height(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(canvas.scanLine(y));
            for (int x = 0; x < canvas.width(); ++x) {
                const QPointF m = toMap(x / scale, y / scale);

                // Aged sheet: blotchy toning plus paper fibres.
                const double toning = stains.fractal(m.x() / 40.0, m.y() / 40.0, 4);
                QColor colour =
                    mix(Parchment, ParchmentDark, smoothstep(0.45, 0.85, toning) * 0.55);
                colour = mix(colour, ParchmentDark, 0.12 * grain(x / 2, y, 7));

                // Signed distance to the coastline in pixels, positive on land.
                const double h = height(m.x(), m.y());
                const double hx = height(m.x() + 1.0, m.y()) - h;
                const double hy = height(m.x(), m.y() + 1.0) - h;
                const double coast = (h - SeaLevel) / std::max(std::hypot(hx, hy), 1e-6);

                if (coast > 0.0) {
                    // Old maps wash each country's colour strongly along its border and let it
                    // fade towards the interior.
                    const double c = country(m.x(), m.y());
                    const double cx = country(m.x() + 1.0, m.y()) - c;
                    const double cy = country(m.x(), m.y() + 1.0) - c;
                    const double slope = std::max(std::hypot(cx, cy), 1e-6);
                    const int index = int(std::floor(c)) % CountryCount;
                    const double toBorder =
                        std::min(c - std::floor(c), std::ceil(c) - c) / slope; // pixels
                    const double nearest = std::min(toBorder, coast);
                    const double wash = 0.22 + 0.38 * (1.0 - smoothstep(0.0, 7.0, nearest));
                    colour = mix(colour, CountryWashes[std::size_t(index)], wash);
                    // A fine dotted frontier.
                    if (toBorder < 0.6 && coast > 2.0 && (x + y) % 3 != 0)
                        colour = mix(colour, CoastInk, 0.45 * (1.0 - toBorder / 0.6));
                } else {
                    // Shallow water tinted near the shore, with engraved ripple lines.
                    const double offshore = -coast;
                    colour = mix(colour, SeaWash, 0.30 * std::exp(-offshore / 14.0) + 0.08);
                    for (double rippleAt : { 3.5, 7.0, 11.0 }) {
                        const double strength = 0.28 * (1.0 - rippleAt / 14.0);
                        colour = mix(colour, CoastInk,
                            strength * (1.0 - smoothstep(0.0, 0.7, std::abs(offshore - rippleAt))));
                    }
                }

                // The inked coastline itself, a little heavier than the ripples.
                colour =
                    mix(colour, CoastInk, 0.85 * (1.0 - smoothstep(0.35, 1.15, std::abs(coast))));
                row[x] = colour.rgb();
            }
        }
    }

    void paintMapLines(QPainter &painter)
    {
        painter.save();
        painter.rotate(MapTilt);

        // Graticule: every ten degrees, in brown ink, with the usual double line at the frame.
        painter.setPen(QPen(withAlpha(GridInk, 120), 0.8));
        for (double x = -40.0; x < 300.0; x += 54.0)
            painter.drawLine(QPointF(x, -80.0), QPointF(x, 500.0));
        for (double y = 30.0; y < 500.0; y += 54.0)
            painter.drawLine(QPointF(-80.0, y), QPointF(320.0, y));

        // Rhumb lines radiating from a wind rose somewhere off the picture, as on a portolan chart.
        const QPointF roseOrigin(-70.0, 150.0);
        for (int wind = 0; wind < 32; ++wind) {
            const QColor ink = (wind % 4 == 0) ? QColor(150, 60, 40) : QColor(70, 110, 80);
            painter.setPen(QPen(withAlpha(ink, wind % 2 == 0 ? 80 : 45), 0.7));
            painter.drawLine(roseOrigin, polar(roseOrigin, wind * 11.25, 700.0));
        }
        painter.restore();

        // A fold in the sheet: a faint dark crease with a highlight beside it.
        QLinearGradient fold(QPointF(150.0, 0.0), QPointF(162.0, 0.0));
        fold.setColorAt(0.0, QColor(0, 0, 0, 0));
        fold.setColorAt(0.45, QColor(60, 40, 20, 42));
        fold.setColorAt(0.55, QColor(255, 250, 235, 50));
        fold.setColorAt(1.0, QColor(255, 255, 255, 0));
        painter.save();
        painter.translate(155.0, 0.0);
        painter.rotate(7.0);
        painter.translate(-155.0, 0.0);
        painter.fillRect(QRectF(150.0, -20.0, 12.0, 460.0), fold);
        painter.restore();
    }

    // Soft shadow of the whole case on the map, blurred like a real one.
    void paintCaseShadow(QPainter &painter)
    {
        const int scale = scaleOf(*painter.device());
        QImage shadow = layer(scale);
        {
            QPainter shadowPainter(&shadow);
            shadowPainter.setRenderHint(QPainter::Antialiasing);
            shadowPainter.setPen(Qt::NoPen);
            shadowPainter.setBrush(QColor(40, 25, 10, 170));
            shadowPainter.drawEllipse(Centre + ShadowOffset, CaseRadius + 2.0, CaseRadius + 2.0);
        }
        painter.drawImage(0, 0, blurred(shadow, 5 * scale));

        // Contact shadow where the case touches the paper.
        painter.setPen(QPen(QColor(30, 18, 6, 120), 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(Centre, CaseRadius + 0.5, CaseRadius + 0.5);
    }

    // Polished brass seen around a ring: bright towards the light, dark opposite, with a sharp
    // mirror-bright streak and the faint four-fold sheen a lathe leaves on spun metal.
    QColor brassTone(double angle, double lightAngle, double contrast)
    {
        const double facing = std::cos(radians(angle - lightAngle));
        const double highlight = std::pow(std::max(0.0, facing), 18.0);
        const double sheen = 0.06 * std::cos(radians(4.0 * angle + 20.0));
        const double level =
            std::clamp(0.5 + 0.34 * contrast * facing + 0.3 * highlight + sheen, 0.0, 1.0);

        static const std::array<QColor, 5> ramp = { QColor(66, 40, 8), QColor(140, 96, 28),
            QColor(204, 156, 58), QColor(240, 204, 108), QColor(255, 240, 176) };
        const double scaled = level * double(ramp.size() - 1);
        const std::size_t lower = std::min(std::size_t(scaled), ramp.size() - 2);
        return mix(ramp[lower], ramp[lower + 1], scaled - double(lower));
    }

    QConicalGradient brassGradient(double lightAngle, double contrast)
    {
        QConicalGradient gradient(Centre, 0.0);
        constexpr int Steps = 120;
        for (int i = 0; i <= Steps; ++i) {
            const double angle = 360.0 * i / Steps;
            gradient.setColorAt(double(i) / Steps, brassTone(angle, lightAngle, contrast));
        }
        return gradient;
    }

    // Rounds a flat-shaded ring into a profile by darkening towards one edge.
    void shadeRingProfile(
        QPainter &painter, double outer, double inner, double innerAlpha, double outerAlpha)
    {
        QRadialGradient profile(Centre, outer);
        profile.setColorAt(inner / outer, QColor(20, 10, 0, int(innerAlpha * 255)));
        profile.setColorAt((inner + outer) / (2.0 * outer), QColor(20, 10, 0, 0));
        profile.setColorAt(1.0, QColor(20, 10, 0, int(outerAlpha * 255)));
        painter.fillPath(ring(Centre, outer, inner), profile);
    }

    void paintBrassCase(QPainter &painter)
    {
        // Rounded outer wall of the case.
        painter.fillPath(ring(Centre, CaseRadius, FaceRadius), brassGradient(LightAngle, 1.0));
        shadeRingProfile(painter, CaseRadius, FaceRadius, 0.0, 0.55);

        // Flat top of the bezel, less directional, with fine turning marks.
        painter.fillPath(
            ring(Centre, FaceRadius, BezelInnerRadius), brassGradient(LightAngle, 0.55));
        std::mt19937 turning(MapSeed + 10);
        painter.setBrush(Qt::NoBrush);
        for (double r = BezelInnerRadius + 0.4; r < CaseRadius; r += 0.6) {
            const bool bright = turning() % 2 == 0;
            const int alpha = 10 + int(turning() % 22);
            painter.setPen(
                QPen(bright ? QColor(255, 240, 200, alpha) : QColor(60, 40, 10, alpha), 0.5));
            painter.drawEllipse(Centre, r, r);
        }

        // The chamfer faces inward, so it catches the light on the far (lower right) side.
        painter.fillPath(
            ring(Centre, BezelInnerRadius, GlassRadius), brassGradient(LightAngle + 180.0, 1.0));
        shadeRingProfile(painter, BezelInnerRadius, GlassRadius, 0.35, 0.0);

        // Crisp edge lines between the facets.
        painter.setPen(QPen(QColor(255, 244, 210, 110), 0.8));
        painter.drawEllipse(Centre, FaceRadius, FaceRadius);
        painter.setPen(QPen(QColor(70, 45, 10, 140), 0.8));
        painter.drawEllipse(Centre, BezelInnerRadius, BezelInnerRadius);

        // Bright glints where the curved wall and the flat face mirror the window.
        for (const auto &[radius, width, peak] : { std::tuple { CaseRadius - 3.5, 2.6, 240 },
                 std::tuple { FaceRadius - 3.0, 1.6, 190 } }) {
            QConicalGradient glint(Centre, 0.0);
            constexpr double GlintBearing = -24.0;
            constexpr double GlintSpread = 18.0;
            const double screenAngle = 90.0 - GlintBearing; // bearing to Qt's angle
            for (double offset :
                { -GlintSpread, -GlintSpread / 3.0, 0.0, GlintSpread / 3.0, GlintSpread }) {
                const double strength =
                    offset == 0.0 ? 1.0 : (std::abs(offset) < GlintSpread ? 0.6 : 0.0);
                glint.setColorAt(
                    (screenAngle + offset) / 360.0, QColor(255, 252, 236, int(peak * strength)));
            }
            glint.setColorAt(0.0, QColor(255, 252, 236, 0));
            glint.setColorAt(1.0, QColor(255, 252, 236, 0));
            painter.setPen(QPen(QBrush(glint), width));
            painter.drawEllipse(Centre, radius, radius);
        }

        // Tarnish: darker, slightly green patches where hands have not polished the metal.
        const ValueNoise tarnish(MapSeed + 11);
        const double scale = scaleOf(*painter.device());
        QImage spots = layer(int(scale));
        for (int y = 0; y < spots.height(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(spots.scanLine(y));
            for (int x = 0; x < spots.width(); ++x) {
                const double n = tarnish.fractal(x / scale / 14.0, y / scale / 14.0, 4);
                const int alpha = int(55.0 * smoothstep(0.6, 0.85, n));
                row[x] = qPremultiply(qRgba(60, 56, 28, alpha));
            }
        }
        painter.save();
        painter.setClipPath(ring(Centre, CaseRadius, GlassRadius));
        painter.drawImage(0, 0, spots);
        painter.restore();
    }

    // Blackened ring that holds the glass and hides the edge of the card.
    void paintGlassRing(QPainter &painter)
    {
        QConicalGradient dark(Centre, 0.0);
        for (int i = 0; i <= 36; ++i) {
            const double facing = std::cos(radians(10.0 * i - LightAngle));
            dark.setColorAt(
                i / 36.0, mix(QColor(16, 13, 10), QColor(62, 52, 40), 0.5 + 0.5 * facing));
        }
        painter.fillPath(ring(Centre, GlassRadius, CardRadius), dark);
        shadeRingProfile(painter, GlassRadius, CardRadius, 0.0, 0.5);
        painter.setPen(QPen(QColor(120, 100, 70, 90), 0.7));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(Centre, CardRadius + 0.6, CardRadius + 0.6);
    }

    void paintCard(QPainter &painter)
    {
        QRadialGradient paper(Centre, CardRadius);
        paper.setColorAt(0.0, CardCream);
        paper.setColorAt(0.75, CardCream);
        paper.setColorAt(1.0, CardEdge);
        painter.fillPath(disc(Centre, CardRadius), paper);

        // Foxing and toning of an old printed card.
        const ValueNoise age(MapSeed + 20);
        const double scale = scaleOf(*painter.device());
        QImage toning = layer(int(scale));
        for (int y = 0; y < toning.height(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(toning.scanLine(y));
            for (int x = 0; x < toning.width(); ++x) {
                const double n = age.fractal(x / scale / 22.0, y / scale / 22.0, 4);
                const int alpha =
                    int(255.0 * (0.16 * smoothstep(0.5, 0.85, n) + 0.03 * grain(x, y, 22)));
                row[x] = qPremultiply(qRgba(150, 110, 60, std::min(alpha, 255)));
            }
        }
        painter.save();
        painter.setClipPath(disc(Centre, CardRadius));
        painter.drawImage(0, 0, toning);

        // Foxing: small soft rust-brown spots scattered over the paper.
        std::mt19937 spots(MapSeed + 21);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < 14; ++i) {
            const QPointF at(double(spots() % Width), double(spots() % Height));
            const double radius = 0.8 + double(spots() % 20) / 10.0;
            QRadialGradient spot(at, radius);
            spot.setColorAt(0.0, QColor(150, 96, 50, 70 + int(spots() % 50)));
            spot.setColorAt(1.0, QColor(150, 96, 50, 0));
            painter.setBrush(spot);
            painter.drawEllipse(at, radius, radius);
        }
        painter.restore();
    }

    void paintDegreeRing(QPainter &painter)
    {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(PrintInk, 1.0));
        painter.drawEllipse(Centre, DegreeOuterRadius, DegreeOuterRadius);
        painter.setPen(QPen(PrintInk, 0.7));
        painter.drawEllipse(Centre, DegreeInnerRadius, DegreeInnerRadius);

        for (int degree = 0; degree < 360; ++degree) {
            double length = 3.5;
            double width = 0.45;
            if (degree % 10 == 0) {
                length = 11.0;
                width = 0.9;
            } else if (degree % 5 == 0) {
                length = 7.0;
                width = 0.7;
            }
            painter.setPen(QPen(PrintInk, width, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(polar(Centre, degree, TickBaseRadius),
                polar(Centre, degree, TickBaseRadius - length));
        }

        // Numbers every ten degrees, read from the centre outwards as on a real card.
        const QFont font = cardFont(9.0, false);
        for (int degree = 10; degree < 360; degree += 10) {
            if (degree % 90 == 0)
                continue; // the cardinal letters take these places
            painter.save();
            painter.translate(Centre);
            painter.rotate(degree);
            painter.translate(0.0, -NumberRadius);
            painter.fillPath(centredText(QString::number(degree), font), PrintInk);
            painter.restore();
        }
        // Cardinal points in the degree ring get a small filled triangle instead of a number.
        for (int degree = 0; degree < 360; degree += 90) {
            painter.save();
            painter.translate(Centre);
            painter.rotate(degree);
            QPainterPath marker;
            marker.moveTo(0.0, -NumberRadius - 5.0);
            marker.lineTo(3.5, -NumberRadius + 3.0);
            marker.lineTo(-3.5, -NumberRadius + 3.0);
            marker.closeSubpath();
            painter.fillPath(marker, degree == 0 ? QColor(150, 30, 24) : PrintInk);
            painter.restore();
        }
    }

    // One point of the rose: a slim kite from the centre, one half solid ink, the other a dark
    // hatch-grey, which gives the engraved rose its relief.
    void paintRosePoint(QPainter &painter, double bearing, double length, double halfWidth)
    {
        const QPointF tip = polar(Centre, bearing, length);
        QPainterPath left;
        left.moveTo(Centre);
        left.lineTo(tip);
        left.lineTo(polar(Centre, bearing - 90.0, halfWidth));
        left.closeSubpath();
        QPainterPath right;
        right.moveTo(Centre);
        right.lineTo(tip);
        right.lineTo(polar(Centre, bearing + 90.0, halfWidth));
        right.closeSubpath();

        painter.fillPath(left, PrintInk);
        painter.fillPath(right, QColor(92, 84, 74));
        painter.setPen(QPen(PrintInk, 0.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(left.united(right));
    }

    void paintRose(QPainter &painter)
    {
        painter.setPen(QPen(PrintInk, 0.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(Centre, RoseRadius * 0.62, RoseRadius * 0.62);
        painter.drawEllipse(Centre, RoseRadius * 0.60, RoseRadius * 0.60);

        for (int i = 0; i < 8; ++i)
            paintRosePoint(painter, 22.5 + 45.0 * i, RoseRadius * 0.52, 7.0);
        for (int i = 0; i < 4; ++i)
            paintRosePoint(painter, 45.0 + 90.0 * i, RoseRadius * 0.74, 11.0);
        for (int i = 0; i < 4; ++i)
            paintRosePoint(painter, 90.0 * i, RoseRadius, 15.0);
    }

    void paintCardinalLetters(QPainter &painter)
    {
        static const std::array<const char *, 8> names = { "N", "NE", "E", "SE", "S", "SW", "W",
            "NW" };
        for (std::size_t i = 0; i < names.size(); ++i) {
            const bool cardinal = i % 2 == 0;
            const double bearing = 45.0 * double(i);
            const QFont font = cardFont(cardinal ? 21.0 : 13.0, true);
            const double radius = cardinal ? LetterRadius : LetterRadius - 4.0;
            painter.save();
            painter.translate(Centre);
            painter.rotate(bearing);
            painter.translate(0.0, -radius);
            painter.fillPath(centredText(QString::fromLatin1(names[i]), font), PrintInk);
            painter.restore();
        }
    }

    QPainterPath needleOutline()
    {
        QPainterPath needle;
        needle.moveTo(0.0, -NeedleLength);
        needle.lineTo(NeedleHalfWidth, 0.0);
        needle.lineTo(0.0, NeedleLength);
        needle.lineTo(-NeedleHalfWidth, 0.0);
        needle.closeSubpath();
        return needle;
    }

    // Steel needle pointing north, with the red band that marks its north end.
    void paintNeedle(QPainter &painter)
    {
        // Shadow on the card: the needle floats a few millimetres above it.
        const int scale = scaleOf(*painter.device());
        QImage shadow = layer(scale);
        {
            QPainter shadowPainter(&shadow);
            shadowPainter.setRenderHint(QPainter::Antialiasing);
            shadowPainter.translate(Centre + QPointF(4.0, 6.0));
            shadowPainter.fillPath(needleOutline(), QColor(40, 25, 10, 120));
        }
        painter.save();
        painter.setClipPath(disc(Centre, CardRadius));
        painter.drawImage(0, 0, blurred(shadow, 2 * scale));
        painter.restore();

        painter.save();
        painter.translate(Centre);

        // A needle is a ridge: the left flank faces the light, the right flank is in shade.
        QPainterPath leftFlank;
        leftFlank.moveTo(0.0, -NeedleLength);
        leftFlank.lineTo(0.0, NeedleLength);
        leftFlank.lineTo(-NeedleHalfWidth, 0.0);
        leftFlank.closeSubpath();
        QPainterPath rightFlank;
        rightFlank.moveTo(0.0, -NeedleLength);
        rightFlank.lineTo(0.0, NeedleLength);
        rightFlank.lineTo(NeedleHalfWidth, 0.0);
        rightFlank.closeSubpath();

        QLinearGradient litSteel(QPointF(0.0, -NeedleLength), QPointF(0.0, NeedleLength));
        litSteel.setColorAt(0.0, QColor(214, 220, 226));
        litSteel.setColorAt(0.3, QColor(246, 248, 250));
        litSteel.setColorAt(0.55, QColor(170, 178, 186));
        litSteel.setColorAt(1.0, QColor(200, 206, 212));
        QLinearGradient shadedSteel(QPointF(0.0, -NeedleLength), QPointF(0.0, NeedleLength));
        shadedSteel.setColorAt(0.0, QColor(110, 118, 126));
        shadedSteel.setColorAt(0.35, QColor(138, 146, 154));
        shadedSteel.setColorAt(0.6, QColor(70, 76, 84));
        shadedSteel.setColorAt(1.0, QColor(100, 106, 114));
        painter.fillPath(leftFlank, litSteel);
        painter.fillPath(rightFlank, shadedSteel);

        // Red band a little below the north tip.
        QPainterPath band;
        band.addRect(QRectF(
            -NeedleHalfWidth, -0.84 * NeedleLength, 2.0 * NeedleHalfWidth, 0.22 * NeedleLength));
        painter.fillPath(band.intersected(leftFlank), QColor(222, 56, 40));
        painter.fillPath(band.intersected(rightFlank), QColor(170, 30, 22));

        painter.setPen(QPen(QColor(30, 32, 36, 200), 0.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(needleOutline());
        painter.setPen(QPen(QColor(255, 255, 255, 120), 0.5));
        painter.drawLine(QPointF(-0.4, -NeedleLength + 6.0), QPointF(-0.4, -8.0));
        painter.restore();
    }

    // Domed brass cap over the jewel bearing the needle turns on.
    void paintPivotCap(QPainter &painter)
    {
        painter.setPen(Qt::NoPen);
        QRadialGradient shadow(Centre + QPointF(2.0, 3.0), PivotRadius + 3.0);
        shadow.setColorAt(0.6, QColor(20, 10, 0, 110));
        shadow.setColorAt(1.0, QColor(20, 10, 0, 0));
        painter.setBrush(shadow);
        painter.drawEllipse(Centre + QPointF(2.0, 3.0), PivotRadius + 3.0, PivotRadius + 3.0);

        QRadialGradient dome(Centre, PivotRadius, Centre + QPointF(-3.5, -4.0));
        dome.setColorAt(0.0, QColor(255, 248, 220));
        dome.setColorAt(0.25, QColor(236, 200, 118));
        dome.setColorAt(0.7, QColor(160, 116, 44));
        dome.setColorAt(1.0, QColor(74, 50, 16));
        painter.setBrush(dome);
        painter.drawEllipse(Centre, PivotRadius, PivotRadius);

        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(50, 32, 8, 200), 0.8));
        painter.drawEllipse(Centre, PivotRadius, PivotRadius);
        // Reflected light from the card along the lower rim of the dome.
        painter.setPen(QPen(QColor(255, 236, 180, 110), 1.0));
        painter.drawArc(QRectF(Centre.x() - PivotRadius + 1.5, Centre.y() - PivotRadius + 1.5,
                            2.0 * PivotRadius - 3.0, 2.0 * PivotRadius - 3.0),
            200 * 16, 120 * 16);
    }

    // Reflections in the cover glass: a broad soft sheen from the window, a bright streak, and a
    // thin glint along the edge where the glass meets the bezel.
    void paintGlass(QPainter &painter)
    {
        const QPainterPath glass = disc(Centre, GlassRadius);

        // Over the blackened ring the sheen would only look grey, so it is kept to the card.
        const QPainterPath crescent =
            disc(Centre, CardRadius).subtracted(disc(Centre + QPointF(34.0, 46.0), GlassRadius));
        QLinearGradient sheen(polar(Centre, -45.0, GlassRadius), Centre);
        sheen.setColorAt(0.0, QColor(255, 255, 255, 70));
        sheen.setColorAt(0.5, QColor(255, 255, 255, 18));
        sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
        painter.fillPath(crescent, sheen);

        // Window reflection: a tilted soft band across the upper card.
        painter.save();
        painter.setClipPath(glass);
        painter.translate(Centre);
        painter.rotate(-32.0);
        QLinearGradient band(QPointF(-40.0, 0.0), QPointF(40.0, 0.0));
        band.setColorAt(0.0, QColor(255, 255, 255, 0));
        band.setColorAt(0.35, QColor(255, 255, 255, 22));
        band.setColorAt(0.5, QColor(255, 255, 255, 34));
        band.setColorAt(0.65, QColor(255, 255, 255, 22));
        band.setColorAt(1.0, QColor(255, 255, 255, 0));
        painter.fillRect(QRectF(-40.0, -GlassRadius, 80.0, GlassRadius * 0.8), band);
        painter.restore();

        // Bright glint on the glass near its upper-left edge.
        painter.save();
        painter.translate(polar(Centre, -38.0, GlassRadius - 16.0));
        painter.rotate(-38.0 + 90.0);
        QRadialGradient glint(QPointF(0.0, 0.0), 16.0);
        glint.setColorAt(0.0, QColor(255, 255, 255, 200));
        glint.setColorAt(1.0, QColor(255, 255, 255, 0));
        painter.scale(1.0, 0.3);
        painter.setPen(Qt::NoPen);
        painter.setBrush(glint);
        painter.drawEllipse(QPointF(0.0, 0.0), 16.0, 16.0);
        painter.restore();

        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(255, 255, 255, 70), 0.8));
        painter.drawArc(QRectF(Centre.x() - GlassRadius + 0.8, Centre.y() - GlassRadius + 0.8,
                            2.0 * GlassRadius - 1.6, 2.0 * GlassRadius - 1.6),
            60 * 16, 120 * 16);
    }

    // Camera look: light falling off towards the corners and a little film grain.
    void developPhoto(QImage &canvas)
    {
        const double scale = scaleOf(canvas);
        for (int y = 0; y < canvas.height(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(canvas.scanLine(y));
            for (int x = 0; x < canvas.width(); ++x) {
                const double dx = (x / scale - 70.0) / Width;
                const double dy = (y / scale - 160.0) / Height;
                const double falloff = 1.0 - 0.35 * std::min(1.0, (dx * dx + dy * dy) * 1.6);
                const double noise = (grain(x, y, 99) - 0.5) * 7.0;
                auto channel = [&](int value) {
                    return std::clamp(int(std::lround(value * falloff + noise)), 0, 255);
                };
                const QRgb p = row[x];
                row[x] = qRgb(channel(qRed(p)), channel(qGreen(p)), channel(qBlue(p)));
            }
        }
    }

    // The photograph at `scale` device pixels to each of its own.
    QImage render(int scale)
    {
        QImage canvas(Width * scale, Height * scale, QImage::Format_RGB32);
        canvas.setDevicePixelRatio(scale);
        paintMapSheet(canvas);

        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        paintMapLines(painter);
        paintCaseShadow(painter);
        paintBrassCase(painter);
        paintGlassRing(painter);
        paintCard(painter);
        paintDegreeRing(painter);
        paintRose(painter);
        paintCardinalLetters(painter);

        // The bezel's wall shades the rim of the card on the side the light comes from.
        QRadialGradient wallShadow(Centre + QPointF(6.0, 9.0), CardRadius + 8.0);
        wallShadow.setColorAt(0.86, QColor(40, 25, 10, 0));
        wallShadow.setColorAt(1.0, QColor(40, 25, 10, 150));
        painter.fillPath(disc(Centre, CardRadius), wallShadow);

        paintNeedle(painter);
        paintPivotCap(painter);
        paintGlass(painter);
        painter.end();

        developPhoto(canvas);
        return canvas;
    }

} // namespace Photo

// ---------------------------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------------------------

void appendLe16(QByteArray &out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

void appendLe32(QByteArray &out, std::int64_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((value >> shift) & 0xff));
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

// BITMAPINFOHEADER as used by both BMP files and icon images.
void appendInfoHeader(QByteArray &out, int width, int height, int bitCount, int imageSize,
    int coloursUsed, int pixelsPerMetre)
{
    appendLe32(out, 40);
    appendLe32(out, width);
    appendLe32(out, height);
    appendLe16(out, 1); // planes
    appendLe16(out, bitCount);
    appendLe32(out, 0); // BI_RGB, no compression
    appendLe32(out, imageSize);
    appendLe32(out, pixelsPerMetre);
    appendLe32(out, pixelsPerMetre);
    appendLe32(out, coloursUsed);
    appendLe32(out, 0); // all colours important
}

// Plain 24-bit BMP, written by hand so that the format is certain: bottom-up rows of BGR
// triples, each row padded to a multiple of four bytes.
QByteArray bmp24(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int stride = (image.width() * 3 + 3) & ~3;
    const int pixelBytes = stride * image.height();
    constexpr int HeadersSize = 14 + 40;
    constexpr int PixelsPerMetre = 2835; // 72 dpi

    QByteArray out;
    out.append("BM");
    appendLe32(out, HeadersSize + pixelBytes);
    appendLe32(out, 0); // reserved
    appendLe32(out, HeadersSize);
    appendInfoHeader(out, image.width(), image.height(), 24, pixelBytes, 0, PixelsPerMetre);
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const qsizetype rowStart = out.size();
        for (int x = 0; x < image.width(); ++x) {
            out.append(char(qBlue(row[x])));
            out.append(char(qGreen(row[x])));
            out.append(char(qRed(row[x])));
        }
        while (out.size() - rowStart < stride)
            out.append('\0');
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// The application icon
// ---------------------------------------------------------------------------------------------

// One set of coordinates, in a 24 x 24 box, feeds both the raster renderings and the SVG.
namespace Icon {

    constexpr double ViewBox = 24.0;
    constexpr QPointF Centre { 12.0, 12.0 };
    constexpr double OutlineRadius = 11.5; // thin darker edge so the icon holds on light panels
    constexpr double RimRadius = 10.5;
    constexpr double DialRadius = 8.5;
    constexpr double PinRadius = 1.4;

    // Cardinal marks as pixel-aligned bars, so they stay sharp at 24 pixels: x, y, width, height.
    constexpr std::array<std::array<double, 4>, 4> CardinalMarks = { {
        { 11.0, 4.0, 2.0, 3.0 }, // north
        { 17.0, 11.0, 3.0, 2.0 }, // east
        { 11.0, 17.0, 2.0, 3.0 }, // south
        { 4.0, 11.0, 3.0, 2.0 }, // west
    } };

    // The needle lies north-west to south-east; it is a slim diamond split at its waist.
    constexpr QPointF NeedleNorthTip { 6.0, 6.0 };
    constexpr QPointF NeedleSouthTip { 18.0, 18.0 };
    constexpr QPointF NeedleWaistA { 13.7, 10.3 };
    constexpr QPointF NeedleWaistB { 10.3, 13.7 };

    constexpr QRgb OutlineColour = 0xff3d78ad;
    constexpr QRgb RimColour = 0xff9ccbef;
    constexpr QRgb RimHighlight = 0xffcfe6f8;
    constexpr QRgb DialColour = 0xffdfe2e6;
    constexpr QRgb DialHighlight = 0xfff7f8f9;
    constexpr QRgb MarkColour = 0xff2b323b;
    constexpr QRgb NorthColour = 0xffd83a2e;
    constexpr QRgb SouthColour = 0xff2f62c4;
    constexpr QRgb PinColour = 0xff2b323b;
    constexpr QRgb PinHighlight = 0xff6a7480;
    constexpr double FacetOpacity = 0.22; // lit facet of each needle half, larger sizes only

    // From this size up the icon gets gentle gradients; below it flat colours read better.
    constexpr int DetailSize = 48;

    QPolygonF needleHalf(QPointF tip) { return QPolygonF({ tip, NeedleWaistA, NeedleWaistB }); }

    QImage renderIcon(int size)
    {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / ViewBox, size / ViewBox);
        painter.setPen(Qt::NoPen);
        const bool detailed = size >= DetailSize;

        painter.setBrush(QColor::fromRgb(OutlineColour));
        painter.drawEllipse(Centre, OutlineRadius, OutlineRadius);

        if (detailed) {
            QLinearGradient rim(
                QPointF(0.0, Centre.y() - RimRadius), QPointF(0.0, Centre.y() + RimRadius));
            rim.setColorAt(0.0, QColor::fromRgb(RimHighlight));
            rim.setColorAt(1.0, QColor::fromRgb(RimColour));
            painter.setBrush(rim);
        } else {
            painter.setBrush(QColor::fromRgb(RimColour));
        }
        painter.drawEllipse(Centre, RimRadius, RimRadius);

        if (detailed) {
            QRadialGradient dial(Centre, DialRadius, Centre - QPointF(2.5, 2.5));
            dial.setColorAt(0.0, QColor::fromRgb(DialHighlight));
            dial.setColorAt(1.0, QColor::fromRgb(DialColour));
            painter.setBrush(dial);
        } else {
            painter.setBrush(QColor::fromRgb(DialColour));
        }
        painter.drawEllipse(Centre, DialRadius, DialRadius);

        for (const auto &mark : CardinalMarks)
            painter.fillRect(
                QRectF(mark[0], mark[1], mark[2], mark[3]), QColor::fromRgb(MarkColour));

        painter.setBrush(QColor::fromRgb(NorthColour));
        painter.drawPolygon(needleHalf(NeedleNorthTip));
        painter.setBrush(QColor::fromRgb(SouthColour));
        painter.drawPolygon(needleHalf(NeedleSouthTip));

        if (detailed) {
            painter.setBrush(QColor(255, 255, 255, int(FacetOpacity * 255)));
            painter.drawPolygon(QPolygonF({ NeedleNorthTip, NeedleWaistA, Centre }));
            painter.drawPolygon(QPolygonF({ NeedleSouthTip, NeedleWaistA, Centre }));
            QRadialGradient pin(Centre, PinRadius, Centre - QPointF(0.5, 0.5));
            pin.setColorAt(0.0, QColor::fromRgb(PinHighlight));
            pin.setColorAt(1.0, QColor::fromRgb(PinColour));
            painter.setBrush(pin);
        } else {
            painter.setBrush(QColor::fromRgb(PinColour));
        }
        painter.drawEllipse(Centre, PinRadius, PinRadius);
        return image;
    }

    QString svgColour(QRgb colour)
    {
        return QStringLiteral("#%1").arg(colour & 0xffffff, 6, 16, QLatin1Char('0'));
    }

    QString svgNumber(double value) { return QString::number(value, 'g', 6); }

    QString svgPoint(QPointF point)
    {
        return svgNumber(point.x()) + QLatin1Char(',') + svgNumber(point.y());
    }

    QString svgCircle(double radius, const QString &fill)
    {
        return QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>\n")
            .arg(svgNumber(Centre.x()), svgNumber(Centre.y()), svgNumber(radius), fill);
    }

    // The scalable icon carries the gradients of the larger renderings.
    QByteArray svg()
    {
        QString text;
        text += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                               "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" "
                               "width=\"24\" height=\"24\" viewBox=\"0 0 24 24\">\n"
                               "  <title>Rotavel</title>\n"
                               "  <defs>\n");
        text += QStringLiteral("    <linearGradient id=\"rim\" gradientUnits=\"userSpaceOnUse\" "
                               "x1=\"0\" y1=\"%1\" x2=\"0\" y2=\"%2\">\n"
                               "      <stop offset=\"0\" stop-color=\"%3\"/>\n"
                               "      <stop offset=\"1\" stop-color=\"%4\"/>\n"
                               "    </linearGradient>\n")
                    .arg(svgNumber(Centre.y() - RimRadius), svgNumber(Centre.y() + RimRadius),
                        svgColour(RimHighlight), svgColour(RimColour));
        text += QStringLiteral("    <radialGradient id=\"dial\" gradientUnits=\"userSpaceOnUse\" "
                               "cx=\"%1\" cy=\"%2\" r=\"%3\" fx=\"%4\" fy=\"%5\">\n"
                               "      <stop offset=\"0\" stop-color=\"%6\"/>\n"
                               "      <stop offset=\"1\" stop-color=\"%7\"/>\n"
                               "    </radialGradient>\n")
                    .arg(svgNumber(Centre.x()), svgNumber(Centre.y()), svgNumber(DialRadius),
                        svgNumber(Centre.x() - 2.5), svgNumber(Centre.y() - 2.5),
                        svgColour(DialHighlight), svgColour(DialColour));
        text += QStringLiteral("    <radialGradient id=\"pin\" gradientUnits=\"userSpaceOnUse\" "
                               "cx=\"%1\" cy=\"%2\" r=\"%3\" fx=\"%4\" fy=\"%5\">\n"
                               "      <stop offset=\"0\" stop-color=\"%6\"/>\n"
                               "      <stop offset=\"1\" stop-color=\"%7\"/>\n"
                               "    </radialGradient>\n"
                               "  </defs>\n")
                    .arg(svgNumber(Centre.x()), svgNumber(Centre.y()), svgNumber(PinRadius),
                        svgNumber(Centre.x() - 0.5), svgNumber(Centre.y() - 0.5),
                        svgColour(PinHighlight), svgColour(PinColour));

        text += svgCircle(OutlineRadius, svgColour(OutlineColour));
        text += svgCircle(RimRadius, QStringLiteral("url(#rim)"));
        text += svgCircle(DialRadius, QStringLiteral("url(#dial)"));
        for (const auto &mark : CardinalMarks) {
            text += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" "
                                   "fill=\"%5\"/>\n")
                        .arg(svgNumber(mark[0]), svgNumber(mark[1]), svgNumber(mark[2]),
                            svgNumber(mark[3]), svgColour(MarkColour));
        }
        const auto polygon = [](QPointF a, QPointF b, QPointF c, const QString &fill) {
            return QStringLiteral("  <polygon points=\"%1 %2 %3\" %4/>\n")
                .arg(svgPoint(a), svgPoint(b), svgPoint(c), fill);
        };
        const auto solid = [](QRgb colour) {
            return QStringLiteral("fill=\"%1\"").arg(svgColour(colour));
        };
        const QString facet =
            QStringLiteral("fill=\"#ffffff\" fill-opacity=\"%1\"").arg(svgNumber(FacetOpacity));
        text += polygon(NeedleNorthTip, NeedleWaistA, NeedleWaistB, solid(NorthColour));
        text += polygon(NeedleSouthTip, NeedleWaistA, NeedleWaistB, solid(SouthColour));
        text += polygon(NeedleNorthTip, NeedleWaistA, Centre, facet);
        text += polygon(NeedleSouthTip, NeedleWaistA, Centre, facet);
        text += svgCircle(PinRadius, QStringLiteral("url(#pin)"));
        text += QStringLiteral("</svg>\n");
        return text.toUtf8();
    }

    // Median cut over the icon's own colours: split the box with the widest channel range at its
    // median until the palette is full. Ties are broken by the colour value so the result is
    // stable.
    std::vector<QRgb> medianCutPalette(std::vector<QRgb> colours, std::size_t maxColours)
    {
        std::sort(colours.begin(), colours.end());
        colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
        if (colours.size() <= maxColours)
            return colours;

        struct Box
        {
            std::vector<QRgb> colours;
            int channel = 0;
            int range = 0;
        };
        auto channelOf = [](QRgb c, int channel) {
            return channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c);
        };
        auto measure = [&](Box &box) {
            box.range = -1;
            for (int channel = 0; channel < 3; ++channel) {
                const auto [low, high] = std::minmax_element(box.colours.begin(), box.colours.end(),
                    [&](QRgb a, QRgb b) { return channelOf(a, channel) < channelOf(b, channel); });
                const int range = channelOf(*high, channel) - channelOf(*low, channel);
                if (range > box.range) {
                    box.range = range;
                    box.channel = channel;
                }
            }
        };

        std::vector<Box> boxes(1);
        boxes[0].colours = std::move(colours);
        measure(boxes[0]);
        while (boxes.size() < maxColours) {
            auto widest = std::max_element(boxes.begin(), boxes.end(),
                [](const Box &a, const Box &b) { return a.range < b.range; });
            if (widest->range <= 0 || widest->colours.size() < 2)
                break;
            const int channel = widest->channel;
            std::sort(widest->colours.begin(), widest->colours.end(), [&](QRgb a, QRgb b) {
                const int ca = channelOf(a, channel);
                const int cb = channelOf(b, channel);
                return ca != cb ? ca < cb : a < b;
            });
            const auto half = widest->colours.begin() + std::ptrdiff_t(widest->colours.size() / 2);
            Box upper;
            upper.colours.assign(half, widest->colours.end());
            widest->colours.erase(half, widest->colours.end());
            measure(*widest);
            measure(upper);
            boxes.push_back(std::move(upper));
        }

        std::vector<QRgb> palette;
        for (const Box &box : boxes) {
            int r = 0;
            int g = 0;
            int b = 0;
            for (QRgb c : box.colours) {
                r += qRed(c);
                g += qGreen(c);
                b += qBlue(c);
            }
            const int n = int(box.colours.size());
            palette.push_back(qRgb((r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n));
        }
        std::sort(palette.begin(), palette.end());
        return palette;
    }

    std::size_t nearestIndex(const std::vector<QRgb> &palette, QRgb colour, std::size_t first)
    {
        std::size_t best = first;
        int bestDistance = INT32_MAX;
        for (std::size_t i = first; i < palette.size(); ++i) {
            const int dr = qRed(palette[i]) - qRed(colour);
            const int dg = qGreen(palette[i]) - qGreen(colour);
            const int db = qBlue(palette[i]) - qBlue(colour);
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        return best;
    }

    constexpr int OpaqueAlpha = 128; // below this a pixel is transparent in the 1-bit mask

    // AND mask rows: one bit per pixel, set where the pixel is transparent, rows padded to 32 bits.
    void appendTransparencyMask(QByteArray &out, const QImage &image)
    {
        const int stride = ((image.width() + 31) / 32) * 4;
        for (int y = image.height() - 1; y >= 0; --y) {
            QByteArray row(stride, '\0');
            const auto *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(pixels[x]) < OpaqueAlpha)
                    row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
            }
            out.append(row);
        }
    }

    int maskSize(int width, int height) { return ((width + 31) / 32) * 4 * height; }

    // 32-bit icon image: straight (not premultiplied) BGRA rows, then the AND mask.
    QByteArray dib32(const QImage &source)
    {
        const QImage image = source.convertToFormat(QImage::Format_ARGB32);
        const int pixelBytes = image.width() * 4 * image.height();
        QByteArray out;
        appendInfoHeader(out, image.width(), image.height() * 2, 32,
            pixelBytes + maskSize(image.width(), image.height()), 0, 0);
        for (int y = image.height() - 1; y >= 0; --y) {
            const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                out.append(char(qBlue(row[x])));
                out.append(char(qGreen(row[x])));
                out.append(char(qRed(row[x])));
                out.append(char(qAlpha(row[x])));
            }
        }
        appendTransparencyMask(out, image);
        return out;
    }

    // 256-colour icon image. Entry 0 of the palette is black and is used under transparent pixels,
    // so the classic AND-then-XOR drawing leaves the background untouched there.
    QByteArray dib8(const QImage &source)
    {
        const QImage image = source.convertToFormat(QImage::Format_ARGB32);
        constexpr std::size_t PaletteSize = 256;

        std::vector<QRgb> opaque;
        for (int y = 0; y < image.height(); ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(row[x]) >= OpaqueAlpha)
                    opaque.push_back(row[x] | 0xff000000u);
            }
        }
        std::vector<QRgb> palette { qRgb(0, 0, 0) };
        for (QRgb colour : medianCutPalette(opaque, PaletteSize - 1))
            palette.push_back(colour);

        const int stride = (image.width() + 3) & ~3;
        const int pixelBytes = stride * image.height();
        QByteArray out;
        appendInfoHeader(out, image.width(), image.height() * 2, 8,
            pixelBytes + maskSize(image.width(), image.height()), int(PaletteSize), 0);
        for (std::size_t i = 0; i < PaletteSize; ++i) {
            const QRgb colour = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
            out.append(char(qBlue(colour)));
            out.append(char(qGreen(colour)));
            out.append(char(qRed(colour)));
            out.append('\0');
        }
        for (int y = image.height() - 1; y >= 0; --y) {
            const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            QByteArray indices(stride, '\0');
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(row[x]) >= OpaqueAlpha)
                    indices[x] = char(nearestIndex(palette, row[x], 1));
            }
            out.append(indices);
        }
        appendTransparencyMask(out, image);
        return out;
    }

    struct IconEntry
    {
        int size;
        int bitCount;
        int paletteColours; // 0 when there is no palette or it has 256 entries
        QByteArray dib;
    };

    // ICONDIR, one ICONDIRENTRY per image, then the images themselves.
    QByteArray ico(const std::vector<IconEntry> &entries)
    {
        constexpr int DirectorySize = 6;
        constexpr int EntrySize = 16;
        QByteArray out;
        appendLe16(out, 0); // reserved
        appendLe16(out, 1); // icon, not cursor
        appendLe16(out, int(entries.size()));
        int offset = DirectorySize + EntrySize * int(entries.size());
        for (const IconEntry &entry : entries) {
            out.append(char(entry.size >= 256 ? 0 : entry.size));
            out.append(char(entry.size >= 256 ? 0 : entry.size));
            out.append(char(entry.paletteColours));
            out.append('\0'); // reserved
            appendLe16(out, 1); // colour planes
            appendLe16(out, entry.bitCount);
            appendLe32(out, entry.dib.size());
            appendLe32(out, offset);
            offset += int(entry.dib.size());
        }
        for (const IconEntry &entry : entries)
            out.append(entry.dib);
        return out;
    }

    QByteArray png(const QImage &image)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

    void appendBe32(QByteArray &out, std::int64_t value)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.append(char((value >> shift) & 0xff));
    }

    // Apple icon image: the magic "icns" and the file length, then one chunk per image, each a
    // four-letter type, its own length (header included) and the PNG data. All lengths are
    // big-endian. Types from 'ic11' on are the same pixels for twice the density.
    QByteArray icns()
    {
        struct Chunk
        {
            const char *type;
            int size;
        };
        constexpr std::array<Chunk, 8> Chunks = { {
            { "icp4", 16 },
            { "icp5", 32 },
            { "icp6", 64 },
            { "ic07", 128 },
            { "ic08", 256 },
            { "ic11", 32 }, // 16 points at 2x
            { "ic12", 64 }, // 32 points at 2x
            { "ic13", 256 }, // 128 points at 2x
        } };
        constexpr int HeaderSize = 8;
        QByteArray body;
        for (const Chunk &chunk : Chunks) {
            const QByteArray data = png(renderIcon(chunk.size));
            body.append(chunk.type, 4);
            appendBe32(body, HeaderSize + data.size());
            body.append(data);
        }
        QByteArray out("icns");
        appendBe32(out, HeaderSize + body.size());
        out.append(body);
        return out;
    }

} // namespace Icon

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2 && arguments.size() != 3) {
        std::fprintf(stderr, "usage: make_pictures OUTPUT_DIR [MAC_ICON_DIR]\n");
        return 2;
    }
    const QDir output(arguments.at(1));
    const QDir macIconOutput(arguments.size() == 3 ? arguments.at(2) : arguments.at(1));
    for (const QDir &dir : { output, macIconOutput }) {
        if (!QDir().mkpath(dir.absolutePath())) {
            std::fprintf(stderr, "make_pictures: cannot create %s\n", qPrintable(dir.path()));
            return 1;
        }
    }

    bool ok = true;
    auto report = [&ok](bool written, const QString &path) {
        std::printf("%s %s\n", written ? "wrote" : "FAILED", qPrintable(path));
        ok = ok && written;
    };

    const QString compassPath = output.filePath(QStringLiteral("compass.bmp"));
    report(writeFile(compassPath, bmp24(Photo::render(1))), compassPath);
    const QString compass2xPath = output.filePath(QStringLiteral("compass@2x.png"));
    report(Photo::render(2).save(compass2xPath, "PNG"), compass2xPath);

    constexpr int IconSize = 24;
    const QImage icon = Icon::renderIcon(IconSize);
    const std::vector<Icon::IconEntry> windowIcons = { { IconSize, 8, 0, Icon::dib8(icon) },
        { IconSize, 32, 0, Icon::dib32(icon) } };
    const QString icoPath = output.filePath(QStringLiteral("rotavel.ico"));
    report(writeFile(icoPath, Icon::ico(windowIcons)), icoPath);

    // Windows shows a program file's icon from 16 to 256 pixels (Explorer's largest view),
    // scaling down from the nearest larger image. Images of 256 pixels are stored as PNG, as
    // Windows Vista introduced, to keep the file small.
    std::vector<Icon::IconEntry> programIcons = windowIcons;
    for (int size : { 32, 48, 64, 128 })
        programIcons.push_back({ size, 32, 0, Icon::dib32(Icon::renderIcon(size)) });
    programIcons.push_back({ 256, 32, 0, Icon::png(Icon::renderIcon(256)) });
    const QString programIcoPath = output.filePath(QStringLiteral("rotavel-windows.ico"));
    report(writeFile(programIcoPath, Icon::ico(programIcons)), programIcoPath);

    // The setup's and the uninstaller's icon: the sizes Windows shows a program file at, from
    // the Start menu and title bars (16) to Explorer's largest view (256).
    std::vector<Icon::IconEntry> setupIcons;
    for (int size : { 16, 24, 32, 48 })
        setupIcons.push_back({ size, 32, 0, Icon::dib32(Icon::renderIcon(size)) });
    setupIcons.push_back({ 256, 32, 0, Icon::png(Icon::renderIcon(256)) });
    const QString setupIcoPath = output.filePath(QStringLiteral("rotavel-setup.ico"));
    report(writeFile(setupIcoPath, Icon::ico(setupIcons)), setupIcoPath);

    // The hicolor theme's sizes; 24 pixels is the .ico's own rendering.
    for (int size : { IconSize, 48, 64, 128, 256 }) {
        const QString path = output.filePath(QStringLiteral("rotavel-%1.png").arg(size));
        report(Icon::renderIcon(size).save(path, "PNG"), path);
    }

    const QString svgPath = output.filePath(QStringLiteral("rotavel.svg"));
    report(writeFile(svgPath, Icon::svg()), svgPath);

    const QString icnsPath = macIconOutput.filePath(QStringLiteral("rotavel.icns"));
    report(writeFile(icnsPath, Icon::icns()), icnsPath);

    return ok ? 0 : 1;
}
