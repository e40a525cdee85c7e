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
                if (QAbstractButton *button = findButton(box))
                    button->click();
                else
                    QTest::keyClick(box, Qt::Key_Escape); // as a user who declines whatever it offers
            }
        });
        timer.start(5);
    }

    // The one box that a step shows, taken; nothing if none or more than one came. The wait
    // ends with the first box; only a test about to fail waits it out.
    std::optional<Box> takeOne(int waitMs = 30000)
    {
        if (QTest::qWaitFor([this] { return !boxes.isEmpty(); }, waitMs))
            QTest::qWait(30); // a second box would come now
        std::optional<Box> box = boxes.size() == 1 ? std::optional(boxes.front()) : std::nullopt;
        boxes.clear();
        return box;
    }

    QList<Box> boxes;
    QString answer; // the button to click instead

private:
    QAbstractButton *findButton(QMessageBox *box) const
    {
        const QList<QAbstractButton *> buttons = box->buttons();
        const auto found = std::find_if(buttons.cbegin(), buttons.cend(),
                                        [this](const QAbstractButton *button) { return button->text() == answer; });
        return found == buttons.cend() ? nullptr : *found;
    }

    QTimer timer;
};

inline QImage grabbed(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Each knob's display row on a panel's image (0 top to 2 bottom; -1 none, -2 more than one):
// a knob is 20 x 20 pixels at x = 5 + 25 * index, y = 15 + 20 * row, black to its corners.
inline QList<int> knobRows(const QImage &image)
{
    QList<int> rows;
    for (int index = 0; index < 5; ++index) {
        int found = -1;
        for (int row = 0; row < 3; ++row) {
            const auto black = [&image](int x, int y) { return image.pixel(x, y) == qRgb(0, 0, 0); };
            if (black(6 + 25 * index, 16 + 20 * row) && black(24 + 25 * index, 34 + 20 * row))
                found = found == -1 ? row : -2;
        }
        rows.append(found);
    }
    return rows;
}

} // namespace WidgetTest

#endif
