#include "mainwindow/reportqueue.h"

#include <QApplication>

void ReportQueue::show(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                       const QString &details)
{
    auto *report = new QMessageBox(icon, title, text, QMessageBox::Ok, parent);
    report->setInformativeText(details);
    report->setAttribute(Qt::WA_DeleteOnClose);
    report->setModal(true);
    instance()->add(report);
}

// One for the application, gone with it.
ReportQueue *ReportQueue::instance()
{
    static QPointer<ReportQueue> queue;
    if (queue.isNull())
        queue = new ReportQueue(QCoreApplication::instance());
    return queue;
}

void ReportQueue::add(QMessageBox *report)
{
    // Only while reports wait: the filter sees every event of the application.
    if (waiting.isEmpty())
        QCoreApplication::instance()->installEventFilter(this);
    waiting.append(report);
    connect(report, &QObject::destroyed, this, &ReportQueue::lookLater);
    // Never at once: a box inside an editor's commit or the window's construction would come
    // in the middle of them.
    lookLater();
}

// A modal widget that closes unblocks the windows behind it, or at least hides; a window shown
// may show its reports.
bool ReportQueue::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    const bool window = watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow();
    if (type == QEvent::WindowUnblocked || (window && (type == QEvent::Show || type == QEvent::Hide)))
        lookLater();
    return QObject::eventFilter(watched, event);
}

// From the event loop, once for any number of events, when the widgets have settled.
void ReportQueue::lookLater()
{
    if (lookQueued)
        return;
    lookQueued = true;
    QMetaObject::invokeMethod(this, &ReportQueue::showNext, Qt::QueuedConnection);
}

// Never over a question the user is answering, nor on its own after its window closed. The box
// shown is modal itself, so the next waits until it is closed.
void ReportQueue::showNext()
{
    lookQueued = false;
    waiting.removeIf([](const QPointer<QMessageBox> &report) { return report.isNull(); });
    if (QApplication::activeModalWidget() == nullptr) {
        const auto free = std::find_if(waiting.cbegin(), waiting.cend(), [](const QPointer<QMessageBox> &report) {
            return report->parentWidget() == nullptr || report->parentWidget()->window()->isVisible();
        });
        if (free != waiting.cend()) {
            QMessageBox *report = *free;
            waiting.erase(free);
            report->show();
        }
    }
    if (waiting.isEmpty())
        QCoreApplication::instance()->removeEventFilter(this);
}
