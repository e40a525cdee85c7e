#ifndef NAMEDELEGATE_H
#define NAMEDELEGATE_H

#include <QStyledItemDelegate>

// Edits a name. Tab and Shift+Tab commit and ask to leave the table, so the keyboard
// is never caught in it.
class NameDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

signals:
    void leaveRequested(bool forward);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;
};

#endif
