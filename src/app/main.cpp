#include "mainwindow/appsetup.h"
#include "mainwindow/veskar.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

constexpr char usage[] = "Usage: vesk-adressen [Qt options]\n"
                         "Opens the window of the VESK Adressen Rechner, which converts VESK 2-D BUS\n"
                         "addresses to DIP switch positions and back, keeps a name for each address and\n"
                         "renders the address table to Dippschalter.pdf in the working directory.\n"
                         "Without a window: vesk-dipp --help.\n";

bool asksForHelp(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    }
    return false;
}

// A Windows GUI program has no console of its own: started from a command prompt, it
// writes into the prompt's; into a pipe or a file, as given.
void printUsage()
{
#ifdef Q_OS_WIN
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_UNKNOWN && AttachConsole(ATTACH_PARENT_PROCESS))
        std::freopen("CONOUT$", "w", stdout);
#endif
    std::fputs(usage, stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    if (asksForHelp(argc, argv)) {
        printUsage();
        return 0;
    }
    QApplication app(argc, argv);
    AppSetup::apply();

    VeskAr window;
    window.setVisible(true);
    return QApplication::exec();
}
