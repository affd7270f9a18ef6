#include "window/form2.h"

#include <QtTest>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

class TestLocatorFields : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typingUpperCasesWithCaretAtEnd_data();
    void typingUpperCasesWithCaretAtEnd();
    void sixthCharacterOfLocator2Calculates();
    void lowerCaseSixthCharacterCalculatesTwice_data();
    void lowerCaseSixthCharacterCalculatesTwice();
    void pastingLowerCase();
    void characterTypedInTheMiddle();
    void lengthChangesThatCalculate_data();
    void lengthChangesThatCalculate();
    void placeholderJoinedByTypedCharacters();
    void failedAutomaticCalculationEmptiesBothFields();
    void messageBoxFromAutomaticCalculation();
    void upperCaseKeepsLengthAndUndo();

private:
    QLineEdit *field(const char *name) const;
    QString text(const char *name) const { return field(name)->text(); }

    std::unique_ptr<Form2> m_form;
};

QLineEdit *TestLocatorFields::field(const char *name) const
{
    auto *box = m_form->findChild<QLineEdit *>(QString::fromLatin1(name));
    Q_ASSERT(box);
    return box;
}

void TestLocatorFields::init()
{
    QLocale::setDefault(QLocale::c());
    m_form = std::make_unique<Form2>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestLocatorFields::cleanup()
{
    QVERIFY(!QApplication::activeModalWidget());
    m_form.reset();
}

void TestLocatorFields::typingUpperCasesWithCaretAtEnd_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("Locator 1") << "Text3";
    QTest::newRow("Locator 2") << "Text5";
}

void TestLocatorFields::typingUpperCasesWithCaretAtEnd()
{
    QFETCH(QString, name);
    QLineEdit *box = field(name.toLatin1().constData());
    box->clear();
    box->setFocus();
    const QStringList expected { "J", "JN", "JN6", "JN61", "JN61F" };
    const QString keys = "jn61f";
    for (int i = 0; i < keys.size(); ++i) {
        QTest::keyClick(box, keys.at(i).toLatin1());
        QCOMPARE(box->text(), expected.at(i));
        QCOMPARE(box->cursorPosition(), expected.at(i).size());
        QVERIFY(!box->hasSelectedText());
    }
    // Five characters calculate nothing, in either field.
    QCOMPARE(text("Text1"), "...");
}

void TestLocatorFields::sixthCharacterOfLocator2Calculates()
{
    field("Text5")->clear();
    QTest::keyClicks(field("Text5"), "jn61fv");
    QCOMPARE(text("Text5"), "JN61FV");
    QCOMPARE(text("Text1"), " 285");
    QCOMPARE(text("Text6"), " 350");

    // Six characters in Locator 1 wait for Calculate or for Locator 2.
    field("Text3")->clear();
    field("Text1")->setText("typed");
    QTest::keyClicks(field("Text3"), "jn81gd");
    QCOMPARE(text("Text3"), "JN81GD");
    QCOMPARE(text("Text1"), "typed");
}

// A sixth key that upper-casing changes raises a second change inside the
// first: the nested run calculates, and the outer one again if the field
// still holds six characters.
void TestLocatorFields::lowerCaseSixthCharacterCalculatesTwice_data()
{
    QTest::addColumn<QString>("sixth");
    QTest::addColumn<int>("runs");
    QTest::newRow("capital: once") << "V" << 1;
    QTest::newRow("digit: once") << "9" << 1;
    QTest::newRow("small letter: twice") << "v" << 2;
}

void TestLocatorFields::lowerCaseSixthCharacterCalculatesTwice()
{
    QFETCH(QString, sixth);
    field("Text5")->setText("JN61F");
    QSignalSpy runs(m_form->findChild<QPushButton *>("Command1"), &QPushButton::clicked);
    field("Text5")->setFocus();
    QTest::keyClicks(field("Text5"), sixth);
    QTEST(int(runs.size()), "runs");
}

void TestLocatorFields::pastingLowerCase()
{
    field("Text5")->clear();
    field("Text5")->setFocus();
    QGuiApplication::clipboard()->setText("io91wm");
    QTest::keySequence(field("Text5"), QKeySequence::Paste);
    QCOMPARE(text("Text5"), "IO91WM");
    QCOMPARE(field("Text5")->cursorPosition(), 6);
    QVERIFY(text("Text1") != "...");
}

void TestLocatorFields::characterTypedInTheMiddle()
{
    field("Text5")->setText("JN1FV");
    field("Text5")->setFocus();
    field("Text5")->setCursorPosition(2);
    QTest::keyClick(field("Text5"), '6');
    QCOMPARE(text("Text5"), "JN61FV");
    QCOMPARE(field("Text5")->cursorPosition(), 6);
    QCOMPARE(text("Text1"), " 285");

    field("Text3")->setFocus();
    field("Text3")->setCursorPosition(0);
    QTest::keyClick(field("Text3"), 'x');
    QCOMPARE(text("Text3"), "XJN81GD");
    QCOMPARE(field("Text3")->cursorPosition(), 7);
}

void TestLocatorFields::lengthChangesThatCalculate_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("selectFrom"); // -1: no selection, caret at the end
    QTest::addColumn<QString>("keys"); // "\b" is Backspace
    QTest::addColumn<bool>("calculates");

    QTest::newRow("seven to six") << "JN61FVX" << -1 << "\b" << true;
    QTest::newRow("six to five") << "JN61FV" << -1 << "\b" << false;
    QTest::newRow("six to seven") << "JN61FV" << -1 << "X" << false;
    QTest::newRow("one of six replaced") << "JN61FV" << 5 << "W" << true;
    QTest::newRow("blank as sixth character") << "JN81G" << -1 << " " << true;
}

void TestLocatorFields::lengthChangesThatCalculate()
{
    QFETCH(QString, before);
    QFETCH(int, selectFrom);
    QFETCH(QString, keys);
    QLineEdit *locator2 = field("Text5");
    locator2->setText(before);
    // Whatever the user typed into the bearing field stays until a
    // calculation writes it.
    field("Text1")->setText("typed");
    locator2->setFocus();
    if (selectFrom >= 0)
        locator2->setSelection(selectFrom, 1);
    for (const QChar key : keys) {
        if (key == '\b')
            QTest::keyClick(locator2, Qt::Key_Backspace);
        else
            QTest::keyClick(locator2, key.toLatin1());
    }
    QFETCH(bool, calculates);
    QCOMPARE(text("Text1") != "typed", calculates);
}

void TestLocatorFields::placeholderJoinedByTypedCharacters()
{
    // Tab from the picture: bearing, Locator 1, Locator 2.
    field("Text5")->clearFocus();
    m_form->findChild<QWidget *>("Picture1")->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), field("Text5"));
    QVERIFY(!field("Text5")->hasSelectedText());

    QTest::keyClick(field("Text5"), 'a');
    QTest::keyClick(field("Text5"), 'b');
    QCOMPARE(text("Text5"), "...AB");
    // The sixth character calculates, and "...ABC" is no locator.
    QTest::keyClick(field("Text5"), 'c');
    QCOMPARE(text("Text1"), "??????");
    QCOMPARE(text("Text5"), "");
}

void TestLocatorFields::failedAutomaticCalculationEmptiesBothFields()
{
    field("Text5")->clear();
    QTest::keyClicks(field("Text5"), "jnx1gd");
    QCOMPARE(text("Text3"), "");
    QCOMPARE(text("Text5"), "");
    QCOMPARE(field("Text3")->cursorPosition(), 0);
    QCOMPARE(field("Text5")->cursorPosition(), 0);
    QCOMPARE(text("Text1"), "??????");
    QCOMPARE(text("Text6"), "??????");
}

void TestLocatorFields::messageBoxFromAutomaticCalculation()
{
    field("Text3")->setText("JN81GDX");
    field("Text5")->setText("JN61F");
    int boxes = 0;
    QTimer::singleShot(0, [&boxes] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            ++boxes;
            box->accept();
        }
    });
    // Small letter: the nested run shows the box and empties the fields, so
    // the outer run finds nothing to calculate.
    QTest::keyClick(field("Text5"), 'v');
    QCOMPARE(boxes, 1);
    QCOMPARE(text("Text1"), "??????");
    QCOMPARE(m_form->windowTitle(), "Rotavel 1.1 - Quillo");
}

void TestLocatorFields::upperCaseKeepsLengthAndUndo()
{
    QLineEdit *locator1 = field("Text3");
    locator1->setFocus();
    locator1->end(false);
    // A capital longer than its small letter is not used.
    QTest::keyClicks(locator1, QString::fromUtf8("ß"));
    QCOMPARE(text("Text3"), QString::fromUtf8("JN81GDß"));
    locator1->setText("JN81GD");

    // Characters that are already capitals leave the undo history alone.
    QTest::keyClicks(locator1, "1");
    QCOMPARE(text("Text3"), "JN81GD1");
    QTest::keySequence(locator1, QKeySequence::Undo);
    QCOMPARE(text("Text3"), "JN81GD");
}

QTEST_MAIN(TestLocatorFields)
#include "tst_locator_fields.moc"
