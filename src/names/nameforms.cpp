#include "names/nameforms.h"

#include "names/namerules.h"

#include <QRegularExpression>

#include <optional>

namespace {

constexpr char16_t controlPictures = 0x2400; // U+2400 + code for the C0 controls
constexpr char16_t lastC0 = 0x1F;
constexpr char16_t deleteCharacter = 0x7F;
constexpr char16_t deletePicture = 0x2421;
constexpr char16_t firstStrongIsolate = 0x2068;
constexpr char16_t popDirectionalIsolate = 0x2069;
constexpr char32_t lastCodePoint = 0x10FFFF;
constexpr int hexBase = 16;
constexpr qsizetype maxHexDigits = 6;
const QChar backslash = u'\\';
const QString escapeStart = QStringLiteral("u{"); // after its backslash
const QChar escapeEnd = u'}';

bool needsEscape(QChar character, NameForms::LineBreaks lineBreaks)
{
    return NameRules::isHiddenCharacter(character)
           || (lineBreaks == NameForms::LineBreaks::Escaped && character == u'\n');
}

// The character an escape "\u{HEX}" at from stands for, and the escape's length.
std::optional<std::pair<char32_t, qsizetype>> escapeAt(const QString &text, qsizetype from)
{
    static const QRegularExpression escape(QStringLiteral(R"(\\u\{([0-9A-Fa-f]{1,%1})\})").arg(maxHexDigits));
    const QRegularExpressionMatch match =
        escape.match(text, from, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    const char32_t code = match.hasMatch() ? match.capturedView(1).toUInt(nullptr, hexBase) : 0;
    if (!match.hasMatch() || code > lastCodePoint || QChar::isSurrogate(code))
        return std::nullopt;
    return std::pair(code, match.capturedLength());
}

} // namespace

QString NameForms::visible(const QString &name)
{
    QString shown;
    for (const QChar character : name) {
        const char16_t unit = character.unicode();
        if (!NameRules::isHiddenCharacter(character))
            shown += character;
        else if (unit <= lastC0)
            shown += QChar(controlPictures + unit);
        else if (unit == deleteCharacter)
            shown += QChar(deletePicture);
        else
            shown += u'⟨' + NameRules::codeOf(character) + u'⟩';
    }
    return shown;
}

QString NameForms::escaped(const QString &name, LineBreaks lineBreaks)
{
    QString written;
    for (qsizetype i = 0; i < name.size();) {
        const QChar character = name.at(i);
        if (character == backslash) {
            qsizetype end = i;
            while (end < name.size() && name.at(end) == backslash)
                ++end;
            const bool beforeEscape = QStringView(name).mid(end).startsWith(escapeStart)
                                      || (end < name.size() && needsEscape(name.at(end), lineBreaks));
            written += QString((end - i) * (beforeEscape ? 2 : 1), backslash);
            i = end;
            continue;
        }
        if (needsEscape(character, lineBreaks))
            written += backslash + escapeStart + QString::number(character.unicode(), hexBase).toUpper() + escapeEnd;
        else
            written += character;
        ++i;
    }
    return written;
}

QString NameForms::unescaped(const QString &text)
{
    QString name;
    for (qsizetype i = 0; i < text.size();) {
        if (text.at(i) != backslash) {
            name += text.at(i++);
            continue;
        }
        // 2n backslashes before "u{" are n; 2n + 1 are n and an escape, if it is one.
        qsizetype end = i;
        while (end < text.size() && text.at(end) == backslash)
            ++end;
        const qsizetype run = end - i;
        const auto escape = run % 2 == 1 ? escapeAt(text, end - 1) : std::nullopt;
        if (!QStringView(text).mid(end).startsWith(escapeStart) || (run % 2 == 1 && !escape)) {
            name += QStringView(text).mid(i, run); // no escape: as written
        } else {
            name += QString(run / 2, backslash);
            if (run % 2 == 1) {
                name += QStringView(QChar::fromUcs4(escape->first));
                end += escape->second - 1;
            }
        }
        i = end;
    }
    return name;
}

QString NameForms::isolated(const QString &name)
{
    return QChar(firstStrongIsolate) + visible(name) + QChar(popDirectionalIsolate);
}
