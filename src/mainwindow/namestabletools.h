#ifndef NAMESTABLETOOLS_H
#define NAMESTABLETOOLS_H

#include <QHash>
#include <QObject>
#include <QString>

class QCheckBox;
class QTableWidget;
class QWidget;

// Loading, saving and pasting names in the window's names table: its context
// menu and Ctrl+V. Errors are shown in message boxes over the window.
class NamesTableTools : public QObject
{
    Q_OBJECT

public:
    // The names table's columns.
    static constexpr int nameColumn = 0;
    static constexpr int addressColumn = 1;

    NamesTableTools(QTableWidget *table, QCheckBox *showTable, QWidget *window);

    // Each returns whether it succeeded; on failure the table is unchanged.
    bool loadNames(const QString &path);
    bool saveNames(const QString &path);
    // Fills the name cells from the current row down, a line a row.
    void pasteNames(const QString &text);

    // The names typed so far, empty ones left out, by address.
    QHash<QString, QString> names() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showContextMenu(const QPoint &pos);
    void askLoad();
    void askSave();
    void setName(int row, const QString &name);

    QTableWidget *table;
    QCheckBox *showTable;
    QWidget *window;
};

#endif
