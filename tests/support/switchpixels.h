#ifndef SWITCHPIXELS_H
#define SWITCHPIXELS_H

#include <QImage>

// Reading the panel's knobs back from pixels.
namespace SwitchPixels {

inline bool isBlack(const QImage &image, int x, int y)
{
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

// A knob is 20 x 20 black pixels at x = 5 + 25 * index, with no black just around it.
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

// The top y of the knob that switch index shows: 15, 35 or 55, or -1 if none is found.
inline int knobTop(const QImage &image, int index)
{
    for (const int top : {15, 35, 55}) {
        if (knobAt(image, index, top))
            return top;
    }
    return -1;
}

} // namespace SwitchPixels

#endif
