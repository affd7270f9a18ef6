// SPDX-License-Identifier: GPL-3.0-or-later
#include "behaviour_cases.h"
#include "modal_watch.h"
#include "replay.h"
#include "typing.h"
#include "window/form2.h"

#include <QtTest>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <map>

// The window's behaviour as the user meets it: the cases every toolkit's
// window replays, here through Qt's key and mouse events, and what only Qt's
// line edit shows (how often a key calculated, the undo history).
class TestLocatorFields : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sharedBehaviour_data() { addRows(behaviour::cases()); }
    void sharedBehaviour();
    void lowerCaseSixthCharacterCalculatesTwice_data();
    void lowerCaseSixthCharacterCalculatesTwice();
    void upperCaseKeepsLengthAndUndo();

private:
    QLineEdit *field(const char *name) const;
    QString text(const char *name) const { return field(name)->text(); }
    void replay(const behaviour::Action &action);

    std::unique_ptr<Form2> m_form;
};

namespace {

QString qtText(std::u16string_view text)
{
    return QStringView(text.data(), qsizetype(text.size())).toString();
}

QString qtName(std::string_view name)
{
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

} // namespace

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
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void TestLocatorFields::cleanup()
{
    QVERIFY(!QApplication::activeModalWidget());
    m_form.reset();
}

void TestLocatorFields::replay(const behaviour::Action &action)
{
    using behaviour::Action;
    using behaviour::Key;
    QWidget *focus = QApplication::focusWidget();
    switch (action.kind) {
    case Action::Kind::Click: {
        auto *control = m_form->findChild<QWidget *>(qtName(action.control));
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
        break;
    }
    case Action::Kind::Type:
        typeText(focus, qtText(action.text));
        break;
    case Action::Kind::CloseBox: {
        // What the platform delivers for the close box.
        QCloseEvent close;
        QGuiApplication::sendEvent(m_form->windowHandle(), &close);
        break;
    }
    case Action::Kind::Paste:
        QGuiApplication::clipboard()->setText(qtText(action.text));
        QTest::keySequence(focus, QKeySequence::Paste);
        break;
    case Action::Kind::Press: {
        static const std::map<Key, std::pair<Qt::Key, Qt::KeyboardModifiers>> keys {
            { Key::Tab, { Qt::Key_Tab, Qt::NoModifier } },
            { Key::Backtab, { Qt::Key_Backtab, Qt::ShiftModifier } },
            { Key::Enter, { Qt::Key_Return, Qt::NoModifier } },
            { Key::Escape, { Qt::Key_Escape, Qt::NoModifier } },
            { Key::Space, { Qt::Key_Space, Qt::NoModifier } },
            { Key::Backspace, { Qt::Key_Backspace, Qt::NoModifier } },
            { Key::Home, { Qt::Key_Home, Qt::NoModifier } },
            { Key::End, { Qt::Key_End, Qt::NoModifier } },
            { Key::Right, { Qt::Key_Right, Qt::NoModifier } },
            { Key::ShiftLeft, { Qt::Key_Left, Qt::ShiftModifier } }
        };
        const auto [key, modifiers] = keys.at(action.key);
        for (int i = 0; i < action.times; ++i)
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        break;
    }
    }
}

void TestLocatorFields::sharedBehaviour()
{
    QFETCH(int, row);
    const behaviour::Case expected = behaviour::cases().at(std::size_t(row));

    ModalWatch boxes;
    for (const behaviour::Action &action : expected.actions)
        replay(action);

    for (const behaviour::Field &shown : expected.fields)
        QCOMPARE(text(std::string(shown.control).c_str()), qtText(shown.text));
    if (!expected.focus.empty()) {
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), qtName(expected.focus));
    }
    if (expected.caret >= 0) {
        auto *box = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(box);
        QCOMPARE(box->cursorPosition(), expected.caret);
        QVERIFY(!box->hasSelectedText());
    }
    QCOMPARE(int(boxes.shown.size()), expected.emptyMessages);
    for (const ShownBox &box : boxes.shown) {
        // An empty message: no title, no text, no icon, only OK, over the window.
        QVERIFY(box.isMessageBox);
        QCOMPARE(box.title, QString());
        QCOMPARE(box.text, QString());
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttons, QMessageBox::Ok);
        QCOMPARE(box.owner, m_form.get());
    }
    QCOMPARE(!m_form->isVisible(), expected.closed);
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
