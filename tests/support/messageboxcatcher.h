#ifndef MESSAGEBOXCATCHER_H
#define MESSAGEBOXCATCHER_H

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Records and closes every message box that opens while it lives.
class MessageBoxCatcher
{
public:
    struct Box
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QString informativeText;
        QMessageBox::StandardButtons buttons;
    };

    MessageBoxCatcher()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                boxes.append(
                    {box->icon(), box->windowTitle(), box->text(), box->informativeText(), box->standardButtons()});
                box->done(QMessageBox::Ok);
            }
        });
        timer.start(5);
    }

    QList<Box> boxes;

private:
    QTimer timer;
};

#endif
