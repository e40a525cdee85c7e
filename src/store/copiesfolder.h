#ifndef COPIESFOLDER_H
#define COPIESFOLDER_H

#include "store/storeerror.h"

#include <QDir>
#include <QString>
#include <QStringList>

// The folder Konfliktkopien beside the store, where merged conflict copies go, and what a look finds of them.
namespace CopiesFolder {

// The times there, by their names in the store's folder: they may still settle a copy or a guess.
QStringList movedTimes(const QString &path);
// Each of these files in folder that is there, by its name, size and time: a change of any is news.
QStringList looks(const QDir &folder, const QStringList &names);
// Into Konfliktkopien under a free name, never over another file nor through a link; why not, where it cannot.
StoreError moveAway(const QDir &folder, const QString &path, const QString &name);

} // namespace CopiesFolder

#endif
