// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the start-up benchmark: a window with Form2's caption,
// icon, size and its fifteen controls in the same places, with the same texts
// and the compass picture, made of Qt's stock widgets and with no handlers. It
// shows itself and waits to be closed.

#include "window/form2_layout.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

// The layout table, nothing else of the window.
using namespace window;

namespace {

QWidget *stockControl(const ControlSpec &placed, QWidget *window)
{
    const QString text = QString::fromLatin1(placed.text);
    switch (placed.kind) {
    case ControlKind::PictureBox: {
        auto *picture = new QLabel(window);
        picture->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        picture->setPixmap(QPixmap(QStringLiteral(":/compass.bmp")));
        return picture;
    }
    case ControlKind::Label:
        return new QLabel(text, window);
    case ControlKind::TextBox:
        return new QLineEdit(text, window);
    case ControlKind::CommandButton:
        return new QPushButton(text, window);
    }
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QString::fromLatin1(form2Caption));
    // The icon in every size the window offers, as the window manager gets it.
    QIcon icon(QStringLiteral(":/rotavel.ico"));
    for (const int size : { 48, 64, 128, 256 })
        icon.addFile(QStringLiteral(":/rotavel-%1.png").arg(size));
    window.setWindowIcon(icon);
    window.resize(twipsToPixels(form2ClientWidthTwips), twipsToPixels(form2ClientHeightTwips));
    for (const ControlSpec &placed : form2Controls) {
        QWidget *control = stockControl(placed, &window);
        control->setGeometry(twipsToPixels(placed.leftTwips), twipsToPixels(placed.topTwips),
            twipsToPixels(placed.widthTwips), twipsToPixels(placed.heightTwips));
        control->setVisible(placed.visible);
    }
    window.show();
    return app.exec();
}
