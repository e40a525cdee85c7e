#include "names/namespaste.h"

#include "address/addresscodec.h"

#include <QStringList>

#include <algorithm>

namespace {

constexpr QChar cellSeparator = u'\t';

QList<QStringList> cellsOf(const QString &text)
{
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast(); // the line end after the last line
    QList<QStringList> cells;
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        cells.append(line.split(cellSeparator));
    }
    return cells;
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

NamesPaste::Placed byAddress(const QList<QStringList> &lines)
{
    NamesPaste::Placed placed{{}, true, 0, 0};
    for (const QStringList &cells : lines) {
        if (filledCellsFrom(cells, 0) == 0 || isHeader(cells))
            continue;
        const std::optional<QString> key = NamedAddresses::parse(cells.at(0));
        if (!key || cells.size() < 2) {
            ++placed.linesWithoutRow;
            continue;
        }
        placed.names.insert(*key, cells.at(1));
        placed.cellsLeftOut += filledCellsFrom(cells, 2);
    }
    return placed;
}

NamesPaste::Placed downFrom(int firstRow, const QList<QStringList> &lines)
{
    NamesPaste::Placed placed;
    const qsizetype fitting = std::min<qsizetype>(lines.size(), NamedAddresses::count - firstRow);
    for (int i = 0; i < fitting; ++i) {
        placed.names.insert(NamedAddresses::keyOfRow(firstRow + i), lines.at(i).at(0));
        placed.cellsLeftOut += filledCellsFrom(lines.at(i), 1);
    }
    placed.linesWithoutRow = lines.size() - fitting;
    return placed;
}

} // namespace

NamesPaste::Placed NamesPaste::place(const QString &text, int firstRow)
{
    // A clipboard of nothing but line ends and blanks holds no names to paste.
    if (text.trimmed().isEmpty())
        return {};
    const QList<QStringList> lines = cellsOf(text);
    const auto first = std::find_if(lines.cbegin(), lines.cend(), [](const QStringList &cells) {
        return filledCellsFrom(cells, 0) > 0 && !isHeader(cells);
    });
    const bool addressed =
        std::any_of(lines.cbegin(), lines.cend(), isHeader)
        || (first != lines.cend() && first->size() >= 2 && AddressCodec::isPlainAddress(first->at(0)));
    if (addressed)
        return byAddress(lines);
    return firstRow < 0 ? Placed{} : downFrom(firstRow, lines);
}
