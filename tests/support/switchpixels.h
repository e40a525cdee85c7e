#ifndef SWITCHPIXELS_H
#define SWITCHPIXELS_H

#include <QImage>
#include <QList>

// Reads the panel's knobs back from its pixels.
namespace SwitchPixels {

inline bool isBlack(const QImage &image, int x, int y)
{
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

// A knob is 20 x 20 black pixels at x = 5 + 25 * index, with white just above and beside it.
inline bool knobAt(const QImage &image, int index, int top)
{
    const int left = 5 + 25 * index;
    for (int y = top; y < top + 20; ++y) {
        for (int x = left; x < left + 20; ++x) {
            if (!isBlack(image, x, y))
                return false;
        }
    }
    return !isBlack(image, left + 10, top - 2) && !isBlack(image, left - 1, top + 10)
           && !isBlack(image, left + 20, top + 10);
}

// The display row of each switch's knob (0 top, 1 middle, 2 bottom), -1 where none is found.
inline QList<int> knobRows(const QImage &image)
{
    QList<int> rows;
    for (int index = 0; index < 5; ++index) {
        QList<int> found;
        for (int row = 0; row < 3; ++row) {
            if (knobAt(image, index, 15 + 20 * row))
                found.append(row);
        }
        rows.append(found.size() == 1 ? found.front() : -1);
    }
    return rows;
}

} // namespace SwitchPixels

#endif
