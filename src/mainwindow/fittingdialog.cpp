#include "mainwindow/fittingdialog.h"

#include <QApplication>
#include <QDialog>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>

void FittingDialog::apply(QDialog *dialog, QLayout *buttons)
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
    // Tab scrolls to the field it reaches, a mnemonic or a click would not. Only to a field of its
    // own: while the dialog goes, the focus leaves a field of a scroll area half gone.
    QObject::connect(qApp, &QApplication::focusChanged, scroll, [scroll, content](QWidget * /*old*/, QWidget *now) {
        if (now != nullptr && content->isAncestorOf(now))
            scroll->ensureWidgetVisible(now);
    });
    auto *outer = new QVBoxLayout(dialog);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    if (auto *holder = qobject_cast<QLayout *>(buttons->parent()))
        holder->removeItem(buttons);
    const QMargins margins = content->layout()->contentsMargins();
    buttons->setContentsMargins(margins.left(), 0, margins.right(), margins.bottom());
    outer->addLayout(buttons);

    // It opens over its parent, on that one's screen, with a frame as the parent has.
    const QWidget *parent = dialog->parentWidget() != nullptr ? dialog->parentWidget()->window() : nullptr;
    const QScreen *screen = parent != nullptr ? parent->screen() : dialog->screen();
    const QSize frame = parent != nullptr ? parent->frameGeometry().size() - parent->size() : QSize(0, 0);
    // A layout may hint at less than its least size.
    const QSize shown = content->sizeHint().expandedTo(content->minimumSizeHint());
    const QSize wanted(std::max(shown.width(), buttons->sizeHint().width()),
                       shown.height() + outer->spacing() + buttons->sizeHint().height());
    dialog->resize(wanted.expandedTo(dialog->size()).boundedTo(screen->availableSize() - frame));
}
