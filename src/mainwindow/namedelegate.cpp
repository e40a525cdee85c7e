#include "mainwindow/namedelegate.h"

#include "mainwindow/namevalidator.h"
#include "names/nameforms.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QToolTip>

QWidget *NameDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // Whatever is typed into a row the search hides would go unseen.
    const auto *view = qobject_cast<const QTableView *>(option.widget);
    if (view != nullptr && view->isRowHidden(index.row()))
        return nullptr;
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        const int row = index.row();
        connect(line, &QLineEdit::textChanged, line, [this, line, row] { emit editorTextChanged(line, row); });
    }
    return editor;
}

void NameDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (line == nullptr) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    if (line->isModified())
        return;
    // A name stored with hidden characters keeps them while the user edits the rest.
    delete line->validator();
    auto *validator = new NameValidator(index.data(Qt::EditRole).toString(), line);
    line->setValidator(validator);
    // Says why it takes no more.
    connect(validator, &NameValidator::refused, line, [line](const QString &reason) {
        QToolTip::showText(line->mapToGlobal(QPoint(0, line->height())), reason, line);
    });
    QStyledItemDelegate::setEditorData(editor, index);
}

QString NameDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    return NameForms::visible(QStyledItemDelegate::displayText(value, locale));
}

void NameDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // In its own direction, its first letter's, from where names start, as QPainter prints it.
    option->direction = option->text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    option->displayAlignment |= Qt::AlignAbsolute;
}

bool NameDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor != nullptr && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        // Committed at once, not later from the event loop as Qt does it, so that keys typed
        // ahead of a busy window reach the next row, not this editor.
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit commitData(editor);
            emit closeEditor(editor, SubmitModelCache);
            return true;
        }
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            emit commitData(editor);
            emit closeEditor(editor, NoHint);
            emit leaveRequested(key == Qt::Key_Tab);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
