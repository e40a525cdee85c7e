#include "cli/dippcli.h"

#include <QGuiApplication>

int main(int argc, char *argv[])
{
    // Fonts for the PDF need a GUI application, but never a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vesk-dipp"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VESK_VERSION));

    QTextStream out(stdout);
    QTextStream err(stderr);
    return DippCli(out, err).run(QCoreApplication::arguments());
}
