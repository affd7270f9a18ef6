// SPDX-License-Identifier: GPL-3.0-or-later
#include "modal_watch.h"
#include "window/form2.h"

#include <QtTest>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <functional>

class TestCalculate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void placeholderLeavesEverythingAsItWas();
    void resultsAndCoordinates_data();
    void resultsAndCoordinates();
    void decimalCommaOfTheUsersLocale();
    void badInputGivesErrorMarks_data();
    void badInputGivesErrorMarks();
    void overlongLocator1ShowsEmptyMessageBox();
    void overlongLocator2ShowsNoMessageBox();
};

namespace {

const QStringList allFields { "Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7",
    "Text8" };

QLineEdit *field(const Form2 &form, const QString &name)
{
    auto *box = form.findChild<QLineEdit *>(name);
    Q_ASSERT(box);
    return box;
}

QString text(const Form2 &form, const QString &name)
{
    return field(form, name)->text();
}

QStringList texts(const Form2 &form)
{
    QStringList result;
    for (const QString &name : allFields)
        result << text(form, name);
    return result;
}

void pressCalculate(const Form2 &form)
{
    QTest::mouseClick(form.findChild<QPushButton *>("Command1"), Qt::LeftButton);
}

// Fills Locator 1, then Locator 2, as code would. Six characters in Locator 2
// calculate by themselves; any other length needs the Calculate button.
void calculate(const Form2 &form, const QString &locator1, const QString &locator2)
{
    field(form, "Text3")->setText(locator1);
    field(form, "Text5")->setText(locator2);
    if (locator2.size() != 6)
        pressCalculate(form);
}

} // namespace

void TestCalculate::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestCalculate::cleanup()
{
    QVERIFY(!QApplication::activeModalWidget());
}

void TestCalculate::placeholderLeavesEverythingAsItWas()
{
    Form2 form;
    const QStringList before = texts(form);
    QCOMPARE(text(form, "Text5"), "...");
    pressCalculate(form);
    QCOMPARE(texts(form), before);

    // Only the exact three dots hold the command back.
    for (const QString &almost : { QString("...."), QString(" ..."), QString(".. ") }) {
        field(form, "Text5")->setText(almost);
        pressCalculate(form);
        QCOMPARE(text(form, "Text1"), "??????");
        QCOMPARE(text(form, "Text5"), "");
        field(form, "Text3")->setText("JN81GD");
    }
}

void TestCalculate::resultsAndCoordinates_data()
{
    QTest::addColumn<QString>("locator1");
    QTest::addColumn<QString>("locator2");
    QTest::addColumn<QStringList>("expected"); // Text1, Text6, Text7, Text2, Text4, Text8

    QTest::newRow("JN81GD to JN61FV")
        << "JN81GD"
        << "JN61FV"
        << QStringList { " 285", " 350", "41.1458333333333", "-16.5416666666667",
               "41.8958333333333", "-12.4583333333333" };
    QTest::newRow("western hemisphere: positive west longitude")
        << "JN81GD"
        << "FN20XR"
        << QStringList { " 303", " 7206", "41.1458333333333", "-16.5416666666667",
               "40.7291666666667", "74.0416666666667" };
    QTest::newRow("equal fields: bearing 0 without a space")
        << "JN81GD"
        << "JN81GD"
        << QStringList { "0", " 0", "41.1458333333333", "-16.5416666666667", "41.1458333333333",
               "-16.5416666666667" };
    QTest::newRow("equal short fields")
        << "JN81"
        << "JN81"
        << QStringList { "0", " 0", "41.4791666666667", "-16.9583333333333", "41.4791666666667",
               "-16.9583333333333" };
    QTest::newRow("short against completed: not equal as shown")
        << "JN81"
        << "JN81LL"
        << QStringList { " 270", " 0", "41.4791666666667", "-16.9583333333333", "41.4791666666667",
               "-16.9583333333333" };
    QTest::newRow("just east of north") << "JN81GD"
                                        << "JO81HD"
                                        << QStringList { " 0", " 1109", "41.1458333333333",
                                               "-16.5416666666667", "51.1458333333333", "-16.625" };
}

void TestCalculate::resultsAndCoordinates()
{
    QFETCH(QString, locator1);
    QFETCH(QString, locator2);
    QFETCH(QStringList, expected);
    Form2 form;
    calculate(form, locator1, locator2);
    const QStringList shown { text(form, "Text1"), text(form, "Text6"), text(form, "Text7"),
        text(form, "Text2"), text(form, "Text4"), text(form, "Text8") };
    QCOMPARE(shown, expected);
    // A successful calculation leaves the locators as typed.
    QCOMPARE(text(form, "Text3"), locator1);
    QCOMPARE(text(form, "Text5"), locator2);
}

void TestCalculate::decimalCommaOfTheUsersLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Form2 form;
    calculate(form, "JN81GD", "JN61FV");
    QCOMPARE(text(form, "Text7"), "41,1458333333333");
    QCOMPARE(text(form, "Text2"), "-16,5416666666667");
    QCOMPARE(text(form, "Text4"), "41,8958333333333");
    QCOMPARE(text(form, "Text8"), "-12,4583333333333");
    QCOMPARE(text(form, "Text1"), " 285");
    QCOMPARE(text(form, "Text6"), " 350");

    // Swedish writes its minus sign as U+2212 and groups digits with a
    // space; a coordinate keeps the ASCII minus and no grouping.
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    Form2 swedish;
    calculate(swedish, "", "JN61FV");
    QCOMPARE(text(swedish, "Text2"), "1581,375");
    QCOMPARE(text(swedish, "Text7"), "-790,6875");
}

void TestCalculate::badInputGivesErrorMarks_data()
{
    QTest::addColumn<QString>("locator1");
    QTest::addColumn<QString>("locator2");
    QTest::addColumn<QString>("westLon2"); // Text8: decoded all the same

    QTest::newRow("letter in third place of Locator 2") << "JN81GD"
                                                        << "JNX1GD"
                                                        << "-80.5416666666667";
    QTest::newRow("both empty") << ""
                                << ""
                                << "1581.375";
    QTest::newRow("Locator 2 too long") << "JN81GD"
                                        << "JN61FVX"
                                        << "-12.4583333333333";
    QTest::newRow("fixed: outside the grid") << "JN81GD"
                                             << "ZZ99ZZ"
                                             << "-340.125";
    QTest::newRow("fixed: three characters") << "JN81GD"
                                             << "JN8"
                                             << "-16.9583333333333";
    QTest::newRow("fixed: five characters") << "JN81GD"
                                            << "JN81G"
                                            << "-16.5416666666667";
}

void TestCalculate::badInputGivesErrorMarks()
{
    QFETCH(QString, locator1);
    QFETCH(QString, locator2);
    Form2 form;
    calculate(form, locator1, locator2);
    QCOMPARE(text(form, "Text1"), "??????");
    QCOMPARE(text(form, "Text6"), "??????");
    QCOMPARE(text(form, "Text3"), "");
    QCOMPARE(text(form, "Text5"), "");
    QCOMPARE(field(form, "Text3")->cursorPosition(), 0);
    QCOMPARE(field(form, "Text5")->cursorPosition(), 0);
    QTEST(text(form, "Text8"), "westLon2");
}

void TestCalculate::overlongLocator1ShowsEmptyMessageBox()
{
    Form2 form;
    ModalWatch boxes;
    calculate(form, "JN81GDXX", "JN61FV");

    QCOMPARE(boxes.shown.size(), 1u);
    QVERIFY(boxes.shown[0].isMessageBox);
    QCOMPARE(boxes.shown[0].text, "");
    QCOMPARE(boxes.shown[0].title, "");
    QCOMPARE(boxes.shown[0].icon, QMessageBox::NoIcon);
    QCOMPARE(boxes.shown[0].buttons, QMessageBox::Ok);
    // After the box, the run ends as for any bad input.
    QCOMPARE(text(form, "Text1"), "??????");
    QCOMPARE(text(form, "Text6"), "??????");
    QCOMPARE(text(form, "Text3"), "");
    QCOMPARE(text(form, "Text5"), "");
    QCOMPARE(text(form, "Text7"), "41.1458333333333");
}

void TestCalculate::overlongLocator2ShowsNoMessageBox()
{
    Form2 form;
    ModalWatch boxes;
    calculate(form, "JN81GD", "JN61FVXX");
    QCoreApplication::processEvents();
    QVERIFY(boxes.shown.empty());
    QCOMPARE(text(form, "Text6"), "??????");
}

QTEST_MAIN(TestCalculate)
#include "tst_calculate.moc"
