// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form2.h"
#include "window/qt/translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(ROTAVEL_VERSION));
    window::qt::installToolkitTranslations(app);
    // Ties the window to its desktop entry, so docks and task bars show the
    // entry's name and icon and can pin it.
    QApplication::setDesktopFileName(QStringLiteral("io.github.rotavel.Rotavel"));
    Form2 form2;
    form2.show();
    return app.exec();
}
