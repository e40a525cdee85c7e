#ifndef QUITSIGNALS_H
#define QUITSIGNALS_H

#include <QObject>

// The system's requests to end (SIGTERM at a logout without a session manager, SIGHUP when
// the terminal closes, SIGINT for Ctrl+C) as a Qt signal from the event loop, so that what
// is not stored yet can be stored first. A second request ends the program at once. A request
// ignored when the program started (nohup) stays ignored. One at a time; Windows has none.
class QuitSignals : public QObject
{
    Q_OBJECT

public:
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;

signals:
    void received();
};

#endif
