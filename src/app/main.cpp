#include "mainwindow/appstyle.h"
#include "mainwindow/veskar.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    AppStyle::apply();

    VeskAr window;
    window.setVisible(true);
    return QApplication::exec();
}
