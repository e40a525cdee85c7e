#ifndef NAMEDELEGATE_H
#define NAMEDELEGATE_H

#include <QStyledItemDelegate>

#include <functional>

class QLineEdit;

// Edits a name. Tab and Shift+Tab commit and ask to leave the table, so the keyboard
// is never caught in it; the marker marks the text while the user types.
class NameDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using Marker = std::function<void(QLineEdit *editor, int row)>;

    NameDelegate(Marker marker, QObject *parent);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

signals:
    void leaveRequested(bool forward);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    Marker marker;
};

#endif
