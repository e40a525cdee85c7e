#ifndef TYPEDFIELDS_H
#define TYPEDFIELDS_H

#include <QObject>

class QComboBox;
class QDialog;

// What is typed into a dialog's fields counts before its buttons act, as in a spreadsheet:
// Return takes what a field holds and presses no button, and a button's shortcut, which
// leaves the field without that, takes it first. A sheet typed into the list's box is the
// one it names alone, or none.
class TypedFields : public QObject
{
    Q_OBJECT

public:
    TypedFields(QDialog *dialog, QComboBox *list);

    // Takes what the focused field holds; false where the field refuses it.
    bool take();

signals:
    void refused(const QString &reason);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusMoved(const QWidget *old, const QWidget *now);
    bool takeListed();

    QDialog *dialog;
    QComboBox *list;
};

#endif
