#ifndef PDFREADER_H
#define PDFREADER_H

#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>

// Reads a PDF back with poppler's pdftotext; coordinates in points.
namespace PdfReader {

struct Word
{
    QString text;
    QRectF box;
    bool operator==(const Word &other) const { return text == other.text && box == other.box; }
};

inline QString pdftotext(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The size of each page, as "842x595".
inline QStringList pages(const QString &path)
{
    static const QRegularExpression pagePattern(QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)">)re"));
    QStringList sizes;
    for (const QRegularExpressionMatch &m : pagePattern.globalMatch(pdftotext(path)))
        sizes.append(
            QStringLiteral("%1x%2").arg(qRound(m.captured(1).toDouble())).arg(qRound(m.captured(2).toDouble())));
    return sizes;
}

inline QList<Word> words(const QString &path)
{
    static const QRegularExpression wordPattern(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<Word> found;
    const QString html = pdftotext(path);
    for (const QRegularExpressionMatch &m : wordPattern.globalMatch(html)) {
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        QString text = m.captured(5);
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&"))
            .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&quot;"), QStringLiteral("\""));
        found.append({text, QRectF(topLeft, bottomRight)});
    }
    return found;
}

inline QList<Word> wordsNamed(const QList<Word> &all, const QString &text)
{
    QList<Word> matching;
    for (const Word &word : all) {
        if (word.text == text)
            matching.append(word);
    }
    return matching;
}

} // namespace PdfReader

#endif
