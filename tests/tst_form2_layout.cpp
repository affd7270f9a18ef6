// SPDX-License-Identifier: GPL-3.0-or-later
#include "form2_test.h"
#include "layout_cases.h"
#include "window/qt/pictures.h"

#include <QtTest>

#include <QAccessible>
#include <QApplication>

class TestForm2Layout : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void captionAndClientArea();
    void controlsInTheirPlaces_data();
    void controlsInTheirPlaces();
    void resizingMovesNothing();
    void photographForScreenDensity_data();
    void photographForScreenDensity();
    void screenReadersNameEveryControl_data();
    void screenReadersNameEveryControl();

private:
    std::unique_ptr<Form2> m_form;
};

void TestForm2Layout::init()
{
    m_form = std::make_unique<Form2>();
    QVERIFY(opened(*m_form));
}

void TestForm2Layout::captionAndClientArea()
{
    QCOMPARE(m_form->windowTitle(), "Rotavel 1.1 - Quillo");
    // A display name of the application would be appended to the caption.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    const layout_cases::Place area = layout_cases::clientAreas[0]; // offscreen: 96 dpi
    QCOMPARE(m_form->size(), QSize(area.width, area.height));

    // Every size the icon comes in, the icon file's 24 x 24 first, so a title
    // bar at any density and the task switcher find a sharp one.
    const QIcon icon = m_form->windowIcon();
    QCOMPARE(icon.availableSizes(),
        (QList<QSize> { { 24, 24 }, { 48, 48 }, { 64, 64 }, { 128, 128 }, { 256, 256 } }));
    // Of the file's two 24 x 24 images Qt keeps the 32-bit one: its edges
    // blend into the title bar instead of the 256-colour one's hard mask.
    const QImage small = icon.pixmap(24, 24).toImage();
    int blendedEdgePixels = 0;
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            const int alpha = qAlpha(small.pixel(x, y));
            blendedEdgePixels += alpha > 0 && alpha < 255;
        }
    }
    QVERIFY(blendedEdgePixels > 0);
}

// Where each control sits, in pixels at 96 dpi, in the toolkit's font. (What
// each shows is compared under German settings, in tst_translations.)
void TestForm2Layout::controlsInTheirPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    for (const layout_cases::Control &control : layout_cases::controls) {
        const layout_cases::Place p = control.at[0];
        QTest::newRow(control.name) << control.name << QRect(p.left, p.top, p.width, p.height);
    }
}

void TestForm2Layout::controlsInTheirPlaces()
{
    QFETCH(QString, name);
    QWidget *w = control(*m_form, name);
    QTEST(w->geometry(), "pixels");
    QCOMPARE(w->font(), QApplication::font(w));
}

void TestForm2Layout::resizingMovesNothing()
{
    const QRect before = control(*m_form, "Command2")->geometry();
    m_form->resize(800, 700);
    QCOMPARE(control(*m_form, "Command2")->geometry(), before);
    m_form->resize(200, 100);
    QCOMPARE(control(*m_form, "Command2")->geometry(), before);
}

// Between and beyond the two densities, the denser photograph, scaled. (On
// an ordinary and a double-density screen tst_picture_screens compares what
// the window shows with the photograph for each.)
void TestForm2Layout::photographForScreenDensity_data()
{
    QTest::addColumn<qreal>("devicePixelRatio");
    QTest::newRow("one and a half, the denser one scaled down") << 1.5;
    QTest::newRow("three times, the denser one scaled up") << 3.0;
}

void TestForm2Layout::photographForScreenDensity()
{
    QFETCH(qreal, devicePixelRatio);
    const QImage photo(QStringLiteral(":/compass.bmp"));
    const QPixmap picture = window::qt::compassPicture(devicePixelRatio);
    // Always 208 x 415 of the window's pixels.
    QCOMPARE(picture.deviceIndependentSize(), QSizeF(208, 415));
    QCOMPARE(picture.size(), photo.size() * 2);
    const QImage rendered = picture.toImage().convertToFormat(QImage::Format_RGB32);
    // The same scene: each block of four device pixels averages to about the
    // ordinary photograph's pixel. The denser photograph is a rendering of its
    // own, not an enlargement: its film grain and edges differ a little, by
    // under 4 levels of 255 in the mean.
    constexpr double sameSceneMeanDifference = 4.0;
    qint64 difference = 0;
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x) {
            int block[3] = {};
            for (const QPoint d : { QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1) }) {
                const QRgb p = rendered.pixel(2 * x + d.x(), 2 * y + d.y());
                block[0] += qRed(p);
                block[1] += qGreen(p);
                block[2] += qBlue(p);
            }
            const QRgb q = photo.pixel(x, y);
            difference += std::abs(block[0] / 4 - qRed(q)) + std::abs(block[1] / 4 - qGreen(q))
                + std::abs(block[2] / 4 - qBlue(q));
        }
    }
    const double meanDifference = double(difference) / (3.0 * photo.width() * photo.height());
    QVERIFY2(meanDifference < sameSceneMeanDifference, qPrintable(QString::number(meanDifference)));
}

void TestForm2Layout::screenReadersNameEveryControl_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");
    // The window itself (no name) was a nameless "filler" to screen readers on
    // Linux: now a frame named by its caption.
    QTest::newRow("fixed: the window") << QString() << "Rotavel 1.1 - Quillo";
    for (const layout_cases::Control &control : layout_cases::controls) {
        if (control.spokenName)
            QTest::newRow(control.name) << control.name << control.spokenName;
    }
}

void TestForm2Layout::screenReadersNameEveryControl()
{
    QFETCH(QString, name);
    QWidget *named = name.isEmpty() ? m_form.get() : control(*m_form, name);
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(named);
    QVERIFY(a);
    QTEST(a->text(QAccessible::Name), "accessibleName");
    if (named == m_form.get())
        QCOMPARE(a->role(), QAccessible::Window);
}

QTEST_MAIN(TestForm2Layout)
#include "tst_form2_layout.moc"
