#ifndef VESKAR_H
#define VESKAR_H

#include "names/nameentries.h"
#include "ui_veskar.h"

#include <QWidget>

class ArLabel;
class NamesDocument;
class NamesTable;
class QSessionManager;

// The main window: address entry, switch panel, names table and table buttons.
class VeskAr : public QWidget, public Ui::veskar
{
    Q_OBJECT

public:
    explicit VeskAr(QWidget *parent = nullptr);
    ~VeskAr() override;

    ArLabel *arLabel;

protected:
    void closeEvent(QCloseEvent *event) override;

public slots:
    void closeUnasked();
    void changeDipp();
    void changeStr();
    void renderTable();

private:
    void applyAddress(const QString &text);
    void warnAboutAddress(const QString &typed, const QString &address);
    void selectRowOf(const QString &address);
    void showRowAddress(int row, int previousRow);
    void restoreGeometryOrFitTwelveRows();
    void setNamesTableVisible(bool visible);
    void showStoreState();
    void showReplaced(const NameEntries &ours, const Names &now);
    // Whether closing may ask the user: a session ending may forbid it.
    enum class Asking { Allowed, Forbidden };
    bool mayClose(Asking asking);
    void commitData(QSessionManager &manager);

    NamesDocument *document;
    NamesTable *namesTable;
    Asking closing = Asking::Allowed; // Forbidden once the system ends the window
};

#endif
