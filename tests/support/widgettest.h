#ifndef WIDGETTEST_H
#define WIDGETTEST_H

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

// Helpers for the suites that show widgets: message boxes caught, pixels read.
namespace WidgetTest {

// Records and closes every message box that opens while it lives, so none can hang a test.
struct MessageBoxCatcher
{
    struct Box
    {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        QString text; // with the informative text on a line of its own
    };

    MessageBoxCatcher()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                const QString informative = box->informativeText();
                boxes.append({box->icon(), box->windowTitle(),
                              informative.isEmpty() ? box->text() : box->text() + u'\n' + informative});
                const QList<QAbstractButton *> buttons = box->buttons();
                const auto answered = std::find_if(buttons.cbegin(), buttons.cend(),
                                                   [this](const QAbstractButton *b) { return b->text() == answer; });
                if (answered != buttons.cend())
                    (*answered)->click();
                else
                    QTest::keyClick(box, answer == u"\n" ? Qt::Key_Return : Qt::Key_Escape);
            }
        });
        timer.start(5);
    }

    // The one box that a step shows, or an empty Box if none or several: waits for the first, then for what the
    // events it left bring.
    Box takeOne(int waitMs = 30000)
    {
        if (QTest::qWaitFor([this] { return !boxes.isEmpty(); }, waitMs))
            settle(); // a second box would come of them
        Box box = boxes.size() == 1 ? boxes.front() : Box{};
        boxes.clear();
        return box;
    }

    // Delivers the events already posted, and the deletions they leave, each box they open caught meanwhile.
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QList<Box> boxes;
    QString answer; // the button to click; "\n": Return, the default; none: Esc, as a user who declines all

    QTimer timer;
};

inline QImage grabbed(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Each knob's row on a panel's image (0 top to 2, -1 none, -2 several): 20 x 20, at 5 + 25 i, 15 + 20 row.
inline QList<int> knobRows(const QImage &image)
{
    const auto black = [&image](int x, int y) { return image.pixel(x, y) == qRgb(0, 0, 0); };
    QList<int> rows;
    for (int i = 0; i < 5; ++i) {
        int found = -1;
        for (int r = 0; r < 3; ++r)
            found = black(6 + 25 * i, 16 + 20 * r) && black(24 + 25 * i, 34 + 20 * r) ? (found == -1 ? r : -2) : found;
        rows.append(found);
    }
    return rows;
}

} // namespace WidgetTest

#endif
