#ifndef REPORTQUEUE_H
#define REPORTQUEUE_H

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>

// Report boxes held back until they may be shown: a report coming while the user answers a
// question must not cover it and take the click meant for it. Each box opens from the event
// loop once its window is shown and no modal widget is open, in the order they came, and goes
// once closed.
class ReportQueue : public QObject
{
    Q_OBJECT

public:
    static void show(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                     const QString &details = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;

    static ReportQueue *instance();
    void add(QMessageBox *report);
    void lookLater();
    void showNext();

    QList<QPointer<QMessageBox>> waiting;
    bool lookQueued = false;
};

#endif
