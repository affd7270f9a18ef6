// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form2.h"
#include "window/form2_layout.h"
#include "window/qt/translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // What the desktop shows as the title of a box without one of its own
    // (the message box), instead of the program file's name: Qt's platforms
    // fall back to the application's name. Not its display name, which Qt
    // would append to the window's caption.
    QApplication::setApplicationName(QString::fromLatin1(window::applicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(ROTAVEL_VERSION));
    window::qt::installToolkitTranslations(app);
    // Ties the window to its desktop entry, so docks and task bars show the
    // entry's name and icon and can pin it.
    QApplication::setDesktopFileName(QStringLiteral("io.github.rotavel.Rotavel"));
    Form2 form2;
    form2.show();
    return app.exec();
}
