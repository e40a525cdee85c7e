#include "names/namescsv.h"

#include "address/namedaddresses.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

using NamesCsv::Error;
using NamesCsv::ErrorKind;

const QByteArray byteOrderMark("\xEF\xBB\xBF");
const QByteArray utf16LittleEndianMark("\xFF\xFE");
const QByteArray utf16BigEndianMark("\xFE\xFF");
const QString addressHeader = QStringLiteral("Adresse");
const QString nameHeader = QStringLiteral("Name");
constexpr QChar quote = u'"';
constexpr QChar newline = u'\n';
constexpr QChar carriageReturn = u'\r';
constexpr QChar separators[] = {u';', u',', u'\t'};
constexpr char16_t asciiEnd = 0x80;

struct Record
{
    QStringList fields;
    int line = 0;
};

// Splits text into records, keeping track of the line each starts on.
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
            const QChar end = text.at(pos++);
            if (end == newline) {
                ++line;
                return record;
            }
        }
    }

private:
    bool atQuote() const { return !atEnd() && text.at(pos) == quote; }
    bool atFieldEnd() const { return atEnd() || text.at(pos) == separator || text.at(pos) == newline; }

    QString plainField()
    {
        const qsizetype start = pos;
        while (!atFieldEnd())
            ++pos;
        QString field = text.mid(start, pos - start);
        if (field.endsWith(carriageReturn) && (atEnd() || text.at(pos) == newline))
            field.chop(1);
        return field;
    }

    std::optional<QString> quotedField(Error &error)
    {
        const int startLine = line;
        QString field;
        ++pos;
        for (;;) {
            if (atEnd()) {
                error = {ErrorKind::UnterminatedQuote, startLine, {}};
                return std::nullopt;
            }
            const QChar c = text.at(pos++);
            if (c == quote) {
                if (!atQuote())
                    break;
                ++pos;
            } else if (c == carriageReturn) {
                appendCarriageReturns(field);
                continue;
            } else if (c == newline) {
                ++line;
            }
            field.append(c);
        }
        if (!atEnd() && text.at(pos) == carriageReturn && pos + 1 < text.size() && text.at(pos + 1) == newline)
            ++pos;
        if (!atFieldEnd()) {
            error = {ErrorKind::TextAfterQuote, line, {}};
            return std::nullopt;
        }
        return field;
    }

    // A run of "\r" before "\n" is one line break, kept as "\n": saved, a "\r\n" inside
    // a name would read back as "\n". Other "\r" are kept.
    void appendCarriageReturns(QString &field)
    {
        const qsizetype runStart = pos - 1;
        while (!atEnd() && text.at(pos) == carriageReturn)
            ++pos;
        if (atEnd() || text.at(pos) != newline)
            field.append(QStringView(text).mid(runStart, pos - runStart));
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

QString quoted(const QString &field, QChar separator)
{
    const bool needsQuotes = field.contains(separator) || field.contains(quote) || field.contains(newline)
                             || field.contains(carriageReturn) || field != field.trimmed();
    if (!needsQuotes)
        return field;
    QString escaped = field;
    escaped.replace(quote, QStringLiteral("\"\""));
    return quote + escaped + quote;
}

QString windows1252(const QByteArray &data)
{
    // Qt decodes Windows-1252 only where it is built with ICU, so the table is here. It is
    // Latin-1 but for 0x80-0x9F; the five bytes it leaves undefined stay C1 controls.
    static constexpr char16_t windows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    constexpr uchar highStart = 0x80;
    constexpr uchar highEnd = 0xA0;
    QString text;
    text.reserve(data.size());
    for (const char byte : data) {
        const auto code = static_cast<uchar>(byte);
        text.append(code >= highStart && code < highEnd ? QChar(windows1252High[code - highStart]) : QChar(code));
    }
    return text;
}

struct Decoded
{
    QString text;
    int strayLine = 0; // where a file otherwise UTF-8 has a byte that is not
};

// UTF-16 by its byte order mark; UTF-8 where it is valid; Windows-1252 where no character
// is UTF-8. A file with both would lose its correct characters either way, so it is refused.
Decoded decode(const QByteArray &data)
{
    // Qt's UTF-16 decoder takes the byte order from the mark.
    if (data.startsWith(utf16LittleEndianMark) || data.startsWith(utf16BigEndianMark))
        return {QStringDecoder(QStringDecoder::Utf16)(data), 0};
    const bool marked = data.startsWith(byteOrderMark);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(marked ? data.mid(byteOrderMark.size()) : data);
    if (!utf8.hasError())
        return {text, 0};
    constexpr QChar invalid = QChar::ReplacementCharacter;
    const bool someUtf8 = marked || std::any_of(text.cbegin(), text.cend(), [invalid](QChar c) {
                              return c.unicode() >= asciiEnd && c != invalid;
                          });
    if (!someUtf8)
        return {windows1252(data), 0};
    return {{}, static_cast<int>(QStringView(text).left(text.indexOf(invalid)).count(newline)) + 1};
}

} // namespace

namespace NamesCsv {

ReadResult parse(const QByteArray &data)
{
    const Decoded decoded = decode(data);
    if (decoded.strayLine > 0)
        return failure({ErrorKind::MixedEncoding, decoded.strayLine, {}});
    const QString &text = decoded.text;

    const std::optional<Header> header = readHeader(text);
    if (!header)
        return failure({ErrorKind::MissingHeader, 1, {}});
    if (header->otherColumn)
        return failure({ErrorKind::OtherColumn, 1, *header->otherColumn});

    RecordReader reader(text, header->separator);
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
        names.insert(*key, record->fields.at(header->nameColumn));
    }
    return {names, {}};
}

ReadResult readFile(const QString &path)
{
    Error error;
    const std::optional<QByteArray> data = readData(path, error);
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
            text += key + separator + quoted(*entry, separator) + lineEnd;
    }
    return text;
}

QByteArray serialize(const Names &names)
{
    // The byte order mark lets spreadsheets recognise UTF-8.
    return byteOrderMark + text(names, QStringLiteral("\r\n")).toUtf8();
}

Names withoutEmpty(Names names)
{
    names.removeIf([](const auto &entry) { return entry.value().isEmpty(); });
    return names;
}

Error writeFile(const QString &path, const Names &names)
{
    return writeData(path, serialize(names));
}

Error writeData(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit())
        return {};
    return writeError(QFileInfo(path).path(), file.errorString());
}

} // namespace NamesCsv
