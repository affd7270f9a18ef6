// SPDX-License-Identifier: GPL-3.0-or-later
// The compass photograph on a desktop of two screens, an ordinary one and
// one of twice the density (a laptop's screen beside a monitor): the window
// is opened on either, and moved from one to the other, and the picture box
// must show the photograph drawn for the screen it is on now.

#include "form2_test.h"

#include <QtTest>

#include <QScreen>

class TestPictureScreens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void photographFollowsTheScreen_data();
    void photographFollowsTheScreen();
};

namespace {

// The photograph's rendering for a screen of `ratio`, read from the pictures
// the program is made from.
QImage rendering(int ratio)
{
    const QString file = ratio == 1 ? QStringLiteral(ROTAVEL_ASSETS "/compass.bmp")
                                    : QStringLiteral(ROTAVEL_ASSETS "/compass@2x.jpg");
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

QScreen *screenNamed(const QString &name)
{
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen->name() == name)
            return screen;
    }
    return nullptr;
}

void moveTo(QWidget &window, QScreen *screen)
{
    window.move(screen->geometry().topLeft() + QPoint(40, 40));
}

} // namespace

void TestPictureScreens::initTestCase()
{
    // The screens of two_screens.json; each row checks the ratio it meets.
    QVERIFY(screenNamed("ordinary") && screenNamed("dense"));
}

void TestPictureScreens::photographFollowsTheScreen_data()
{
    QTest::addColumn<QString>("openedOn");
    QTest::addColumn<QString>("movedTo"); // empty: stays
    QTest::addColumn<int>("ratio");
    QTest::newRow("opened on the ordinary screen") << "ordinary"
                                                   << "" << 1;
    QTest::newRow("fixed: opened on the dense screen") << "dense"
                                                       << "" << 2;
    QTest::newRow("fixed: moved from the ordinary screen to the dense one") << "ordinary"
                                                                            << "dense" << 2;
    QTest::newRow("fixed: moved from the dense screen to the ordinary one") << "dense"
                                                                            << "ordinary" << 1;
}

void TestPictureScreens::photographFollowsTheScreen()
{
    QFETCH(QString, openedOn);
    QFETCH(QString, movedTo);
    QFETCH(int, ratio);

    Form2 form;
    moveTo(form, screenNamed(openedOn));
    QVERIFY(opened(form));
    if (!movedTo.isEmpty()) {
        moveTo(form, screenNamed(movedTo));
        QTRY_COMPARE(form.screen(), screenNamed(movedTo));
    }
    QCOMPARE(form.devicePixelRatio(), ratio);

    // The box's inner area, from its 2-pixel frame to where it cuts the
    // photograph off: 181 x 415 of the window's pixels, each `ratio` x
    // `ratio` device pixels of the rendering for that ratio, unscaled.
    const QImage shown =
        control(form, "Picture1")->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.devicePixelRatio(), qreal(ratio));
    const QImage expected = rendering(ratio);
    const QRect inner(0, 0, 181 * ratio, 415 * ratio);
    QCOMPARE(shown.copy(inner.translated(2 * ratio, 2 * ratio)), expected.copy(inner));
}

QTEST_MAIN(TestPictureScreens)
#include "tst_picture_screens.moc"
