#ifndef PAGETEST_H
#define PAGETEST_H

#include "page/labelsheet.h"
#include "page/labelspdf.h"
#include "page/tablegeometry.h"
#include "page/tablepdf.h"
#include "print/printreport.h"
#include "support/coretest.h"

#include <QImage>
#include <QPainter>

using Pdf::Word;

// scripts/check-windows reads the Windows PDF back on Linux.
#ifdef Q_OS_WIN
#define VESK_SKIP_OFF_LINUX() QSKIP("pdftotext and pdftoppm, which read the PDFs back, run on Linux only")
#else
#define VESK_SKIP_OFF_LINUX()
#endif

// Pages drawn and read back: where the table's points land, ink along lines, and names in every corner of the table.
namespace PageTest {

constexpr int pageWidth = 13700; // A4 landscape less 10 pt margins, at 1200 per inch
constexpr QPoint tableOrigin(100, 1200);
constexpr double pointsPerUnit = 72.0 / 1200.0;
constexpr double margin = 10.0;
constexpr double mm = 72 / 25.4;      // in points
constexpr double arialHeight = 1.117; // a word's box from descent to ascent, in points a point

// Where a point of the table lands on the PDF page, in points.
inline QPointF onPage(double tableX, double tableY)
{
    return QPointF(margin, margin) + (QPointF(tableOrigin) + QPointF(tableX, tableY)) * pointsPerUnit;
}

// An image of a part of a page (units of 1/1200 inch) at 1200 dpi / shrink, white where nothing is.
inline QImage drawn(const QRect &part, int shrink, const std::function<void(QPainter &)> &paint)
{
    QImage image(part.size() / shrink, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(1200 / 0.0254)); // text as at 1200 dpi, scaled with the rest
    image.setDotsPerMeterY(image.dotsPerMeterX());
    QPainter painter(&image);
    painter.setWindow(part); // onto the whole image
    paint(painter);
    return image;
}

// The runs of ink (black, or a thin line's grey) along row y from x0 to x1 longer than a minimum: first pixel, length.
inline QList<QPair<int, int>> inkRuns(const QImage &image, int y, int x0, int x1, double longerThan = 0)
{
    QList<QPair<int, int>> runs;
    for (int x = x0; x < x1; ++x) {
        if (qGray(image.pixel(x, y)) >= 240)
            continue;
        if (runs.isEmpty() || runs.last().first + runs.last().second < x)
            runs.append({x, 0});
        ++runs.last().second;
    }
    runs.removeIf([longerThan](const QPair<int, int> &run) { return run.second <= longerThan; });
    return runs;
}

// The runs of ink along a horizontal or vertical line of an image, each "from-to" in pixels times scale, to a tenth.
inline QString inkAlong(const QImage &image, const QLineF &line, double scale = 1)
{
    const bool down = line.dx() == 0;
    const QLineF along = down ? QLineF(line.p1().transposed(), line.p2().transposed()) : line;
    QStringList runs;
    for (const auto &[first, length] : inkRuns(down ? image.transformed(QTransform(0, 1, 1, 0, 0, 0)) : image,
                                               qRound(along.y1()), qRound(along.x1()), qRound(along.x2())))
        runs.append(QString::number(qRound(first * scale * 10) / 10.0) + u'-'
                    + QString::number(qRound((first + length) * scale * 10) / 10.0));
    return runs.join(u' ');
}

// Names of one to ten lines, without spaces or with a line break, in every corner of the table.
inline const Names names{
    {"12A", "Weiche\t4"}, // a tab prints as a space
    {"3B", "Signal Nord Gleis 3"},
    {"7C", "Weichenantrieb Straßenbeleuchtung Einfahrt"},
    {"1D", "Entkupplungsgleis Süd Nord Bahnhof West Einfahrt"},
    {"5D", "Zeile eins\nZeile zwei\nZeile drei"},
    {"12H", "Ölpumpe\tRand"},                                 // at the page's edge
    {"11H", "Signal Nord Signal Süd Signal Ost Signal West"}, // four lines, the most that fit
    {"10H", u"Hauptsignal Vorsignal "_s.repeated(5)},
    {"1H", u"Ab"_s.repeated(150)},
    {"6E", u"Lokschuppen Drehscheibe Rangiergleis Bahnübergang Schranke "_s.repeated(3)},
    {"6G", "Entkupplungsgleis Bahnhof Nord Rangiergleis"},      // bounded by H's captions
    {"1A", "Gleis Nord Süd Ost"},                               // one step smaller, unbroken
    {"9A", u"Gleisweichenantriebsentkupplung "_s.repeated(2)},  // broken: 6 pt, between sizes too large
    {"5A", "Weichenantriebsgleis"},                             // unbroken at 5 pt only
    {"11A", u"Entkupplungsgleisweichenantrieb "_s.repeated(3)}, // broken at 5 pt only
    {"2C", "Schnee ☃"},                                         // in a font Qt falls back to, if any has it
    {"4C", "Pr \uE000"},                                        // in no font
    {"13A", "nie"},
};

// A work folder, and no printer of the user's.
struct Work
{
    Work()
    {
        qputenv("XDG_CONFIG_HOME", dir.filePath(u"config"_s).toUtf8()); // printers' offsets
        qputenv("CUPS_SERVER", dir.filePath(u"cups.sock"_s).toUtf8());  // no print service: none of the user's printers
    }
    QTemporaryDir dir;
};

} // namespace PageTest

using namespace PageTest; // the page suites' own helpers, unqualified

#endif
