#ifndef TABLEFONT_H
#define TABLEFONT_H

#include <QFont>
#include <QString>

// Every text of the printed table is set in this family, or where it is missing (Wine,
// a Linux without fontconfig's aliases) in its metric twin, so that every name breaks
// and fits the same.
inline const QString tableFontFamily = QStringLiteral("Arial");
inline const QString tableFontTwin = QStringLiteral("Liberation Sans");

QFont tableFont(qreal pointSize, QFont::Weight weight = QFont::Normal);

#endif
