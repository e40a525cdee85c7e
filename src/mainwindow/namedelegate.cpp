#include "mainwindow/namedelegate.h"

#include <QKeyEvent>

bool NameDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor != nullptr && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            emit commitData(editor);
            emit closeEditor(editor, NoHint);
            emit leaveRequested(key == Qt::Key_Tab);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
