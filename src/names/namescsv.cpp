#include "names/namescsv.h"

#include "address/namedaddresses.h"
#include "base/outputfile.h"
#include "names/lineends.h"
#include "names/listdecoding.h"
#include "names/namerules.h"
#include "names/quotedfield.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

using NamesCsv::Error;
using NamesCsv::ErrorKind;

const QString addressHeader = QStringLiteral("Adresse");
const QString nameHeader = QStringLiteral("Name");
using QuotedField::quote;
constexpr QChar separators[] = {u';', u',', u'\t'};
// A spreadsheet reads a cell beginning so as a formula (some, also a tab or CR); an apostrophe first shows the text.
constexpr QChar formulaStarts[] = {u'=', u'+', u'-', u'@', u'\t', LineEnds::carriageReturn};
constexpr QChar textMark = u'\'';

struct Record
{
    QStringList fields;
    int line = 0;
};

// Splits text into records, keeping track of the line each starts on. Lines end in LF,
// CR LF or CR alone, as one system or another writes them.
class RecordReader
{
public:
    RecordReader(const QString &text, QChar separator)
        : text(text)
        , separator(separator)
    {
    }

    bool atEnd() const { return pos >= text.size(); }

    std::optional<Record> next(Error &error)
    {
        Record record{{}, line};
        for (;;) {
            std::optional<QString> field = atQuote() ? quotedField(error) : plainField();
            if (!field)
                return std::nullopt;
            record.fields.append(*field);
            if (atEnd())
                return record;
            if (skipLineEnd())
                return record;
            ++pos; // the separator
        }
    }

private:
    bool atQuote() const { return !atEnd() && text.at(pos) == quote; }
    bool atLineEnd() const { return LineEnds::lengthAt(text, pos) > 0; }
    bool atFieldEnd() const { return atEnd() || text.at(pos) == separator || atLineEnd(); }

    bool skipLineEnd()
    {
        const qsizetype length = LineEnds::lengthAt(text, pos);
        if (length == 0)
            return false;
        pos += length;
        ++line;
        return true;
    }

    QString plainField()
    {
        const qsizetype start = pos;
        while (!atFieldEnd())
            ++pos;
        return text.mid(start, pos - start);
    }

    std::optional<QString> quotedField(Error &error)
    {
        const QuotedField::Read field = QuotedField::read(text, pos);
        if (!field.closed) {
            error = {ErrorKind::UnterminatedQuote, line, {}};
            return std::nullopt;
        }
        pos = field.end;
        line += field.lineEnds;
        if (!atFieldEnd()) {
            error = {ErrorKind::TextAfterQuote, line, {}};
            return std::nullopt;
        }
        return field.text;
    }

    const QString &text;
    const QChar separator;
    qsizetype pos = 0;
    int line = 1;
};

struct Header
{
    QChar separator;
    qsizetype addressColumn = 0;
    qsizetype nameColumn = 0;
    std::optional<QString> otherColumn; // a column besides the two, which is an error
};

// Spreadsheets end lines with a separator for every cell to the right once touched: empty
// fields at the end are no columns.
void dropTrailingEmptyFields(QStringList &fields)
{
    while (fields.size() > 2 && fields.last().isEmpty())
        fields.removeLast();
}

std::optional<Header> readHeader(const QString &text)
{
    for (const QChar separator : separators) {
        RecordReader reader(text, separator);
        Error ignored;
        std::optional<Record> record = reader.next(ignored);
        if (!record)
            continue;
        dropTrailingEmptyFields(record->fields);
        QStringList columns;
        for (const QString &field : std::as_const(record->fields))
            columns.append(field.trimmed().toLower());
        Header header{separator, columns.indexOf(addressHeader.toLower()), columns.indexOf(nameHeader.toLower()), {}};
        if (header.addressColumn < 0 || header.nameColumn < 0)
            continue;
        for (qsizetype column = 0; column < columns.size() && !header.otherColumn; ++column) {
            if (column != header.addressColumn && column != header.nameColumn)
                header.otherColumn = record->fields.at(column).trimmed();
        }
        return header;
    }
    return std::nullopt;
}

NamesCsv::ReadResult failure(Error error)
{
    return {{}, std::move(error)};
}

// Whether a cell begins as a formula would, past any apostrophes first.
bool startsAsFormula(const QString &cell)
{
    const QChar *const start = std::find_if(cell.cbegin(), cell.cend(), [](QChar c) { return c != textMark; });
    return start != cell.cend()
           && std::find(std::cbegin(formulaStarts), std::cend(formulaStarts), *start) != std::cend(formulaStarts);
}

// A name as its cell: one apostrophe more where it begins as a formula would, so that a
// name written with apostrophes first also reads back as it is.
QString spreadsheetSafe(const QString &name)
{
    return startsAsFormula(name) ? textMark + name : name;
}

QString fromSpreadsheetCell(const QString &cell)
{
    return cell.startsWith(textMark) && startsAsFormula(cell) ? cell.mid(1) : cell;
}

QString quoted(const QString &field, QChar separator)
{
    const bool needsQuotes = field.contains(separator) || field.contains(quote) || field.contains(LineEnds::lineFeed)
                             || field.contains(LineEnds::carriageReturn) || field != field.trimmed();
    if (!needsQuotes)
        return field;
    QString escaped = field;
    escaped.replace(quote, QStringLiteral("\"\""));
    return quote + escaped + quote;
}

} // namespace

namespace NamesCsv {

ReadResult parse(const QByteArray &data)
{
    if (const std::optional<QString> kind = ListDecoding::spreadsheetKind(data))
        return failure({ErrorKind::SpreadsheetFile, 0, *kind});
    const ListDecoding::Decoded decoded = ListDecoding::decode(data);
    const std::optional<Header> header = readHeader(decoded.text);
    // Characters no text holds, and no header: a picture or the like, not a list gone wrong.
    // Zeros alone are what a crash can leave of a file, no text either.
    const bool zeros = !data.isEmpty() && data.count('\0') == data.size();
    if (!header && (decoded.binary || zeros))
        return failure({ErrorKind::NotText, 0, {}});
    if (decoded.strayLine > 0)
        return failure({ErrorKind::MixedEncoding, decoded.strayLine, {}});
    if (!header)
        return failure({ErrorKind::MissingHeader, 1, {}});
    if (header->otherColumn)
        return failure({ErrorKind::OtherColumn, 1, *header->otherColumn});

    RecordReader reader(decoded.text, header->separator);
    Error error;
    reader.next(error); // the header
    Names names;
    while (!reader.atEnd()) {
        std::optional<Record> record = reader.next(error);
        if (!record)
            return failure(error);
        if (std::all_of(record->fields.cbegin(), record->fields.cend(), std::mem_fn(&QString::isEmpty)))
            continue; // an empty row
        dropTrailingEmptyFields(record->fields);
        if (record->fields.size() != 2)
            return failure({ErrorKind::WrongFieldCount, record->line, QString::number(record->fields.size())});
        const QString &address = record->fields.at(header->addressColumn);
        const std::optional<QString> key = NamedAddresses::parse(address);
        if (!key)
            return failure({ErrorKind::UnknownAddress, record->line, address});
        if (names.contains(*key))
            return failure({ErrorKind::DuplicateAddress, record->line, *key});
        const QString name = fromSpreadsheetCell(record->fields.at(header->nameColumn));
        if (NameRules::check(name) == NameRules::Problem::TooLong) {
            return failure({ErrorKind::NameTooLong, record->line,
                            QStringLiteral("%1/%2").arg(NameRules::length(name)).arg(name.size())});
        }
        names.insert(*key, name);
    }
    return {names, {}};
}

ReadResult readFile(const QString &path)
{
    Error error;
    const std::optional<QByteArray> data = readData(path, error, maxListBytes);
    return data ? parse(*data) : failure(error);
}

QString text(const Names &names, const QString &lineEnd)
{
    const QChar separator = separators[0];
    QString text = addressHeader + separator + nameHeader + lineEnd;
    for (int row = 0; row < NamedAddresses::count; ++row) {
        const QString key = NamedAddresses::keyOfRow(row);
        const auto entry = names.constFind(key);
        if (entry != names.cend())
            text += key + separator + quoted(spreadsheetSafe(*entry), separator) + lineEnd;
    }
    return text;
}

QByteArray serialize(const Names &names)
{
    // The byte order mark lets spreadsheets recognise UTF-8.
    return ListDecoding::utf8Mark + text(names, QStringLiteral("\r\n")).toUtf8();
}

Names withoutEmpty(Names names)
{
    names.removeIf([](const auto &entry) { return entry.value().isEmpty(); });
    return names;
}

Error writeFile(const QString &path, const Names &names)
{
    // A device or a FIFO is written into: replaced, it would be gone for every other program.
    if (!OutputFile::isInPlace(path))
        return writeData(path, serialize(names));
    const std::optional<QString> failure = OutputFile::writeInPlace(path, serialize(names));
    return failure ? Error{ErrorKind::Unwritable, 0, *failure} : Error{};
}

Error writeData(const QString &path, const QByteArray &data)
{
    const std::optional<QString> failure = OutputFile::replace(path, data);
    return failure ? writeError(QFileInfo(path).path(), *failure) : Error{};
}

} // namespace NamesCsv
