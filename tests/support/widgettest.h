#ifndef WIDGETTEST_H
#define WIDGETTEST_H

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <optional>

// Helpers for the suites that show widgets: message boxes caught, pixels read.
namespace WidgetTest {

// Records and closes every message box that opens while it lives, so none can hang a test.
class MessageBoxCatcher
{
public:
    struct Box
    {
        QMessageBox::Icon icon;
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
                box->done(QMessageBox::Ok);
            }
        });
        timer.start(5);
    }

    // The one box that a step shows, taken; nothing if none or more than one came.
    std::optional<Box> takeOne()
    {
        if (QTest::qWaitFor([this] { return !boxes.isEmpty(); }, 2000))
            QTest::qWait(30); // a second box would come now
        const std::optional<Box> box = boxes.size() == 1 ? std::optional(boxes.front()) : std::nullopt;
        boxes.clear();
        return box;
    }

    QList<Box> boxes;

private:
    QTimer timer;
};

inline QImage grabbed(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The display row of each knob on a panel's image (0 top, 1 middle, 2 bottom), -1 where
// none is found. A knob is 20 x 20 black pixels at x = 5 + 25 * index, y = 15 + 20 * row,
// with no black just above and beside it.
inline QList<int> knobRows(const QImage &image)
{
    const auto black = [&image](int x, int y) { return image.pixel(x, y) == qRgb(0, 0, 0); };
    const auto knobAt = [&black](int left, int top) {
        for (int y = top; y < top + 20; ++y) {
            for (int x = left; x < left + 20; ++x) {
                if (!black(x, y))
                    return false;
            }
        }
        return !black(left + 10, top - 2) && !black(left - 1, top + 10) && !black(left + 20, top + 10);
    };
    QList<int> rows;
    for (int index = 0; index < 5; ++index) {
        QList<int> found;
        for (int row = 0; row < 3; ++row) {
            if (knobAt(5 + 25 * index, 15 + 20 * row))
                found.append(row);
        }
        rows.append(found.size() == 1 ? found.front() : -1);
    }
    return rows;
}

} // namespace WidgetTest

#endif
