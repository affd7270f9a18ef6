// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout_cases.h"
#include "window/form2.h"
#include "window/qt/pictures.h"

#include <QtTest>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class TestForm2Layout : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void captionAndClientArea();
    void controlsInTheirPlaces_data();
    void controlsInTheirPlaces();
    void resizingMovesNothing();
    void hiddenFieldsStayHidden();
    void photographForScreenDensity_data();
    void photographForScreenDensity();
    void screenReadersNameEveryControl_data();
    void screenReadersNameEveryControl();
    void screenReadersMeetAFrameNamedByItsCaption();

private:
    std::unique_ptr<Form2> m_form;
};

namespace {

QWidget *control(const QWidget &form, const char *name)
{
    auto *w = form.findChild<QWidget *>(QString::fromLatin1(name));
    Q_ASSERT(w);
    return w;
}

} // namespace

void TestForm2Layout::init()
{
    m_form = std::make_unique<Form2>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
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

// Where each control sits, in pixels at 96 dpi, and what it shows.
void TestForm2Layout::controlsInTheirPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<QString>("text");
    for (const layout_cases::Control &control : layout_cases::controls) {
        const layout_cases::Place p = control.at[0];
        QTest::newRow(control.name)
            << control.name << QRect(p.left, p.top, p.width, p.height) << control.text;
    }
}

void TestForm2Layout::controlsInTheirPlaces()
{
    QFETCH(QString, name);
    QWidget *w = control(*m_form, name.toLatin1().constData());
    QTEST(w->geometry(), "pixels");
    QString shown;
    if (auto *label = qobject_cast<QLabel *>(w))
        shown = label->text();
    else if (auto *box = qobject_cast<QLineEdit *>(w))
        shown = box->text();
    else if (auto *button = qobject_cast<QPushButton *>(w))
        shown = button->text();
    QTEST(shown, "text");
    // No access keys anywhere, and no font of our own.
    QVERIFY(!shown.contains('&'));
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

void TestForm2Layout::hiddenFieldsStayHidden()
{
    for (const bool calculated : { false, true }) {
        // A calculation writes them but shows none.
        if (calculated)
            qobject_cast<QLineEdit *>(control(*m_form, "Text5"))->setText("JN61FV");
        for (const layout_cases::Control &laid : layout_cases::controls) {
            QWidget *shown = control(*m_form, laid.name);
            QVERIFY2(shown->isVisible() == laid.visible, laid.name);
            if (calculated && !laid.visible)
                QVERIFY2(!qobject_cast<QLineEdit *>(shown)->text().startsWith("Text"), laid.name);
        }
    }
}

void TestForm2Layout::photographForScreenDensity_data()
{
    QTest::addColumn<qreal>("devicePixelRatio");
    QTest::addColumn<int>("scale");
    QTest::newRow("ordinary screen, the photograph itself") << 1.0 << 1;
    QTest::newRow("twice the density") << 2.0 << 2;
    QTest::newRow("one and a half, the denser one scaled down") << 1.5 << 2;
    QTest::newRow("three times, the denser one scaled up") << 3.0 << 2;
}

void TestForm2Layout::photographForScreenDensity()
{
    QFETCH(qreal, devicePixelRatio);
    QFETCH(int, scale);
    const QImage photo(QStringLiteral(":/compass.bmp"));
    const QPixmap picture = window::qt::compassPicture(devicePixelRatio);
    // Always 208 x 415 of the window's pixels.
    QCOMPARE(picture.deviceIndependentSize(), QSizeF(208, 415));
    QCOMPARE(picture.size(), photo.size() * scale);
    const QImage rendered = picture.toImage().convertToFormat(QImage::Format_RGB32);
    if (scale == 1) {
        QCOMPARE(rendered, photo.convertToFormat(QImage::Format_RGB32));
        return;
    }
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
    for (const layout_cases::Control &control : layout_cases::controls) {
        if (control.spokenName)
            QTest::newRow(control.name) << control.name << control.spokenName;
    }
}

void TestForm2Layout::screenReadersNameEveryControl()
{
    QFETCH(QString, name);
    QAccessibleInterface *a =
        QAccessible::queryAccessibleInterface(control(*m_form, name.toLatin1().constData()));
    QVERIFY(a);
    QTEST(a->text(QAccessible::Name), "accessibleName");
}

// Fixed: the window was a nameless "filler" to screen readers on Linux.
void TestForm2Layout::screenReadersMeetAFrameNamedByItsCaption()
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(m_form.get());
    QVERIFY(a);
    QCOMPARE(a->role(), QAccessible::Window);
    QCOMPARE(a->text(QAccessible::Name), "Rotavel 1.1 - Quillo");
}

QTEST_MAIN(TestForm2Layout)
#include "tst_form2_layout.moc"
