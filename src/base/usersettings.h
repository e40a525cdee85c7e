#ifndef USERSETTINGS_H
#define USERSETTINGS_H

#include <QSettings>

// The user's settings, shared by the window and the command line: the window's size, the
// labels' last format, each printer's offset.
inline QSettings userSettings()
{
    return QSettings(QStringLiteral("vesk-adressen"), QStringLiteral("vesk-adressen"));
}

#endif
