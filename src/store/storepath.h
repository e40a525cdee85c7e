#ifndef STOREPATH_H
#define STOREPATH_H

#include "store/storeerror.h"

#include <QString>

// The store writes only its own regular files: a link where one goes (on Windows, any
// reparse point) is left as it is, and so is its target. What its files and its lock share.
namespace StorePath {

bool isLink(const QString &path);
StoreError linkError(const QString &path);
// The system names a folder in a file's place without its path, which may be another file's than the one told.
StoreError folderError(const QString &path);

} // namespace StorePath

#endif
