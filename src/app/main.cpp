#include "base/quitsignals.h"
#include "mainwindow/appsetup.h"
#include "mainwindow/veskar.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

constexpr char usage[] = "Usage: vesk-adressen [-h|--help] [-v|--version] [Qt options]\n"
                         "Opens the window of the VESK Adressen Rechner, which converts VESK 2-D BUS\n"
                         "addresses to DIP switch positions and back, keeps a name for each address and\n"
                         "renders the address table to Dippschalter.pdf in the working directory.\n"
                         "Without a window: vesk-dipp --help.\n";

bool asksFor(int argc, char *argv[], const char *shortName, const char *longName)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], shortName) == 0 || std::strcmp(argv[i], longName) == 0)
            return true;
    }
    return false;
}

// A Windows GUI program has no console of its own: started from a command prompt, it
// writes into the prompt's; into a pipe or a file, as given.
void print(FILE *stream, const char *text)
{
#ifdef Q_OS_WIN
    const DWORD handle = stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    if (GetFileType(GetStdHandle(handle)) == FILE_TYPE_UNKNOWN && AttachConsole(ATTACH_PARENT_PROCESS))
        std::freopen("CONOUT$", "w", stream);
#endif
    std::fputs(text, stream);
}

// The display named by X11's -display, which Qt's platform takes out of the arguments.
QString displayAsked(int argc, char *argv[])
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-display") == 0 || std::strcmp(argv[i], "--display") == 0)
            return QString::fromLocal8Bit(argv[i + 1]);
    }
    return {};
}

// Qt's platform aborts where it finds no display, before a single argument is read: so the
// offscreen platform is its fallback, and the window, which would have nowhere to go, is refused.
bool fallsBackOffscreen(int argc, char *argv[], const QString &asked)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || asksFor(argc, argv, "-platform", "--platform"))
        return false;
    // In a Wayland session Qt tries Wayland's platform first, then X11's; elsewhere X11's alone.
    const bool wayland =
        qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland" && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const bool named =
        !asked.isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    qputenv("QT_QPA_PLATFORM", wayland ? "wayland;xcb;offscreen" : named ? "xcb;offscreen" : "offscreen");
    return true;
#else
    Q_UNUSED(argc)
    Q_UNUSED(argv)
    Q_UNUSED(asked)
    return false;
#endif
}

QString displayVariable(const char *name)
{
    return qEnvironmentVariableIsEmpty(name)
               ? QStringLiteral("%1 is not set").arg(QLatin1String(name))
               : QStringLiteral("%1 is '%2'").arg(QLatin1String(name), qEnvironmentVariable(name));
}

} // namespace

int main(int argc, char *argv[])
{
    if (asksFor(argc, argv, "-h", "--help")) {
        print(stdout, usage);
        return std::ferror(stdout) == 0 && std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (asksFor(argc, argv, "-v", "--version")) {
        print(stdout, "vesk-adressen " VESK_VERSION "\n");
        return std::ferror(stdout) == 0 && std::fflush(stdout) == 0 ? 0 : 1;
    }
    const QString asked = displayAsked(argc, argv);
    const bool fallback = fallsBackOffscreen(argc, argv, asked);
    QApplication app(argc, argv);
    // Qt took the options it knows out of argv; what is left is none of ours either.
    if (argc > 1) {
        const QString word = QString::fromLocal8Bit(argv[1]);
        print(stderr, qPrintable(QStringLiteral("error: %1 '%2'.\nTry 'vesk-adressen --help' for more information.\n")
                                     .arg(word.startsWith(u'-') ? QStringLiteral("Unknown option")
                                                                : QStringLiteral("Unexpected argument"),
                                          word)));
        return 2;
    }
    if (fallback && QGuiApplication::platformName() == u"offscreen") {
        const QString named =
            QStringLiteral("%1, %2").arg(displayVariable("DISPLAY"), displayVariable("WAYLAND_DISPLAY"));
        print(stderr,
              qPrintable(QStringLiteral("error: No display answers to open the window on: %1.\n"
                                        "Without a window: vesk-dipp --help.\n")
                             .arg(asked.isEmpty() ? named : QStringLiteral("-display is '%1', %2").arg(asked, named))));
        return 1;
    }
    AppSetup::apply();

    VeskAr window;
    const QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::received, &window, &VeskAr::closeUnasked);
    window.setVisible(true);
    return QApplication::exec();
}
