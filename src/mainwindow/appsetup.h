#ifndef APPSETUP_H
#define APPSETUP_H

#include <QSettings>

namespace AppSetup {

// The widget style and Qt's own German texts (file dialogs, standard buttons, context
// menus), to match the program's German; needs the QApplication to exist.
void apply();

// Where the window keeps its size and the labels their last format.
QSettings settings();

} // namespace AppSetup

#endif
