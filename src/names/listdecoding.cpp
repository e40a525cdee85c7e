#include "names/listdecoding.h"

#include "names/lineends.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

const QByteArray utf16LittleEndianMark("\xFF\xFE");
const QByteArray utf16BigEndianMark("\xFE\xFF");
const QByteArray zipStart("PK\x03\x04");
const QByteArray compoundFileStart("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
const QByteArray openDocumentSpreadsheet("application/vnd.oasis.opendocument.spreadsheet");
const QByteArray officeWorkbook("xl/workbook");
const QByteArray numbersDocument("Index/Document.iwa");
constexpr char16_t asciiEnd = 0x80;

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

// Control characters no text holds: all below the blank but a zero (which some lists hold),
// a tab, the line ends and the form feeds.
bool holdsForeignControls(QStringView text)
{
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return (c >= u'\x01' && c <= u'\b') || (c >= u'\x0E' && c <= u'\x1F'); });
}

ListDecoding::Decoded whole(const QString &text)
{
    return {text, 0, holdsForeignControls(text)};
}

// UTF-16 saved without a mark: a list starts with its header, whose first character is
// ASCII, so one of its first two bytes is zero, which no UTF-8 or Windows-1252 text has.
std::optional<QStringDecoder::Encoding> unmarkedUtf16(const QByteArray &data)
{
    if (data.size() < 2 || (data.at(0) == '\0') == (data.at(1) == '\0'))
        return std::nullopt;
    return data.at(1) == '\0' ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE;
}

} // namespace

// UTF-16 by its byte order mark or its zero bytes; UTF-8 where it is valid; Windows-1252
// where no character is UTF-8. A file with both would lose its correct characters either
// way, so it is refused.
ListDecoding::Decoded ListDecoding::decode(const QByteArray &data)
{
    // Qt's UTF-16 decoder takes the byte order from the mark.
    if (data.startsWith(utf16LittleEndianMark) || data.startsWith(utf16BigEndianMark))
        return whole(QStringDecoder(QStringDecoder::Utf16)(data));
    if (const std::optional<QStringDecoder::Encoding> utf16 = unmarkedUtf16(data))
        return whole(QStringDecoder(*utf16)(data));
    const bool marked = data.startsWith(ListDecoding::utf8Mark);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(marked ? data.mid(ListDecoding::utf8Mark.size()) : data);
    // Windows-1252 has the same control characters, and a stray byte is none.
    const bool binary = holdsForeignControls(text);
    if (!utf8.hasError())
        return {text, 0, binary};
    constexpr QChar invalid = QChar::ReplacementCharacter;
    const bool someUtf8 = marked || std::any_of(text.cbegin(), text.cend(), [invalid](QChar c) {
                              return c.unicode() >= asciiEnd && c != invalid;
                          });
    if (!someUtf8)
        return {windows1252(data), 0, binary};
    // Lines end in LF, CR LF or CR alone, as the list's reader counts them.
    const QStringView before = QStringView(text).left(text.indexOf(invalid));
    const qsizetype lineEnds =
        before.count(LineEnds::lineFeed) + before.count(LineEnds::carriageReturn) - before.count(QStringView(u"\r\n"));
    return {{}, static_cast<int>(lineEnds) + 1, binary};
}

std::optional<QString> ListDecoding::spreadsheetKind(const QByteArray &data)
{
    if (data.startsWith(compoundFileStart))
        return QStringLiteral("xls");
    if (!data.startsWith(zipStart))
        return std::nullopt;
    // An OpenDocument file names its type uncompressed; a workbook keeps its parts under xl/.
    if (data.contains(openDocumentSpreadsheet))
        return QStringLiteral("ods");
    if (data.contains(officeWorkbook))
        return QStringLiteral("xlsx");
    if (data.contains(numbersDocument))
        return QStringLiteral("numbers");
    return std::nullopt;
}
