#ifndef LABELSDIALOG_H
#define LABELSDIALOG_H

#include "address/namedaddresses.h"
#include "page/labelsheet.h"
#include "page/pagedocument.h"
#include "print/printreport.h"
#include "ui_labelsdialog.h"

#include <QDialog>
#include <QPrinter>

class QPrintPreviewWidget;
class TypedFields;

// Labels for the modules: the sheet's format, where on the first sheet to begin, which
// addresses, a preview of the sheets, and saving or printing them. Keeps the last format
// and start for the next time.
class LabelsDialog : public QDialog, public Ui::LabelsDialog
{
    Q_OBJECT

public:
    LabelsDialog(Names names, QStringList selectedKeys, QWidget *parent = nullptr);
    ~LabelsDialog() override;

    PageDocument document() const;
    QPrintPreviewWidget *preview;

private:
    LabelFormat chosenFormat() const;
    QStringList chosenKeys() const;
    void showFormat();
    void ownEdited();
    void refresh();
    bool takeTyped(const QPushButton *button);
    void save();
    void print();
    void printTestSheet();
    void printDocument(const PageDocument &pages, PrintReport::Subject subject, const QString &title);
    void showOffset();
    void storeOffset();
    void tellRefused(const QString &reason);
    void report(const QString &title, const QString &done, const RenderResult &result);
    void restoreSettings();

    Names names;
    QStringList selectedKeys;
    QList<LabelFormat> formats;
    LabelFormat own; // one's own format, as entered
    QPrinter printer;
    TypedFields *typed;
};

#endif
