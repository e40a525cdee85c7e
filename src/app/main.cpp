#include "mainwindow/appsetup.h"
#include "mainwindow/veskar.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

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

} // namespace

int main(int argc, char *argv[])
{
    if (asksForHelp(argc, argv)) {
        std::fputs(usage, stdout);
        return 0;
    }
    QApplication app(argc, argv);
    AppSetup::apply();

    VeskAr window;
    window.setVisible(true);
    return QApplication::exec();
}
