#include "names/namespaste.h"

#include "address/addresscodec.h"
#include "names/lineends.h"
#include "names/nameforms.h"
#include "names/namerules.h"
#include "names/quotedfield.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

constexpr QChar cellSeparator = u'\t';
using QuotedField::quote;
// A cell told in a message: enough to find it, not so much that the box outgrows the screen.
constexpr qsizetype quotedCellLength = 40;

bool endsCell(QStringView text, qsizetype at)
{
    return at == text.size() || text.at(at) == cellSeparator || LineEnds::lengthAt(text, at) > 0;
}

struct Cell
{
    QString text;
    qsizetype end; // where the tab or line end after it is
};

Cell cellAt(QStringView text, qsizetype at)
{
    // Quoted as spreadsheets write a cell only where the quote closes right before a tab or a
    // line end: text typed by hand is read as it stands.
    if (at < text.size() && text.at(at) == quote) {
        QuotedField::Read quoted = QuotedField::read(text, at);
        if (quoted.closed && endsCell(text, quoted.end))
            return {std::move(quoted.text), quoted.end};
    }
    qsizetype end = at;
    while (!endsCell(text, end))
        ++end;
    return {text.mid(at, end - at).toString(), end};
}

QList<QStringList> cellsOf(const QString &text)
{
    QList<QStringList> lines;
    QStringList cells;
    qsizetype at = 0;
    for (;;) {
        Cell cell = cellAt(text, at);
        cells.append(std::move(cell.text));
        at = cell.end;
        if (at < text.size() && text.at(at) == cellSeparator) {
            ++at;
            continue;
        }
        lines.append(std::exchange(cells, {}));
        at += LineEnds::lengthAt(text, at);
        if (at >= text.size()) // no line after the last line end
            return lines;
    }
}

qsizetype filledCellsFrom(const QStringList &cells, qsizetype first)
{
    return std::count_if(cells.cbegin() + std::min(first, cells.size()), cells.cend(),
                         [](const QString &cell) { return !cell.isEmpty(); });
}

bool isHeader(const QStringList &cells)
{
    return cells.size() >= 2 && cells.at(0).trimmed().compare(u"Adresse", Qt::CaseInsensitive) == 0
           && cells.at(1).trimmed().compare(u"Name", Qt::CaseInsensitive) == 0;
}

// Puts the name at its address if a name may be it, else counts it. No CR reaches a cell:
// it ends a line, or is a line break inside a quoted cell.
void placeName(NamesPaste::Placed &placed, const QString &key, const QString &name, qsizetype line)
{
    if (NameRules::check(name) == NameRules::Problem::None)
        placed.names.insert(key, name);
    else if (placed.namesRefused++ == 0)
        placed.firstRefused = {line, name};
}

NamesPaste::Placed byAddress(const QList<QStringList> &lines, const QSet<int> &hiddenRows, const Names &current)
{
    NamesPaste::Placed placed;
    placed.byAddress = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList &cells = lines.at(i);
        if (filledCellsFrom(cells, 0) == 0 || isHeader(cells))
            continue;
        const std::optional<QString> key = NamedAddresses::parse(cells.at(0));
        if (!key || cells.size() < 2) {
            if (placed.linesWithoutRow++ == 0)
                placed.firstWithoutRow = {i + 1, cells.at(0)};
            continue;
        }
        placeName(placed, *key, cells.at(1), i + 1);
        placed.cellsLeftOut += filledCellsFrom(cells, 2);
    }
    for (auto name = placed.names.cbegin(); name != placed.names.cend(); ++name) {
        const bool unchanged = current.contains(name.key()) && current.value(name.key()) == *name;
        placed.namesHidden += !unchanged && hiddenRows.contains(NamedAddresses::rowOf(name.key()).value_or(-1)) ? 1 : 0;
    }
    return placed;
}

NamesPaste::Placed downFrom(int firstRow, const QSet<int> &hiddenRows, const QList<QStringList> &lines)
{
    NamesPaste::Placed placed;
    placed.noRowChosen = firstRow < 0;
    QList<int> rows;
    for (int row = firstRow; row >= 0 && row < NamedAddresses::count; ++row) {
        if (!hiddenRows.contains(row))
            rows.append(row);
    }
    const qsizetype fitting = std::min(lines.size(), rows.size());
    for (qsizetype i = 0; i < fitting; ++i) {
        placeName(placed, NamedAddresses::keyOfRow(rows.at(i)), lines.at(i).at(0), i + 1);
        placed.cellsLeftOut += filledCellsFrom(lines.at(i), 1);
    }
    placed.linesWithoutRow = lines.size() - fitting;
    placed.firstWithoutRow.number = fitting + 1;
    placed.lastRow = rows.isEmpty() ? -1 : rows.last();
    return placed;
}

// German has one form for one and one for more; written out, as there is no translation file.
QString counted(qsizetype n, const char *one, const char *more)
{
    return QCoreApplication::translate("NamesPaste", n == 1 ? one : more, nullptr, static_cast<int>(n));
}

// A cell as a message quotes it: its start, with its hidden characters shown, so that none acts on the text.
QString quotedCell(const QString &cell)
{
    if (cell.size() <= quotedCellLength)
        return NameForms::visible(cell);
    const bool pairCut = cell.at(quotedCellLength - 1).isHighSurrogate();
    return NameForms::visible(cell.left(quotedCellLength - (pairCut ? 1 : 0))) + u'…';
}

// Why a column's lines found no row: where the table or the rows the search shows end.
// Why a column's lines found no row: none was chosen, or the table or the rows the search shows end.
QString endOfRows(const NamesPaste::Placed &placed)
{
    const int lastRow = placed.lastRow;
    if (placed.noRowChosen)
        return QCoreApplication::translate("NamesPaste", "Keine Zeile ist gewählt, ab der eingefügt wird");
    if (lastRow == NamedAddresses::count - 1)
        return QCoreApplication::translate("NamesPaste", "Die Tabelle endet bei %1")
            .arg(NamedAddresses::keyOfRow(lastRow));
    if (lastRow >= 0)
        return QCoreApplication::translate("NamesPaste", "Die Suche zeigt nach %1 keine Zeile mehr")
            .arg(NamedAddresses::keyOfRow(lastRow));
    return QCoreApplication::translate("NamesPaste", "Die Suche zeigt ab der aktuellen Zeile keine Zeile");
}

} // namespace

NamesPaste::Placed NamesPaste::place(const QString &text, int firstRow, const QSet<int> &hiddenRows,
                                     const Names &current)
{
    // A clipboard of nothing but line ends and blanks holds no names to paste.
    if (text.trimmed().isEmpty())
        return {};
    const QList<QStringList> lines = cellsOf(text);
    const auto first = std::find_if(lines.cbegin(), lines.cend(), [](const QStringList &cells) {
        return filledCellsFrom(cells, 0) > 0 && !isHeader(cells);
    });
    // Any address written plainly counts, also one of no row, so its line is told as such.
    const bool addressed =
        std::any_of(lines.cbegin(), lines.cend(), isHeader)
        || (first != lines.cend() && first->size() >= 2 && AddressCodec::isPlainAddress(first->at(0)));
    if (addressed)
        return byAddress(lines, hiddenRows, current);
    return downFrom(firstRow, hiddenRows, lines);
}

QString NamesPaste::describe(const Placed &placed)
{
    QStringList left;
    const qsizetype lines = placed.linesWithoutRow;
    const QString firstLine = QString::number(placed.firstWithoutRow.number);
    if (lines > 0 && placed.byAddress) {
        left.append(counted(lines,
                            QT_TRANSLATE_NOOP("NamesPaste", "Die eingefügte Zeile %1 („%2“) nennt keine Adresse "
                                                            "der Tabelle (A–H, 1–12) mit einem Namen."),
                            QT_TRANSLATE_NOOP("NamesPaste", "%n der eingefügten Zeilen nennen keine Adresse der "
                                                            "Tabelle (A–H, 1–12) mit einem Namen, zuerst Zeile %1 "
                                                            "(„%2“)."))
                        .arg(firstLine, quotedCell(placed.firstWithoutRow.text)));
    } else if (lines > 0) {
        left.append(endOfRows(placed) + QStringLiteral(": ")
                    + counted(lines, QT_TRANSLATE_NOOP("NamesPaste", "Die eingefügte Zeile %1 fand keinen Platz."),
                              QT_TRANSLATE_NOOP("NamesPaste", "%n der eingefügten Zeilen, ab Zeile %1, fanden "
                                                              "keinen Platz."))
                          .arg(firstLine));
    }
    if (placed.cellsLeftOut > 0) {
        left.append(counted(placed.cellsLeftOut, QT_TRANSLATE_NOOP("NamesPaste", "Eine Zelle stand neben den Namen."),
                            QT_TRANSLATE_NOOP("NamesPaste", "%n Zellen standen neben den Namen."))
                    + QCoreApplication::translate("NamesPaste", " Eingefügt wird eine Spalte Namen, oder eine "
                                                                "Spalte Adressen und eine Spalte Namen."));
    }
    if (placed.namesRefused > 0) {
        const QString &name = placed.firstRefused.text;
        left.append(counted(placed.namesRefused,
                            QT_TRANSLATE_NOOP("NamesPaste", "Der Name in Zeile %1 wurde nicht eingefügt: %2"),
                            QT_TRANSLATE_NOOP("NamesPaste", "%n Namen wurden nicht eingefügt, zuerst der in "
                                                            "Zeile %1: %2"))
                        .arg(QString::number(placed.firstRefused.number),
                             NameRules::reason(name, NameRules::check(name), QLocale::German)));
    }
    if (!left.isEmpty())
        left.prepend(QCoreApplication::translate("NamesPaste", "Nicht alles wurde eingefügt."));
    if (placed.namesHidden > 0) {
        left.append(counted(placed.namesHidden,
                            QT_TRANSLATE_NOOP("NamesPaste", "Ein Name kam in eine Zeile, die die Suche verbarg; "
                                                            "die Suche ist darum geleert."),
                            QT_TRANSLATE_NOOP("NamesPaste", "%n Namen kamen in Zeilen, die die Suche verbarg; "
                                                            "die Suche ist darum geleert.")));
    }
    return left.join(u"\n\n");
}
