// SPDX-License-Identifier: GPL-3.0-or-later
#include "behaviour_cases.h"
#include "form2_test.h"
#include "layout_cases.h"
#include "modal_watch.h"
#include "replay.h"

#include <QtTest>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>

#include <map>

// The window's behaviour as the user meets it: the cases every toolkit's
// window replays, here through Qt's key and mouse events, and what only Qt's
// line edit shows (how often a key calculated, a dropped text).
class TestLocatorFields : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sharedBehaviour_data() { addRows(behaviour::cases()); }
    void sharedBehaviour();
    void sixthCharacterCalculations_data();
    void sixthCharacterCalculations();
    void droppedTextKeepsItsFirstLine();

private:
    QLineEdit *field(const char *name) const { return ::field(*m_form, name); }
    QString text(const char *name) const { return field(name)->text(); }
    void replay(const behaviour::Action &action);
    void chooseFromContextMenu(const QString &item, behaviour::Key opener);

    std::unique_ptr<Form2> m_form;
};

namespace {

QString qtName(std::string_view name)
{
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

} // namespace

void TestLocatorFields::init()
{
    QLocale::setDefault(QLocale::c());
    m_form = std::make_unique<Form2>();
    QVERIFY(opened(*m_form));
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
        // A click activates the window first, as the window manager does when
        // a message box has closed over it (the offscreen platform does not).
        if (!m_form->isActiveWindow()) {
            m_form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        }
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
    case Action::Kind::Clipboard:
        QGuiApplication::clipboard()->setText(qtText(action.text));
        break;
    case Action::Kind::MenuCommand:
        chooseFromContextMenu(qtText(action.text), action.key);
        break;
    case Action::Kind::Press: {
        // Undo and Redo with the platform's own keys for them.
        static const std::map<Key, QKeyCombination> keys { { Key::Tab, Qt::Key_Tab },
            { Key::Backtab, Qt::ShiftModifier | Qt::Key_Backtab }, { Key::Enter, Qt::Key_Return },
            { Key::KeypadEnter, Qt::KeypadModifier | Qt::Key_Enter },
            { Key::Escape, Qt::Key_Escape }, { Key::Space, Qt::Key_Space },
            { Key::Backspace, Qt::Key_Backspace }, { Key::Home, Qt::Key_Home },
            { Key::End, Qt::Key_End }, { Key::Right, Qt::Key_Right },
            { Key::ShiftLeft, Qt::ShiftModifier | Qt::Key_Left },
            { Key::ShiftHome, Qt::ShiftModifier | Qt::Key_Home },
            { Key::Undo, QKeySequence(QKeySequence::Undo)[0] },
            { Key::Redo, QKeySequence(QKeySequence::Redo)[0] } };
        for (int i = 0; i < action.times; ++i) {
            const QKeyCombination key = keys.at(action.key);
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        }
        break;
    }
    }
}

// The menu key, as the X11 and Wayland platforms deliver it: a context-menu
// event for the window, which goes to the focused control. Shift+F10 comes as
// the key itself. Then the item is chosen as the user does it, with the arrow
// keys and Enter.
void TestLocatorFields::chooseFromContextMenu(const QString &item, behaviour::Key opener)
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    if (opener == behaviour::Key::ShiftF10) {
        QTest::keyClick(focus, Qt::Key_F10, Qt::ShiftModifier);
    } else {
        QContextMenuEvent open(QContextMenuEvent::Keyboard, focus->rect().center(),
            focus->mapToGlobal(focus->rect().center()));
        QGuiApplication::sendEvent(m_form->windowHandle(), &open);
    }
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY2(menu, "a context menu opens");
    QAction *wanted = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text().section(u'\t', 0, 0).remove(u'&') == item)
            wanted = action;
    }
    for (int step = 0; wanted && menu->activeAction() != wanted && step < menu->actions().size();
         ++step)
        QTest::keyClick(menu, Qt::Key_Down);
    const bool reached = wanted && menu->activeAction() == wanted;
    // A menu left open would take every later key: closed before failing.
    if (!reached)
        menu->close();
    QVERIFY2(reached, qPrintable("an enabled item " + item));
    QTest::keyClick(menu, Qt::Key_Return);
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

void TestLocatorFields::sharedBehaviour()
{
    QFETCH(int, row);
    const behaviour::Case expected = behaviour::cases().at(std::size_t(row));

    ModalWatch boxes(m_form.get());
    for (const behaviour::Action &action : expected.actions) {
        replay(action);
        if (QTest::currentTestFailed())
            return;
    }

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
    QCOMPARE(boxes.shown, expected.emptyMessages);
    QCOMPARE(boxes.unlikeEmptyMessages(), QString());
    QCOMPARE(!m_form->isVisible(), expected.closed);
    if (expected.clipboard)
        QCOMPARE(QGuiApplication::clipboard()->text(), qtText(*expected.clipboard));
    // A calculation writes the coordinate fields but shows none of them.
    for (const layout_cases::Control &control : layout_cases::controls) {
        const bool shown = ::control(*m_form, control.name)->isVisible();
        QVERIFY2(shown == (control.visible && !expected.closed), control.name);
    }
}

// A sixth character that upper-casing changes raises a second change inside
// the first: the nested run calculates, and the outer one again if the field
// still holds six characters. A typed character arrives in capitals already
// (fixed: a small letter calculated twice, and upper-casing it cleared the
// undo history); a text an assistive tool sets arrives as it is.
void TestLocatorFields::sixthCharacterCalculations_data()
{
    QTest::addColumn<QString>("sixth");
    QTest::addColumn<bool>("fromAssistiveTool");
    QTest::addColumn<int>("runs");
    QTest::newRow("capital: once") << "V" << false << 1;
    QTest::newRow("digit: once") << "9" << false << 1;
    QTest::newRow("fixed: small letter, typed as its capital: once") << "v" << false << 1;
    QTest::newRow("small letter from an assistive tool: twice") << "v" << true << 2;
}

void TestLocatorFields::sixthCharacterCalculations()
{
    QFETCH(QString, sixth);
    QFETCH(bool, fromAssistiveTool);
    field("Text5")->setText("JN61F");
    QSignalSpy runs(m_form->findChild<QPushButton *>("Command1"), &QPushButton::clicked);
    field("Text5")->setFocus();
    if (fromAssistiveTool) {
        QAccessible::queryAccessibleInterface(field("Text5"))
            ->setText(QAccessible::Value, "JN61F" + sixth);
    } else {
        QTest::keyClicks(field("Text5"), sixth);
    }
    QTEST(int(runs.size()), "runs");
}

// Text dragged from another program is pasted by the mouse, and keeps its
// first line without the blanks around it, as any paste does. Dropped in
// small letters, it can be undone as in a plain line edit given the same
// text in capitals (fixed: the upper-casing cleared the undo history).
void TestLocatorFields::droppedTextKeepsItsFirstLine()
{
    field("Text5")->clear();
    QMimeData dragged;
    dragged.setText("\tio91wm \njn61fv");
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field("Text5"), &enter);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field("Text5"), &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(text("Text5"), "IO91WM");
    QCOMPARE(text("Text1"), " 318");
    QTest::keySequence(field("Text5"), QKeySequence::Undo);
    QCOMPARE(text("Text5"), "");
}

QTEST_MAIN(TestLocatorFields)
#include "tst_locator_fields.moc"
