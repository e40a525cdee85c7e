#ifndef LISTDECODING_H
#define LISTDECODING_H

#include <QByteArray>
#include <QString>

#include <optional>

// The text of a names list, in whatever encoding spreadsheets and editors save it: UTF-16
// with or without a byte order mark, UTF-8, or Windows-1252 (what German spreadsheets write).
namespace ListDecoding {

// The byte order mark a UTF-8 list may start with: decode() reads past it, NamesCsv writes it.
inline const QByteArray utf8Mark("\xEF\xBB\xBF");

struct Decoded
{
    QString text;
    int strayLine = 0;   // where a file otherwise UTF-8 has a byte that is not
    bool binary = false; // holds control characters that no text has, as pictures and programs do
};

Decoded decode(const QByteArray &data);

// "xlsx", "ods", "xls" or "numbers" for a spreadsheet's own file, whatever its name: by its bytes.
std::optional<QString> spreadsheetKind(const QByteArray &data);

} // namespace ListDecoding

#endif
