#ifndef PDFREADER_H
#define PDFREADER_H

#include <QList>
#include <QMap>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>

// Reads a PDF back with poppler's command-line tools; coordinates in points.
namespace PdfReader {

struct Word
{
    QString text;
    QRectF box;
};

inline QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QMap<QString, QString> info(const QString &path)
{
    QMap<QString, QString> fields;
    const QStringList lines = run(QStringLiteral("pdfinfo"), {path}).split(u'\n');
    for (const QString &line : lines) {
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0)
            fields.insert(line.left(colon), line.mid(colon + 1).trimmed());
    }
    return fields;
}

inline QList<Word> words(const QString &path)
{
    static const QRegularExpression wordPattern(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<Word> found;
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
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
