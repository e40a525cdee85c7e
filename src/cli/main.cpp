#include "cli/dippcli.h"

#include <QGuiApplication>

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
// Only the tool's own lines go to stderr: Qt's warnings, such as a missing runtime folder
// in cron jobs and ssh logins, would be mistaken for the tool's.
// A fatal one, such as a missing platform plugin, is why the tool stops, so it is told.
void reportFatalOnly(QtMsgType type, const QMessageLogContext & /*context*/, const QString &message)
{
    if (type == QtFatalMsg)
        std::fputs(qPrintable(QStringLiteral("error: %1\n").arg(message)), stderr);
}
} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(reportFatalOnly);
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
#ifdef Q_OS_WIN
    // The tool writes UTF-8, which a console shows as such (a path with umlauts) only in
    // code page 65001; the console gets its own code page back at the end.
    const UINT consoleCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
#endif
    int status = DippCli(out, err).run(QCoreApplication::arguments());
#ifdef Q_OS_WIN
    SetConsoleOutputCP(consoleCodePage);
#endif
    // A full disk or a closed pipe: what was to be printed is not there, so it failed.
    if (out.status() != QTextStream::Ok) {
        err << "error: cannot write to standard output\n" << Qt::flush;
        status = CliSession::Failure;
    }
    return status;
}
