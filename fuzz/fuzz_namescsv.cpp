#include "fuzzcheck.h"
#include "names/namescsv.h"

#include <QDir>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QTemporaryDir dir;
    static const QString path = QDir(dir.path()).filePath(QStringLiteral("names.csv"));

    const NamesCsv::ReadResult read =
        NamesCsv::parse(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!read.ok()) {
        require(read.names.isEmpty(), "a rejected list yields no names");
        return 0;
    }
    require(NamesCsv::writeFile(path, read.names).kind == NamesCsv::ErrorKind::None, "accepted names can be saved");
    const NamesCsv::ReadResult reread = NamesCsv::readFile(path);
    require(reread.ok(), "a saved list reads again", reread.error.detail);
    require(reread.names == read.names, "a saved list reads the same");
    return 0;
}
