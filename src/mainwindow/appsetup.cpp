#include "mainwindow/appsetup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace AppSetup {

void apply()
{
    // Qt 6 no longer ships "plastique"; Fusion replaced it and looks the same on every platform.
    if (QApplication::setStyle(QStringLiteral("plastique")) == nullptr)
        QApplication::setStyle(QStringLiteral("Fusion"));

    // German always, like the program's own texts, whatever the system's language.
    auto *translator = new QTranslator(qApp);
    if (translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace AppSetup
