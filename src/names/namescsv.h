#ifndef NAMESCSV_H
#define NAMESCSV_H

#include "address/namedaddresses.h"

#include <QByteArray>
#include <QString>

#include <limits>
#include <optional>

// Names lists as CSV: a header naming the columns "Adresse" and "Name", separated by
// ";", "," or tab (taken from the header), quoted as in RFC 4180. Empty fields at the end
// of a line, as spreadsheets write them after cells once touched, are no columns, and a
// row of empty fields is skipped. Written in UTF-8; read as UTF-16 with a byte order mark,
// as UTF-8, or as Windows-1252 when it is not valid UTF-8 (what German spreadsheets write).
// A name a spreadsheet would take for a formula (=, +, -, @, a tab or CR first, also after
// apostrophes) is written with an apostrophe first, which reading takes off again.
namespace NamesCsv {

enum class ErrorKind {
    None,
    Unreadable,        // detail: the system's reason
    MissingHeader,     // line 1
    OtherColumn,       // line 1; detail: the column besides Adresse and Name
    UnterminatedQuote, // line where the field starts
    TextAfterQuote,    // line of the closing quote
    WrongFieldCount,   // detail: how many fields the line has
    UnknownAddress,    // detail: the address as written
    DuplicateAddress,  // detail: the canonical address
    MixedEncoding,     // line of the first byte that is not UTF-8 in a file otherwise UTF-8
    Unwritable,        // detail: the system's reason
    FolderUnwritable,  // the folder cannot be created or written to; detail: the system's reason
    NoSpace,           // the device is full
    SpreadsheetFile,   // a spreadsheet's own file; detail: xlsx, ods, xls or numbers
    TooLarge,          // detail: the file's size in bytes
    NameTooLong,       // detail: how many characters the name has
    NotText,           // a picture or another file that holds no text
};

struct Error
{
    ErrorKind kind = ErrorKind::None;
    int line = 0;
    QString detail;
};

enum class Language { German, English };

// The error in words, after "Zeile N: " or "line N: " where it names a line: German for
// the window, English for the command line.
QString describe(const Error &error, Language language);
// wording with %1 standing for detail, quoted from a file or the system: made visible for
// the window, escaped for the command line, where it could act on a terminal.
QString withDetail(const QString &wording, const QString &detail, Language language);

struct ReadResult
{
    Names names; // canonical address -> name; empty on error
    Error error;
    bool ok() const { return error.kind == ErrorKind::None; }
};

// More than any list of 96 names of the longest could be, in any encoding read: a larger
// file is refused before it is read.
constexpr qint64 maxListBytes = qint64{4} * 1024 * 1024;

ReadResult parse(const QByteArray &data);
ReadResult readFile(const QString &path);
// A regular file's bytes; else nothing, with error Unreadable, or TooLarge over maxBytes.
std::optional<QByteArray> readData(const QString &path, Error &error,
                                   qint64 maxBytes = std::numeric_limits<qint64>::max());

// Header "Adresse;Name", then the names among the 96 addresses in table order (1A ... 12H),
// each line ending in lineEnd.
QString text(const Names &names, const QString &lineEnd);
// The text in UTF-8 with a byte order mark and CR LF, which every spreadsheet reads.
QByteArray serialize(const Names &names);

// What a names list holds: names only, cells that were emptied left out.
Names withoutEmpty(Names names);

// Why writing into folder failed, given the system's reason: a full device or a folder
// that cannot be written to are named as such.
Error writeError(const QString &folder, const QString &reason);
// folder, or the nearest folder above it that is there: where one not made yet would lie.
QString nearestExisting(const QString &folder);

// Atomic: a failed save leaves the old file as it was. writeFile, for a list the user
// names, writes into a device or a FIFO in place; writeData always replaces. The store
// writes its own files otherwise (StoreFile::write).
Error writeFile(const QString &path, const Names &names);
Error writeData(const QString &path, const QByteArray &data);

} // namespace NamesCsv

#endif
