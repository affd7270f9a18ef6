// SPDX-License-Identifier: GPL-3.0-or-later
#include "form2_test.h"
#include "layout_cases.h"
#include "window/qt/translations.h"

#include <QtTest>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>

// Run under LANG=de_DE.UTF-8 (see CMakeLists.txt): the toolkit's texts come
// in German, the program's own stay as they are, and numbers take the user's
// decimal separator.
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fieldContextMenuInUsersLanguage_data();
    void fieldContextMenuInUsersLanguage();
    void programTextsStayAsTheyAre_data();
    void programTextsStayAsTheyAre();
    void decimalSeparatorOfTheUsersLocale();
};

void TestTranslations::initTestCase()
{
    QVERIFY2(QLocale().language() == QLocale::German,
        qPrintable(QStringLiteral("not run under a German locale but %1").arg(QLocale().name())));
    QVERIFY2(window::qt::installToolkitTranslations(*qApp),
        "no German translations of Qt where Qt keeps them (Debian: qt6-translations-l10n)");
}

void TestTranslations::fieldContextMenuInUsersLanguage_data()
{
    QTest::addColumn<QString>("name");
    for (const layout_cases::Control &control : layout_cases::controls) {
        if (QByteArray(control.name).startsWith("Text") && control.visible)
            QTest::newRow(control.name) << control.name;
    }
}

void TestTranslations::fieldContextMenuInUsersLanguage()
{
    QFETCH(QString, name);
    Form2 form;
    QVERIFY(opened(form));

    // The menu the field shows on a right click, entries and their keys as
    // the user reads them.
    const std::unique_ptr<QMenu> menu(field(form, name)->createStandardContextMenu());
    QStringList entries;
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator())
            entries << action->text();
    }
    const QStringList german = { QStringLiteral("&Rückgängig\tStrg+Z"),
        QStringLiteral("Wieder&herstellen\tStrg+Y"), QStringLiteral("&Ausschneiden\tStrg+X"),
        QStringLiteral("&Kopieren\tStrg+C"), QStringLiteral("Einf&ügen\tStrg+V"),
        QStringLiteral("Löschen"), QStringLiteral("Alles auswählen\tStrg+A") };
    QCOMPARE(entries, german);
}

void TestTranslations::programTextsStayAsTheyAre_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("caption") << QString("") << QString("Rotavel 1.1 - Quillo");
    for (const layout_cases::Control &control : layout_cases::controls) {
        if (*control.text)
            QTest::newRow(control.name) << control.name << control.text;
    }
}

void TestTranslations::programTextsStayAsTheyAre()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    Form2 form;
    QVERIFY(opened(form));
    QString shown = form.windowTitle();
    if (auto *label = form.findChild<QLabel *>(name))
        shown = label->text();
    else if (auto *field = form.findChild<QLineEdit *>(name))
        shown = field->text();
    else if (auto *button = form.findChild<QAbstractButton *>(name))
        shown = button->text();
    QCOMPARE(shown, text);
}

void TestTranslations::decimalSeparatorOfTheUsersLocale()
{
    Form2 form;
    field(form, "Text5")->setText("JN61FV");
    QCOMPARE(field(form, "Text7")->text(), "41,1458333333333");
    QCOMPARE(field(form, "Text2")->text(), "-16,5416666666667");
    QCOMPARE(field(form, "Text4")->text(), "41,8958333333333");
    QCOMPARE(field(form, "Text8")->text(), "-12,4583333333333");
    QCOMPARE(field(form, "Text1")->text(), " 285");
    QCOMPARE(field(form, "Text6")->text(), " 350");

    // Swedish writes its minus sign as U+2212 and groups digits with a
    // space; a coordinate keeps the ASCII minus and no grouping.
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    Form2 swedish;
    field(swedish, "Text3")->clear();
    field(swedish, "Text5")->setText("JN61FV");
    QCOMPARE(field(swedish, "Text2")->text(), "1581,375");
    QCOMPARE(field(swedish, "Text7")->text(), "-790,6875");
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
