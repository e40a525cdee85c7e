// Shows the program's window ("window"), the same with its names table until that is painted
// with the stored names ("names"), or a bare Qt window ("bare"); prints the moment that frame
// is painted as nanoseconds of the steady clock, and quits.
#include "document/namesdocument.h"
#include "mainwindow/appsetup.h"
#include "mainwindow/veskar.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

void report()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("%lld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
    QCoreApplication::quit();
}

// The first paint event, of the watched widget once it is armed, starts the frame; a zero
// timer fires once the whole frame is painted.
class PaintReporter : public QObject
{
public:
    explicit PaintReporter(const QObject *watched = nullptr, bool armed = true)
        : watched(watched)
        , armed(armed)
    {
    }

    void arm() { armed = true; }

protected:
    bool eventFilter(QObject *target, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && armed && !painted && (watched == nullptr || target == watched)) {
            painted = true;
            QTimer::singleShot(0, qApp, &report);
        }
        return QObject::eventFilter(target, event);
    }

private:
    const QObject *watched;
    bool armed;
    bool painted = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString kind = arguments.value(1);

    if (kind == QStringLiteral("bare")) {
        PaintReporter reporter;
        app.installEventFilter(&reporter);
        QWidget window;
        window.setVisible(true);
        return QApplication::exec();
    }
    AppSetup::apply();
    VeskAr window;
    const bool names = kind == QStringLiteral("names");
    QWidget *table = window.adrTable->viewport();
    PaintReporter reporter(names ? table : nullptr, !names);
    app.installEventFilter(&reporter);
    if (names) {
        window.viewTable->setChecked(true);
        // A table the names leave as it was is painted once more, as one they fill is.
        QObject::connect(&window.findChild<NamesDocument *>()->store(), &SharedStore::restored, table, [&] {
            reporter.arm();
            table->update();
        });
    }
    window.setVisible(true);
    return QApplication::exec();
}
