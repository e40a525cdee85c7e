#include "cli/dippcli.h"

#include <QGuiApplication>

namespace {
// Only the tool's own lines go to stderr: Qt's warnings, such as a missing runtime folder
// in cron jobs and ssh logins, would be mistaken for the tool's.
void discardQtMessage(QtMsgType /*type*/, const QMessageLogContext & /*context*/, const QString & /*message*/) { }
} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(discardQtMessage);
    // Fonts for the PDF need a GUI application, but never a display. Windows' own platform
    // needs none and has the system's fonts; offscreen there would have no fonts at all.
#ifndef Q_OS_WIN
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(VESK_VERSION));

    QTextStream out(stdout);
    QTextStream err(stderr);
    return DippCli(out, err).run(QCoreApplication::arguments());
}
