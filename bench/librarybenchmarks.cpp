#include "longestnames.h"

#include "address/addresscodec.h"
#include "address/namedaddresses.h"
#include "document/namesdocument.h"
#include "mainwindow/namestable.h"
#include "page/hyphenation.h"
#include "page/labelspdf.h"
#include "page/namewrap.h"
#include "page/pageunits.h"
#include "page/tablepage.h"
#include "page/tablepdf.h"
#include "print/pageprinter.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStringList>
#include <QTableWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Resolution of the page image; print quality.
constexpr int imageResolution = 300;
constexpr int storeWaitMs = 30000;
// The print preview's size, as the dialog opens.
constexpr QSize previewSize(800, 600);
constexpr int shortCompound = 100;
constexpr int longestCompound = 1000; // the most characters a name may have

// A name in every cell, long enough to wrap onto three lines.
Names fullTable()
{
    Names names;
    for (int row = 0; row < NamedAddresses::count; ++row) {
        const QString key = NamedAddresses::keyOfRow(row);
        names.insert(key, QStringLiteral("Weichenantrieb Bahnhof Nord %1").arg(key));
    }
    return names;
}

// A name in every cell too long for it, so each is set smaller or shortened.
Names longNames()
{
    Names names;
    for (int row = 0; row < NamedAddresses::count; ++row) {
        names.insert(NamedAddresses::keyOfRow(row),
                     QStringLiteral("Weichenantrieb Straßenbeleuchtung Einfahrt Entkupplungsgleis Süd Nord ")
                         .repeated(1 + row % 3));
    }
    return names;
}

QString repeated(const QString &part, qsizetype length)
{
    return part.repeated(length / part.size() + 1).left(length);
}

void decode(benchmark::State &state)
{
    const QStringList texts{QStringLiteral("7C"), QStringLiteral("12H"), QStringLiteral(" 27 i "), QStringLiteral("A1"),
                            QStringLiteral("x9yJ")};
    while (state.KeepRunning()) {
        for (const QString &text : texts)
            benchmark::DoNotOptimize(AddressCodec::decode(text));
    }
    state.SetItemsProcessed(state.iterations() * texts.size());
}
BENCHMARK(decode);

void wrap(benchmark::State &state, const QString &name)
{
    const CharWidth arial = arialScreenWidth();
    while (state.KeepRunning())
        benchmark::DoNotOptimize(wrapName(name, nameWrapWidth, arial));
    state.SetItemsProcessed(state.iterations() * name.size());
}
BENCHMARK_CAPTURE(wrap, short, QStringLiteral("Weichenantrieb Bahnhof Nord"));
BENCHMARK_CAPTURE(wrap, words10000, repeated(QStringLiteral("Signal Einfahrt "), 10000))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(wrap, oneWord10000, QString(10000, u'x'))->Unit(benchmark::kMicrosecond);

// The places of a compound never seen before (none is remembered), as long as the argument:
// the time per letter stays the same from 100 letters to the 1,000 a name may have.
void hyphenateNewWord(benchmark::State &state)
{
    const QString syllables = QStringLiteral("gleisbesetztmeldungweichenantriebbahnübergangssicherungsanlage");
    const QString digits = QStringLiteral("qxjv");
    for (qint64 count = 0; state.KeepRunning(); ++count) {
        state.PauseTiming();
        QString word; // a prefix of its own, then syllables
        for (qint64 rest = count; rest > 0; rest /= digits.size())
            word += digits.at(rest % digits.size());
        for (qsizetype i = word.size(); i < state.range(0); ++i)
            word += syllables.at(i % syllables.size());
        state.ResumeTiming();
        benchmark::DoNotOptimize(Hyphenation::german().breaks(word));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(hyphenateNewWord)->Arg(shortCompound)->Arg(longestCompound)->Unit(benchmark::kMicrosecond);

void paintPageIntoImage(benchmark::State &state)
{
    const Names names = fullTable();
    const int pageWidth = TablePdf::pageWidth();
    const qreal scale = qreal(imageResolution) / PageUnits::perInch;
    QImage image(TablePdf::pageLayout.paintRectPixels(imageResolution).size(), QImage::Format_RGB32);
    while (state.KeepRunning()) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(scale, scale);
        TablePage(names).paint(painter, pageWidth);
    }
    state.counters["pixels"] = double(image.width()) * image.height();
}
BENCHMARK(paintPageIntoImage)->Unit(benchmark::kMillisecond);

void writePdf(benchmark::State &state, const Names &names)
{
    const QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(TablePdf::fileName);
    while (state.KeepRunning()) {
        if (!TablePdf::write(path, names).ok) {
            state.SkipWithError("the PDF could not be written");
            break;
        }
    }
    state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK_CAPTURE(writePdf, threeLines, fullTable())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(writePdf, longNames, longNames())->Unit(benchmark::kMillisecond);

// What "vesk-dipp render --check" does: every name fitted into its cell, nothing written.
void checkLongestNames(benchmark::State &state)
{
    const PageDocument page = TablePdf::document(longestNames());
    while (state.KeepRunning())
        benchmark::DoNotOptimize(page.fits());
}
BENCHMARK(checkLongestNames)->Unit(benchmark::kMillisecond);

void writeLabels(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(LabelsPdf::fileName);
    const Names names = longNames();
    while (state.KeepRunning()) {
        if (!LabelsPdf::document(names, LabelSheet::formats().constFirst(), LabelsPdf::namedKeys(names), 1)
                 .writePdf(path)
                 .ok) {
            state.SkipWithError("the labels could not be written");
            break;
        }
    }
    state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(writeLabels)->Unit(benchmark::kMillisecond);

// "Drucken…" up to the first page shown: the preview laid out and painted once.
void printPreview(benchmark::State &state)
{
    const PageDocument page = TablePdf::document(longNames());
    while (state.KeepRunning()) {
        QPrinter printer(QPrinter::HighResolution);
        PagePrinter::prepare(printer, page);
        QPrintPreviewWidget preview(&printer);
        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                         [&page](QPrinter *target) { PagePrinter::print(*target, page); });
        preview.resize(previewSize);
        preview.updatePreview();
        benchmark::DoNotOptimize(preview.grab());
    }
}
BENCHMARK(printPreview)->Unit(benchmark::kMillisecond);

} // namespace

// One edit in a window whose 96 stored names are all too long: merged into the store under
// its lock by the store's thread, and the names table marked anew.
void editStoredNames(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QString store = QDir(dir.path()).filePath(QStringLiteral("namen.csv"));
    if (NamesCsv::writeFile(store, longNames()).kind != NamesCsv::ErrorKind::None) {
        state.SkipWithError("the names could not be stored");
        return;
    }
    NamesDocument document(store);
    document.restore();
    QTableWidget table(0, 2); // name and address, as in the window
    const NamesTable view(&table, &document);
    int edits = 0;
    while (state.KeepRunning()) {
        document.setName(QStringLiteral("7C"), QStringLiteral("Weiche %1").arg(++edits));
        if (!document.store().waitStored(storeWaitMs)) {
            state.SkipWithError("the edit could not be stored");
            break;
        }
    }
}
BENCHMARK(editStoredNames)->Unit(benchmark::kMillisecond);
