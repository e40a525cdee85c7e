#ifndef CORETEST_H
#define CORETEST_H

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#ifdef Q_OS_WIN
#include <cstdio>
#include <memory>
#include <qt_windows.h>
#include <share.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

// MinGW's thread library can leave a process hanging in its unload at exit once threads have
// come and gone; the results are written by then, so a suite ends there, skipping the unload.
#ifdef Q_OS_WIN
#define VESK_GUILESS_TEST_MAIN(TestObject)                                                                             \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        QT_PREPEND_NAMESPACE(QTest::Internal::callInitMain)<TestObject>();                                             \
        QTEST_QAPP_SETUP(QCoreApplication)                                                                             \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        const int result = QTest::qExec(&tc, argc, argv);                                                              \
        std::fflush(nullptr);                                                                                          \
        TerminateProcess(GetCurrentProcess(), UINT(result));                                                           \
        return result;                                                                                                 \
    }
#else
#define VESK_GUILESS_TEST_MAIN(TestObject) QTEST_GUILESS_MAIN(TestObject)
#endif

// A _data table's columns, their types and names in the same order.
template<typename... Types, typename... Names>
void addColumns(const Names &...names)
{
    (QTest::addColumn<Types>(names), ...);
}

// The current row's cells of the columns named, as QFETCH declares them: auto [a, b] = fetched<A, B>("a", "b").
template<typename... Types, typename... Names>
std::tuple<Types...> fetched(const Names &...names)
{
    return std::tuple<Types...>(*static_cast<Types *>(QTest::qData(names, qMetaTypeId<Types>()))...);
}

// Helpers for every suite: files, a file no one may replace, a PDF read back.
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

// Makes a file impossible to replace while it lives, as the user's system would. On Windows it is held open as a PDF
// viewer or a spreadsheet holds it, sharing nothing or, if othersMayRead, reading only. Elsewhere its folder is made
// read-only; root ignores permissions, so as root the process acts as the unprivileged user "nobody" meanwhile.
class Unreplaceable
{
public:
    explicit Unreplaceable(const QString &file, [[maybe_unused]] bool othersMayRead = false)
#ifdef Q_OS_WIN
        : held(_wfsopen(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(file).utf16()), L"rb",
                        othersMayRead ? _SH_DENYWR : _SH_DENYRW),
               &std::fclose)
    {
    }

private:
    std::unique_ptr<FILE, int (*)(FILE *)> held;
#else
        : folder(QFileInfo(file).path())
        , permissions(QFile::permissions(folder))
    {
        const auto readable = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
        QFile::setPermissions(folder, readable | QFile::ReadOther | QFile::ExeOther);
        droppedRoot = geteuid() == 0 && seteuid(nobody) == 0;
    }
    ~Unreplaceable()
    {
        if (droppedRoot && seteuid(0) != 0)
            qFatal("could not become root again");
        QFile::setPermissions(folder, permissions);
    }

private:
    static constexpr unsigned nobody = 65534;
    QString folder;
    QFile::Permissions permissions;
    bool droppedRoot = false;
#endif
};

} // namespace Files

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
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return {};
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
    for (const Word &word : words)
        if (area.contains(word.box.center()))
            found.append(word);
    std::sort(found.begin(), found.end(), [](const Word &a, const Word &b) {
        return qAbs(a.box.bottom() - b.box.bottom()) > 1 ? a.box.bottom() < b.box.bottom()
                                                         : a.box.left() < b.box.left();
    });
    return found;
}

} // namespace Pdf

#endif
