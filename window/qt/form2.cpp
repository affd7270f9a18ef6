// SPDX-License-Identifier: GPL-3.0-or-later
#include "form2.h"

#include "controls.h"
#include "pictures.h"
#include "window/form2_handlers.h"
#include "window/form2_layout.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QLocale>

#include <vector>

// Form2 is the one class the program and its tests know by name; what it is
// built from is the window's own.
using namespace window;

namespace {

QWidget *createControl(const ControlSpec &spec, QWidget *window)
{
    const QString text = QString::fromLatin1(spec.text);
    switch (spec.kind) {
    case ControlKind::PictureBox: {
        auto *picture = new qt::PictureBox(qt::compassPicture, window);
        // It holds the focus when the window opens: a screen reader should
        // have something better to announce than an empty frame.
        picture->setAccessibleName(QStringLiteral("Compass"));
        return picture;
    }
    case ControlKind::Label: {
        // A caption sits at the top of its label, level with its field's text.
        auto *label = new QLabel(text, window);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::TextBox: {
        auto *box = new qt::TextBox(text, window);
        box->setMaxLength(textBoxMaxLength);
        return box;
    }
    case ControlKind::CommandButton:
        return new qt::CommandButton(text, window);
    }
    return nullptr;
}

// Screen readers meet the window as a frame named by its caption. Qt takes a
// plain top-level widget for a client area (a "filler" to a Linux screen
// reader), which would leave the window nameless among the user's others.
QAccessibleInterface *accessibleForm2(const QString &className, QObject *object)
{
    if (className == QLatin1String("Form2") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

QString qtName(std::string_view name)
{
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// Unit for unit: QString::fromUtf16 would take a leading U+FEFF or U+FFFE for
// a byte-order mark, and drop it or swap the bytes of the whole text.
QString qtText(std::u16string_view text)
{
    return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

} // namespace

Form2::Form2(QWidget *parent)
    : QWidget(parent)
{
    static const bool accessibleAsFrame = [] {
        QAccessible::installFactory(accessibleForm2);
        return true;
    }();
    Q_UNUSED(accessibleAsFrame);
    setWindowTitle(QString::fromLatin1(form2Caption));
    setWindowIcon(qt::form2Icon());
    resize(twipsToPixels(form2ClientWidthTwips), twipsToPixels(form2ClientHeightTwips));

    std::vector<QWidget *> controls;
    for (const ControlSpec &spec : form2Controls) {
        QWidget *control = createControl(spec, this);
        control->setObjectName(QString::fromLatin1(spec.name));
        control->setGeometry(twipsToPixels(spec.leftTwips), twipsToPixels(spec.topTwips),
            twipsToPixels(spec.widthTwips), twipsToPixels(spec.heightTwips));
        control->setVisible(spec.visible);
        controls.push_back(control);

        // Every event of interest goes to the handlers, which pick their own.
        const std::string_view name = spec.name;
        if (auto *box = qobject_cast<QLineEdit *>(control)) {
            connect(box, &QLineEdit::textChanged, this,
                [this, name] { window::raise(*this, name, window::Event::Change); });
        } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
            connect(button, &QAbstractButton::clicked, this,
                [this, name] { window::raise(*this, name, window::Event::Click); });
        }
    }
    for (const ControlSpec &spec : form2Controls) {
        if (spec.buddy)
            findChild<QLabel *>(QString::fromLatin1(spec.name))->setBuddy(field(spec.buddy));
    }
    const std::vector<std::size_t> tabOrder = form2TabOrder();
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(controls[tabOrder[i - 1]], controls[tabOrder[i]]);
    controls[tabOrder.front()]->setFocus();
}

QLineEdit *Form2::field(std::string_view name) const
{
    return findChild<QLineEdit *>(qtName(name), Qt::FindDirectChildrenOnly);
}

QAbstractButton *Form2::command(std::string_view name) const
{
    return findChild<QAbstractButton *>(qtName(name), Qt::FindDirectChildrenOnly);
}

std::u16string Form2::text(std::string_view box) const
{
    return field(box)->text().toStdU16String();
}

void Form2::assignText(std::string_view box, std::u16string_view text)
{
    QLineEdit *shown = field(box);
    const QString newText = qtText(text);
    if (shown->text() != newText)
        shown->setText(newText);
}

void Form2::assignTextKeepingUndo(std::string_view box, std::u16string_view text)
{
    QLineEdit *shown = field(box);
    const QString newText = qtText(text);
    if (shown->text() == newText)
        return;
    // Replaced as the user replaces it, selected whole and typed over: this
    // is a step of the undo history, where setText clears the history.
    shown->selectAll();
    shown->insert(newText);
}

void Form2::assignSelStart(std::string_view box, std::size_t position)
{
    QLineEdit *shown = field(box);
    shown->setCursorPosition(static_cast<int>(position));
    shown->deselect();
}

void Form2::press(std::string_view button)
{
    command(button)->click();
}

void Form2::showEmptyMessage()
{
    qt::showEmptyMessage(this);
}

void Form2::unload()
{
    close();
}

std::u16string Form2::decimalSeparator() const
{
    return QLocale().decimalPoint().toStdU16String();
}
