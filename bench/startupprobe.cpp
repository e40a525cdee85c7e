// Shows the program's window ("window") or a bare Qt window ("bare"), prints the
// moment its first frame is painted as nanoseconds of the steady clock, and quits.
#include "mainwindow/appsetup.h"
#include "mainwindow/veskar.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

// The first paint event starts the first frame; a zero timer fires once the whole frame is painted.
class FirstPaintReporter : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            QTimer::singleShot(0, qApp, &report);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void report()
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("%lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    bool painted = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const bool bare = arguments.size() > 1 && arguments.at(1) == QStringLiteral("bare");

    FirstPaintReporter reporter;
    app.installEventFilter(&reporter);

    std::unique_ptr<QWidget> window;
    if (bare) {
        window = std::make_unique<QWidget>();
    } else {
        AppSetup::apply();
        window = std::make_unique<VeskAr>();
    }
    window->setVisible(true);
    return QApplication::exec();
}
