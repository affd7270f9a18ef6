#include "window/form2.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Form2 form2;
    form2.show();
    return app.exec();
}
