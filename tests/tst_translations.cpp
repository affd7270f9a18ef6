// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout_cases.h"
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
    for (const layout_cases::Control &control : layout_cases::controls) {
        if (QByteArray(control.name).startsWith("Text") && control.visible)
            QTest::newRow(control.name) << control.name;
    }
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
