#ifndef APPSETUP_H
#define APPSETUP_H

namespace AppSetup {

// The widget style and Qt's own German texts (file dialogs, standard buttons, context
// menus), to match the program's German; needs the QApplication to exist.
void apply();

} // namespace AppSetup

#endif
