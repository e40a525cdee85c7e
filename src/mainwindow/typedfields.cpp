#include "mainwindow/typedfields.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

TypedFields::TypedFields(QDialog *dialog, QComboBox *list)
    : QObject(dialog)
    , dialog(dialog)
    , list(list)
{
    dialog->installEventFilter(this);
    // The box takes its text when the focus leaves it (a list of matches opens as one types, and
    // comes and goes with the box), not when another window takes the focus.
    connect(qApp, &QApplication::focusChanged, this, &TypedFields::focusMoved);
}

void TypedFields::focusMoved(const QWidget *old, const QWidget *now)
{
    // The box is an ancestor of itself; of no widget where there is none.
    if (list->isAncestorOf(old) && now != nullptr && !list->isAncestorOf(now) && now != list->completer()->popup())
        takeListed();
}

bool TypedFields::take()
{
    QWidget *focus = dialog->focusWidget();
    if (list->isAncestorOf(focus))
        return takeListed();
    for (QWidget *widget = focus; widget != nullptr; widget = widget->parentWidget()) {
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget)) {
            const bool refused = !spin->hasAcceptableInput();
            spin->interpretText();
            return !refused;
        }
    }
    return true;
}

// The box shows what is chosen, not a text that names no sheet or several.
bool TypedFields::takeListed()
{
    const QString typed = list->lineEdit()->text();
    const QString chosen = list->itemText(list->currentIndex()); // currentText() is what is typed
    if (typed == chosen)
        return true;
    QList<int> named;
    for (int item = 0; item < list->count(); ++item) {
        if (list->itemText(item).contains(typed.trimmed(), Qt::CaseInsensitive))
            named.append(item);
    }
    if (named.size() == 1) {
        list->setCurrentIndex(named.constFirst());
        list->setEditText(list->itemText(list->currentIndex()));
        return true;
    }
    list->completer()->popup()->hide();
    list->setEditText(chosen);
    emit refused(named.isEmpty() ? tr("„%1“ nennt kein Format der Liste. Es bleibt bei %2.").arg(typed, chosen)
                                 : tr("„%1“ passt auf %n Formate der Liste: eines davon wählen. Es bleibt bei %2.",
                                      nullptr, static_cast<int>(named.size()))
                                       .arg(typed, chosen));
    return false;
}

// Return in a field takes what it holds (the field does that) and presses no button; a button
// with the focus presses itself before the event comes here.
bool TypedFields::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != dialog || event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    return (key == Qt::Key_Return || key == Qt::Key_Enter)
           && qobject_cast<QPushButton *>(dialog->focusWidget()) == nullptr;
}
