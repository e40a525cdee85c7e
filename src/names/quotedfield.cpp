#include "names/quotedfield.h"

#include "names/lineends.h"

QuotedField::Read QuotedField::read(QStringView text, qsizetype at)
{
    Read field;
    for (qsizetype i = at + 1; i < text.size(); ++i) {
        if (const qsizetype lineEnd = LineEnds::lengthAt(text, i); lineEnd > 0) {
            field.text.append(LineEnds::lineFeed);
            ++field.lineEnds;
            i += lineEnd - 1;
            continue;
        }
        const QChar c = text.at(i);
        if (c == quote && (i + 1 == text.size() || text.at(i + 1) != quote)) {
            field.end = i + 1;
            field.closed = true;
            return field;
        }
        field.text.append(c);
        if (c == quote)
            ++i; // the second of a doubled quote
    }
    field.end = text.size();
    return field;
}
