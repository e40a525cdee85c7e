#include "mainwindow/fittingdialog.h"

#include <QDialog>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>

void FittingDialog::apply(QDialog *dialog)
{
    // The content takes the dialog's layout, and with it every widget laid out in it.
    auto *content = new QWidget;
    content->setLayout(dialog->layout());
    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    // Not a stop of its own for Tab: it shows nothing, and a screen reader would read an empty filler.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(content);
    auto *outer = new QVBoxLayout(dialog);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    // It opens over its parent, on that one's screen, with a frame as the parent has.
    const QWidget *parent = dialog->parentWidget() != nullptr ? dialog->parentWidget()->window() : nullptr;
    const QScreen *screen = parent != nullptr ? parent->screen() : dialog->screen();
    const QSize frame = parent != nullptr ? parent->frameGeometry().size() - parent->size() : QSize(0, 0);
    dialog->resize(content->sizeHint().expandedTo(dialog->size()).boundedTo(screen->availableSize() - frame));
}
