#ifndef FONTCOVERAGE_H
#define FONTCOVERAGE_H

#include <QFont>
#include <QHash>
#include <QString>

class QPaintDevice;

// Which characters of a text would print as empty boxes: those that neither a font nor any
// font Qt falls back to on this machine has.
class FontCoverage
{
public:
    // The device is measured on only and must outlive this.
    FontCoverage(const QFont &font, const QPaintDevice *device);

    // The characters of a text that no font has, each once.
    QString missingCharacters(const QString &text) const;

private:
    bool prints(char32_t c) const;

    QFont font;
    const QPaintDevice *device;
    mutable QHash<char32_t, bool> printable;
};

#endif
