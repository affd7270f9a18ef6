// SPDX-License-Identifier: GPL-3.0-or-later
#include "modal_watch.h"
#include "window/form2.h"

#include <QtTest>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

class TestCalculate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void resultsAndCoordinates_data();
    void resultsAndCoordinates();
    void decimalCommaOfTheUsersLocale();
    void badInputGivesErrorMarks_data();
    void badInputGivesErrorMarks();
};

namespace {

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

void TestCalculate::resultsAndCoordinates_data()
{
    QTest::addColumn<QString>("locator1");
    QTest::addColumn<QString>("locator2");
    QTest::addColumn<QStringList>("expected"); // Text1, Text6, Text7, Text2, Text4, Text8

    // clang-format off
    QTest::newRow("western hemisphere: positive west longitude") << "JN81GD" << "FN20XR"
        << QStringList { " 303", " 7206", "41.1458333333333", "-16.5416666666667", "40.7291666666667", "74.0416666666667" };
    QTest::newRow("equal short fields") << "JN81" << "JN81"
        << QStringList { "0", " 0", "41.4791666666667", "-16.9583333333333", "41.4791666666667", "-16.9583333333333" };
    QTest::newRow("short against completed: not equal as shown") << "JN81" << "JN81LL"
        << QStringList { " 270", " 0", "41.4791666666667", "-16.9583333333333", "41.4791666666667", "-16.9583333333333" };
    QTest::newRow("just east of north") << "JN81GD" << "JO81HD"
        << QStringList { " 0", " 1109", "41.1458333333333", "-16.5416666666667", "51.1458333333333", "-16.625" };
    // clang-format on
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

    // clang-format off
    QTest::newRow("letter in third place of Locator 2") << "JN81GD" << "JNX1GD" << "-80.5416666666667";
    QTest::newRow("both empty") << "" << "" << "1581.375";
    // After its empty message box, the run ends as for any bad input.
    QTest::newRow("Locator 1 too long") << "JN81GDXX" << "JN61FV" << "-12.4583333333333";
    QTest::newRow("Locator 2 too long") << "JN81GD" << "JN61FVX" << "-12.4583333333333";
    QTest::newRow("fixed: outside the grid") << "JN81GD" << "ZZ99ZZ" << "-340.125";
    QTest::newRow("fixed: three characters") << "JN81GD" << "JN8" << "-16.9583333333333";
    QTest::newRow("fixed: five characters") << "JN81GD" << "JN81G" << "-16.5416666666667";
    // Only the opened window's three dots hold Calculate back (a case every
    // window replays); anything else is a locator to check.
    QTest::newRow("four dots") << "JN81GD" << "...." << "563.041666666667";
    QTest::newRow("a blank before the dots") << "JN81GD" << " ..." << "843.041666666667";
    QTest::newRow("two dots and a blank") << "JN81GD" << ".. " << "591.041666666667";
    // clang-format on
}

void TestCalculate::badInputGivesErrorMarks()
{
    QFETCH(QString, locator1);
    QFETCH(QString, locator2);
    Form2 form;
    ModalWatch boxes(&form);
    calculate(form, locator1, locator2);
    QCOMPARE(text(form, "Text1"), "??????");
    QCOMPARE(text(form, "Text6"), "??????");
    QCOMPARE(text(form, "Text3"), "");
    QCOMPARE(text(form, "Text5"), "");
    QCOMPARE(field(form, "Text3")->cursorPosition(), 0);
    QCOMPARE(field(form, "Text5")->cursorPosition(), 0);
    QTEST(text(form, "Text8"), "westLon2");
    // An over-long Locator 1, and nothing else, shows the empty message box.
    QCOMPARE(boxes.shown, int(locator1.size() > 6));
    QCOMPARE(boxes.unlikeEmptyMessages(), QString());
}

QTEST_MAIN(TestCalculate)
#include "tst_calculate.moc"
