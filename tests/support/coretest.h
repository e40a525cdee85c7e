#ifndef CORETEST_H
#define CORETEST_H

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <QDir>
#include <windows.h>
#endif

// Helpers for every suite: files, a folder no one may write to, a PDF read back.
namespace Files {

inline bool write(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

inline QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes a folder read-only while it lives. Root ignores permissions, so as root the
// process acts as the unprivileged user "nobody" meanwhile.
class ReadOnlyDir
{
public:
    explicit ReadOnlyDir(QString path)
        : path(std::move(path))
        , permissions(QFile::permissions(this->path))
    {
        const auto readable = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
        QFile::setPermissions(this->path, readable | QFile::ReadOther | QFile::ExeOther);
#ifdef Q_OS_UNIX
        droppedRoot = geteuid() == 0 && seteuid(nobody) == 0;
#endif
    }
    ~ReadOnlyDir()
    {
#ifdef Q_OS_UNIX
        if (droppedRoot && seteuid(0) != 0)
            qFatal("could not become root again");
#endif
        QFile::setPermissions(path, permissions);
    }

private:
    static constexpr unsigned nobody = 65534;
    QString path;
    QFile::Permissions permissions;
    bool droppedRoot = false;
};

// Makes a file impossible to replace while it lives, as the user's system would: on
// Windows it is held open as a PDF viewer or a spreadsheet holds it, sharing nothing or,
// if othersMayRead, only reading; elsewhere its folder is made read-only.
class Unreplaceable
{
public:
    explicit Unreplaceable(const QString &file, [[maybe_unused]] bool othersMayRead = false)
#ifdef Q_OS_WIN
        : handle(CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(file).utf16()), GENERIC_READ,
                             othersMayRead ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~Unreplaceable() { CloseHandle(handle); }

private:
    HANDLE handle;
#else
        : readOnly(QFileInfo(file).path())
    {
    }

private:
    ReadOnlyDir readOnly;
#endif
};

} // namespace Files

// pdftotext is a Linux tool; under Wine scripts/check-windows reads the PDF from Linux.
#ifdef Q_OS_WIN
#define SKIP_WITHOUT_PDFTOTEXT() QSKIP("pdftotext, which reads the PDF back, runs on Linux only")
#else
#define SKIP_WITHOUT_PDFTOTEXT()
#endif

// A PDF's words as poppler's pdftotext reads them, in points from the page's top left.
namespace Pdf {

struct Word
{
    QString text;
    QRectF box;
    bool operator==(const Word &other) const { return text == other.text && box == other.box; }
};

// Every page as a word "page" of the page's size, then the words; XML entities left as they are.
inline QList<Word> read(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    static const QRegularExpression box(QStringLiteral(
        R"re(<(page) width="([\d.]+)" height="([\d.]+)"|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)<)re"));
    QList<Word> words;
    for (const QRegularExpressionMatch &m : box.globalMatch(QString::fromUtf8(process.readAllStandardOutput()))) {
        const auto at = [&m](int n) { return m.captured(n).toDouble(); };
        if (m.capturedLength(1) > 0)
            words.append({m.captured(1), QRectF(0, 0, at(2), at(3))});
        else
            words.append({m.captured(8), QRectF(QPointF(at(4), at(5)), QPointF(at(6), at(7)))});
    }
    return words;
}

// The words whose centre lies in an area, as read: line by line from the top, left to right.
inline QList<Word> wordsIn(const QList<Word> &words, const QRectF &area)
{
    QList<Word> found;
    for (const Word &word : words) {
        if (area.contains(word.box.center()))
            found.append(word);
    }
    std::sort(found.begin(), found.end(), [](const Word &a, const Word &b) {
        return qAbs(a.box.bottom() - b.box.bottom()) > 1 ? a.box.bottom() < b.box.bottom()
                                                         : a.box.left() < b.box.left();
    });
    return found;
}

} // namespace Pdf

#endif
