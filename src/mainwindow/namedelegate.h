#ifndef NAMEDELEGATE_H
#define NAMEDELEGATE_H

#include <QStyledItemDelegate>

class QLineEdit;

// Edits a name. Return commits at once; Tab and Shift+Tab commit and ask to leave the
// table, so the keyboard is never caught in it; every change of the text is told, so it can be marked while
// the user types. A name is shown with its hidden characters as symbols, and laid out in its
// own direction from where names start, as it prints. A row the view hides is not edited.
class NameDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // A name that arrives from elsewhere while the editor is open does not replace what the user typed.
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    // With its hidden characters as symbols; the editor has the name as it is.
    QString displayText(const QVariant &value, const QLocale &locale) const override;

signals:
    void editorTextChanged(QLineEdit *editor, int row) const;
    void leaveRequested(bool forward);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *object, QEvent *event) override;
};

#endif
