#include "mainwindow/appsetup.h"
#include "mainwindow/veskar.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    AppSetup::apply();

    VeskAr window;
    window.setVisible(true);
    return QApplication::exec();
}
