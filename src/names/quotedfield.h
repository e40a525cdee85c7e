#ifndef QUOTEDFIELD_H
#define QUOTEDFIELD_H

#include <QString>
#include <QStringView>

// A field that opens with a quote, as RFC 4180 and spreadsheets write one: a quote inside it
// doubled, a line break kept as LF alone, so no name holds a CR. What follows the closing
// quote each reader judges by its own rule.
namespace QuotedField {

constexpr QChar quote = u'"';

struct Read
{
    QString text;
    qsizetype end = 0;   // just past the closing quote, or the end of the text
    int lineEnds = 0;    // inside the field
    bool closed = false; // false: the text ends before a closing quote
};

// The field whose opening quote is at `at`.
Read read(QStringView text, qsizetype at);

} // namespace QuotedField

#endif
