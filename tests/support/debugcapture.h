#ifndef DEBUGCAPTURE_H
#define DEBUGCAPTURE_H

#include <QStringList>
#include <QtGlobal>

// Collects the debug lines written while it lives.
class DebugCapture
{
public:
    DebugCapture()
        : previous(qInstallMessageHandler(&DebugCapture::collect))
    {
        captured().clear();
    }
    ~DebugCapture() { qInstallMessageHandler(previous); }
    DebugCapture(const DebugCapture &) = delete;
    DebugCapture &operator=(const DebugCapture &) = delete;

    QStringList lines() const { return captured(); }

private:
    static QStringList &captured()
    {
        static QStringList lines;
        return lines;
    }
    static void collect(QtMsgType type, const QMessageLogContext & /*context*/, const QString &message)
    {
        if (type == QtDebugMsg)
            captured().append(message);
    }

    QtMessageHandler previous;
};

#endif
