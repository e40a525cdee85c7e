#ifndef NAMESFILES_H
#define NAMESFILES_H

#include "names/namescsv.h"

#include <QObject>

class NamesDocument;
class QWidget;

// Names lists, loaded into the document and saved from it: the file dialogs and, over the
// widget's window, why a list was not loaded or saved.
class NamesFiles : public QObject
{
    Q_OBJECT

public:
    NamesFiles(NamesDocument *document, QWidget *widget);

    // Each tells the user why it failed; a failure changes no name.
    bool load(const QString &path);
    bool save(const QString &path);
    void askLoad();
    // Asks where to save the names; true once they are saved there.
    bool askSave();

signals:
    // A names list was loaded, so the user wants to see the table.
    void loaded();

private:
    bool succeeded(const NamesCsv::Error &error, const QString &path, const QString &title, const QString &text) const;

    NamesDocument *document;
    QWidget *widget;
};

#endif
