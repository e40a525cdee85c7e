#ifndef MODULENAME_H
#define MODULENAME_H

#include <QString>

// The two modules that the 96 addresses belong to, as the printed table and the labels name
// them: letters A-D are set on the control module, E-H on its extension.
namespace ModuleName {

inline const QString control = QStringLiteral("Steuermodul 3217");
inline const QString extension = QStringLiteral("Erweiterungsmodul 3217E");

// The module of one of the 96 addresses, in either form; the control module for any other text.
QString of(const QString &address);

} // namespace ModuleName

#endif
