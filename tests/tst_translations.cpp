// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form2.h"
#include "window/qt/translations.h"

#include <QtTest>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

// Run under LANG=de_DE.UTF-8 (see CMakeLists.txt): the toolkit's texts come
// in German, the program's own stay as they are.
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fieldContextMenuInUsersLanguage_data();
    void fieldContextMenuInUsersLanguage();
    void programTextsStayAsTheyAre_data();
    void programTextsStayAsTheyAre();
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
    QTest::newRow("Locator 1") << "Text3";
    QTest::newRow("Locator 2") << "Text5";
    QTest::newRow("distance") << "Text6";
    QTest::newRow("bearing") << "Text1";
}

void TestTranslations::fieldContextMenuInUsersLanguage()
{
    QFETCH(QString, name);
    Form2 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *field = form.findChild<QLineEdit *>(name);
    QVERIFY(field);

    // The menu the field shows on a right click, entries and their keys as
    // the user reads them.
    const std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
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
    QTest::newRow("Locator 1 label") << QString("Label1") << QString("Locator 1");
    QTest::newRow("bearing label") << QString("Label4") << QString("Bearing");
    QTest::newRow("Locator 1 at start") << QString("Text3") << QString("JN81GD");
    QTest::newRow("placeholder of Locator 2") << QString("Text5") << QString("...");
    QTest::newRow("Calculate") << QString("Command1") << QString("Calculate");
    QTest::newRow("Exit") << QString("Command2") << QString("Exit");
}

void TestTranslations::programTextsStayAsTheyAre()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    Form2 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QString shown = form.windowTitle();
    if (auto *label = form.findChild<QLabel *>(name))
        shown = label->text();
    else if (auto *field = form.findChild<QLineEdit *>(name))
        shown = field->text();
    else if (auto *button = form.findChild<QAbstractButton *>(name))
        shown = button->text();
    QCOMPARE(shown, text);
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
