#include "mainwindow/veskar.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Qt 6 no longer ships "plastique"; Fusion replaced it and looks the same on every platform.
    if (!QApplication::setStyle(QStringLiteral("plastique")))
        QApplication::setStyle(QStringLiteral("Fusion"));

    VeskAr window;
    window.setVisible(true);
    return app.exec();
}
