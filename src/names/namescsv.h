#ifndef NAMESCSV_H
#define NAMESCSV_H

#include <QByteArray>
#include <QHash>
#include <QString>

// Names by canonical address (12A). A present key with an empty name is a name cell
// that was edited and emptied.
using Names = QHash<QString, QString>;

// Names lists as CSV: a header naming the columns "Adresse" and "Name", separated by
// ";", "," or tab (taken from the header), quoted as in RFC 4180. Written in UTF-8; read
// as UTF-8, or as Windows-1252 when it is not valid UTF-8 (what German spreadsheets write).
namespace NamesCsv {

enum class ErrorKind {
    None,
    Unreadable,        // detail: the system's reason
    MissingHeader,     // line 1
    UnterminatedQuote, // line where the field starts
    TextAfterQuote,    // line of the closing quote
    WrongFieldCount,   // detail: how many fields the line has
    UnknownAddress,    // detail: the address as written
    DuplicateAddress,  // detail: the canonical address
    Unwritable,        // detail: the system's reason
};

// Whether an error of this kind names the line it was found on.
bool hasLine(ErrorKind kind);

struct Error
{
    ErrorKind kind = ErrorKind::None;
    int line = 0;
    QString detail;
};

struct ReadResult
{
    QHash<QString, QString> names; // canonical address -> name; empty on error
    Error error;
    bool ok() const { return error.kind == ErrorKind::None; }
};

// Text of the bytes: UTF-8 (a byte order mark dropped), else Windows-1252.
QString decode(const QByteArray &data);

ReadResult parse(const QByteArray &data);
ReadResult readFile(const QString &path);

// Header "Adresse;Name", then the names among the 96 addresses in table order (1A ... 12H).
QByteArray serialize(const QHash<QString, QString> &names);

// Atomic: a failed save leaves the old file as it was.
Error writeFile(const QString &path, const QHash<QString, QString> &names);

} // namespace NamesCsv

#endif
