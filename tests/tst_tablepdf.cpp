#include "page/namewrap.h"
#include "page/tablepage.h"
#include "page/tablepdf.h"
#include "panel/arlabel.h"
#include "support/files.h"
#include "support/messageboxcatcher.h"
#include "support/pdfreader.h"
#include "support/readonlydir.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using PdfReader::Word;

namespace {

constexpr double pointsPerUnit = 72.0 / 1200.0;
constexpr double margin = 10.0;

// Where a point of the table (after its 100, 1200 translation) lands on the page, in points.
double pageX(double tableX)
{
    return margin + (100 + tableX) * pointsPerUnit;
}
double pageY(double tableY)
{
    return margin + (1200 + tableY) * pointsPerUnit;
}

} // namespace

class TestTablePdf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void oneA4LandscapePage();
    void captionsOnGrid();
    void headings();
    void namesAtTheirCells();
    void renderInPaintReportsSuccessOnce();
    void renderReplacesOlderFile();
    void failedRenderWarnsAndKeepsOldFile();

private:
    QString pdfPath() const { return dir->filePath(TablePdf::fileName); }
    void renderWithPanel(MessageBoxCatcher &catcher, QString *addressAfter = nullptr);

    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
    QList<Word> sampleWords;
    const QHash<QString, QString> sampleNames{
        {QStringLiteral("3B"), QStringLiteral("Weichenantrieb Grüße Süd Bahnhof Nord")},
        {QStringLiteral("12H"), QStringLiteral("Ölpumpe")},
    };
};

void TestTablePdf::initTestCase()
{
    previousDir = QDir::currentPath();
    QTemporaryDir sampleDir;
    const QString sample = sampleDir.filePath(QStringLiteral("sample.pdf"));
    QVERIFY(TablePdf::write(sample, sampleNames).ok);
    sampleWords = PdfReader::words(sample);
    QVERIFY2(!sampleWords.isEmpty(), "pdftotext found no words");
}

void TestTablePdf::cleanupTestCase()
{
    QDir::setCurrent(previousDir);
}

void TestTablePdf::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(QDir::setCurrent(dir->path()));
}

void TestTablePdf::oneA4LandscapePage()
{
    QVERIFY(TablePdf::write(pdfPath(), {}).ok);
    const QMap<QString, QString> info = PdfReader::info(pdfPath());
    QCOMPARE(info.value(QStringLiteral("Pages")), QStringLiteral("1"));
    const QStringList size = info.value(QStringLiteral("Page size")).split(u' ');
    QVERIFY(size.size() >= 3);
    QCOMPARE(qRound(size[0].toDouble()), 842);
    QCOMPARE(qRound(size[2].toDouble()), 595);
}

void TestTablePdf::captionsOnGrid()
{
    const QList<Word> a12 = PdfReader::wordsNamed(sampleWords, QStringLiteral("A12"));
    QCOMPARE(a12.size(), 1);
    // Left-aligned in its rectangle at x 20, vertically centred on the 230 units high cell.
    QVERIFY(qAbs(a12[0].box.left() - pageX(20)) < 1.5);
    QVERIFY(qAbs(a12[0].box.center().y() - pageY(115)) < 2.0);

    for (int column = 0; column < 8; ++column) {
        for (int row = 0; row < 12; ++row) {
            const QString caption = TablePage::cellAddress(column, row);
            const QList<Word> found = PdfReader::wordsNamed(sampleWords, caption);
            QVERIFY2(found.size() == 1, qPrintable(caption));
            QVERIFY2(qAbs(found[0].box.left() - a12[0].box.left() - 99.0 * column) < 0.2, qPrintable(caption));
            QVERIFY2(qAbs(found[0].box.top() - a12[0].box.top() - 42.0 * row) < 0.2, qPrintable(caption));
        }
    }
}

void TestTablePdf::headings()
{
    // Text of the words whose centre lies in a band, in reading order, and the band's centre.
    const auto line = [this](double top, double bottom, double left, double right) {
        QStringList texts;
        QRectF span;
        for (const Word &word : sampleWords) {
            const QPointF c = word.box.center();
            if (c.y() > top && c.y() < bottom && c.x() > left && c.x() < right) {
                texts.append(word.text);
                span = span.isNull() ? word.box : span.united(word.box);
            }
        }
        return qMakePair(texts.join(u' '), span.center().x());
    };
    const double pageWidth = 842 - 2 * margin;
    const auto heading = line(margin, margin + 24, 0, 842);
    QCOMPARE(heading.first, TablePage::heading);
    QVERIFY(qAbs(heading.second - (margin + pageWidth / 2)) < 2);
    const auto left = line(margin + 50, margin + 60, 0, margin + pageWidth / 2);
    QCOMPARE(left.first, QStringLiteral("Steuermodul 3217"));
    QVERIFY(qAbs(left.second - (margin + pageWidth / 4)) < 2);
    const auto right = line(margin + 50, margin + 60, margin + pageWidth / 2, 842);
    QCOMPARE(right.first, QStringLiteral("Erweiterungsmodul 3217E"));
    QVERIFY(qAbs(right.second - (margin + pageWidth * 3 / 4)) < 2);
}

void TestTablePdf::namesAtTheirCells()
{
    const QList<Word> pump = PdfReader::wordsNamed(sampleWords, QStringLiteral("Ölpumpe"));
    QCOMPARE(pump.size(), 1);
    QVERIFY(qAbs(pump[0].box.left() - pageX(1650 * 7 + 810)) < 1.5);
    QVERIFY(pump[0].box.top() < pageY(0) && pump[0].box.bottom() > pageY(0) - 1);

    // 3B is column B, row 9; each wrapped line stands 140 units below the one before.
    const QStringList parts = wrapName(sampleNames.value(QStringLiteral("3B"))).split(u'\n');
    QVERIFY(parts.size() >= 3);
    for (int n = 0; n < parts.size(); ++n) {
        const QString firstWord = parts[n].section(u' ', 0, 0);
        const QList<Word> found = PdfReader::wordsNamed(sampleWords, firstWord);
        QVERIFY2(found.size() == 1, qPrintable(firstWord));
        QVERIFY(qAbs(found[0].box.left() - pageX(1650 + 810)) < 1.5);
        const double baseline = pageY(700 * 9 + 140 * n);
        QVERIFY2(found[0].box.top() < baseline && found[0].box.bottom() > baseline - 1, qPrintable(firstWord));
    }
}

void TestTablePdf::renderWithPanel(MessageBoxCatcher &catcher, QString *addressAfter)
{
    ArLabel panel;
    panel.setStrAdr(QStringLiteral("7C"));
    panel.show();
    panel.startTableRender();
    panel.startTableRender();
    panel.repaint();
    QTRY_COMPARE(catcher.boxes.size(), 1);
    QTest::qWait(50);

    if (addressAfter)
        *addressAfter = panel.getStrAdr();
}

void TestTablePdf::renderInPaintReportsSuccessOnce()
{
    MessageBoxCatcher catcher;
    QString addressAfter;
    renderWithPanel(catcher, &addressAfter);
    // The render leaves the panel on its own address.
    QCOMPARE(addressAfter, QStringLiteral("7C"));
    QCOMPARE(catcher.boxes.size(), 1);
    QCOMPARE(catcher.boxes[0].icon, QMessageBox::Information);
    QCOMPARE(catcher.boxes[0].title, QStringLiteral("Tabelle rendern"));
    QCOMPARE(catcher.boxes[0].text, QStringLiteral("Tabelle wurde erfolgreich gerendert und gespeichert."));
    QCOMPARE(catcher.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{TablePdf::fileName});
    QVERIFY(Files::read(pdfPath()).startsWith("%PDF"));
}

void TestTablePdf::renderReplacesOlderFile()
{
    QVERIFY(Files::write(pdfPath(), "old table"));
    MessageBoxCatcher catcher;
    renderWithPanel(catcher);
    QCOMPARE(PdfReader::info(pdfPath()).value(QStringLiteral("Pages")), QStringLiteral("1"));
}

void TestTablePdf::failedRenderWarnsAndKeepsOldFile()
{
    QVERIFY(Files::write(pdfPath(), "old table"));
    MessageBoxCatcher catcher;
    {
        ReadOnlyDir readOnly(dir->path());
        renderWithPanel(catcher);
    }
    QCOMPARE(catcher.boxes.size(), 1);
    QCOMPARE(catcher.boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(catcher.boxes[0].title, QStringLiteral("Tabelle rendern"));
    QVERIFY(catcher.boxes[0].text.contains(QStringLiteral("konnte nicht gespeichert werden")));
    QVERIFY(catcher.boxes[0].text.contains(QDir::toNativeSeparators(pdfPath())));
    QCOMPARE(Files::read(pdfPath()), QByteArray("old table"));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{TablePdf::fileName});
}

QTEST_MAIN(TestTablePdf)
#include "tst_tablepdf.moc"
