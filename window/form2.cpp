#include "form2.h"

#include "form2_layout.h"
#include "geometry/geometry.h"
#include "number_text.h"
#include "qt_pictures.h"
#include "toolkit.h"

#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QPixmap>

#include <algorithm>
#include <vector>

namespace {

constexpr qsizetype locatorLength = 6;
const QString errorMark = QStringLiteral("??????");
// Two equal locator fields: the bearing is meaningless, show a plain 0.
const QString equalLocatorsBearing = QStringLiteral("0");

QWidget *createControl(const ControlSpec &spec, QWidget *window)
{
    const QString text = QString::fromLatin1(spec.text);
    switch (spec.kind) {
    case ControlKind::PictureBox: {
        auto *picture =
            new toolkit::PictureBox(compassPicture(window->devicePixelRatioF()), window);
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
    case ControlKind::TextBox:
        return new toolkit::TextBox(text, window);
    case ControlKind::CommandButton:
        return new toolkit::CommandButton(text, window);
    }
    return nullptr;
}

std::u16string toU16(const QString &text)
{
    return text.toStdU16String();
}

} // namespace

Form2::Form2(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QString::fromLatin1(form2Caption));
    setWindowIcon(form2Icon());
    resize(twipsToPixels(form2ClientWidthTwips), twipsToPixels(form2ClientHeightTwips));

    std::vector<std::pair<int, QWidget *>> tabOrder;
    for (const ControlSpec &spec : form2Controls) {
        QWidget *control = createControl(spec, this);
        control->setObjectName(QString::fromLatin1(spec.name));
        control->setGeometry(twipsToPixels(spec.leftTwips), twipsToPixels(spec.topTwips),
            twipsToPixels(spec.widthTwips), twipsToPixels(spec.heightTwips));
        control->setVisible(spec.visible);
        if (spec.kind != ControlKind::Label)
            tabOrder.emplace_back(spec.tabIndex, control);
    }
    for (const ControlSpec &spec : form2Controls) {
        if (spec.buddy)
            findChild<QLabel *>(QString::fromLatin1(spec.name))->setBuddy(field(spec.buddy));
    }
    std::sort(tabOrder.begin(), tabOrder.end());
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    tabOrder.front().second->setFocus();

    connect(field("Text3"), &QLineEdit::textChanged, this, &Form2::onLocator1Changed);
    connect(field("Text5"), &QLineEdit::textChanged, this, &Form2::onLocator2Changed);
    connect(command("Command1"), &QAbstractButton::clicked, this, &Form2::onCalculateClicked);
    connect(command("Command2"), &QAbstractButton::clicked, this, &Form2::onExitClicked);
}

QLineEdit *Form2::field(const char *name) const
{
    return findChild<QLineEdit *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

QAbstractButton *Form2::command(const char *name) const
{
    return findChild<QAbstractButton *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

void Form2::keepUpperCaseWithCaretAtEnd(const char *name)
{
    // Each step reads the field afresh: assigning the upper-cased text runs
    // this handler again inside the assignment, and whatever that nested run
    // left is what counts.
    toolkit::assignText(field(name), toolkit::upperCase(toolkit::text(field(name))));
    toolkit::assignSelStart(field(name), toolkit::text(field(name)).size());
}

void Form2::onLocator1Changed()
{
    keepUpperCaseWithCaretAtEnd("Text3");
}

void Form2::onLocator2Changed()
{
    keepUpperCaseWithCaretAtEnd("Text5");
    if (toolkit::text(field("Text5")).size() == locatorLength)
        toolkit::press(command("Command1"));
}

void Form2::onCalculateClicked()
{
    if (toolkit::text(field("Text5")) == QLatin1String(locatorPlaceholder))
        return;

    const geometry::LocatorCheck check = geometry::checkLocators(
        toU16(toolkit::text(field("Text3"))), toU16(toolkit::text(field("Text5"))));
    if (check.LongFlag1)
        toolkit::showEmptyMessage(this);
    if (check.InputError) {
        toolkit::assignText(field("Text3"), QString());
        toolkit::assignText(field("Text5"), QString());
        toolkit::assignText(field("Text6"), errorMark);
    }

    // Decoded and solved even after an error: the hidden coordinate fields
    // always show what the working strings decode to.
    const geometry::Point point1 = geometry::decodePoint(geometry::locatorCodes(check.locator1));
    const geometry::Point point2 = geometry::decodePoint(geometry::locatorCodes(check.locator2));
    const double westLon1Deg = -point1.lon;
    const double westLon2Deg = -point2.lon;
    const QString separator = QLocale().decimalPoint();
    writeCoordinate("Text7", point1.lat, separator);
    writeCoordinate("Text2", westLon1Deg, separator);
    writeCoordinate("Text4", point2.lat, separator);
    writeCoordinate("Text8", westLon2Deg, separator);
    const geometry::Solution solution =
        geometry::solveGreatCircle(westLon1Deg, point1.lat, westLon2Deg, point2.lat);

    if (!check.InputError) {
        writeResult("Text1", solution.bearing);
        writeResult("Text6", solution.distance);
    } else {
        toolkit::assignText(field("Text1"), errorMark);
        toolkit::assignText(field("Text6"), errorMark);
        toolkit::assignText(field("Text3"), QString());
        toolkit::assignText(field("Text5"), QString());
    }

    // Compared as the fields show them, not as decoded: "JN81" against
    // "JN81LL" is a bearing like any other.
    if (!check.InputError && toolkit::text(field("Text3")) == toolkit::text(field("Text5")))
        toolkit::assignText(field("Text1"), equalLocatorsBearing);
}

void Form2::onExitClicked()
{
    toolkit::unload(this);
}

void Form2::writeCoordinate(const char *name, double degrees, const QString &decimalSeparator)
{
    // A number no text can stand for leaves the field as it was.
    if (const auto text = coordinateText(degrees, decimalSeparator))
        toolkit::assignText(field(name), *text);
}

void Form2::writeResult(const char *name, double whole)
{
    if (const auto text = resultText(whole))
        toolkit::assignText(field(name), *text);
}
