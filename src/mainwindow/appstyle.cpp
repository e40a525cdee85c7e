#include "mainwindow/appstyle.h"

#include <QApplication>

namespace AppStyle {

void apply()
{
    // Qt 6 no longer ships "plastique"; Fusion replaced it and looks the same on every platform.
    if (QApplication::setStyle(QStringLiteral("plastique")) == nullptr)
        QApplication::setStyle(QStringLiteral("Fusion"));
}

} // namespace AppStyle
