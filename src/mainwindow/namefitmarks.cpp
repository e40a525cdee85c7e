#include "mainwindow/namefitmarks.h"

#include "address/namedaddresses.h"
#include "names/namerules.h"
#include "page/tablepdf.h"

#include <QLineEdit>
#include <QTableWidgetItem>

namespace {

constexpr QRgb smallerColour = 0x9a5b00;   // dark orange
constexpr QRgb shortenedColour = 0xc00000; // dark red

} // namespace

NameFitMarks::NameFitMarks()
    : fitter(TablePdf::pageWidth())
{
}

NameFitMarks::Mark NameFitMarks::markOf(int row, const QString &name) const
{
    if (const qsizetype hidden = NameRules::firstHiddenCharacter(name); hidden >= 0) {
        const NameRules::HiddenCharacter character = NameRules::hiddenCharacterAt(name, hidden);
        return {QColor(shortenedColour),
                tr("Enthält unsichtbare Zeichen (%1 an Stelle %2)").arg(character.code).arg(character.position)};
    }
    const FittedName fitted = fitter.fit(name, NamedAddresses::keyOfRow(row));
    if (!fitted.missing.isEmpty())
        return {QColor(shortenedColour), tr("Zeichen fehlen in der Schrift: %1").arg(fitted.missing)};
    switch (fitted.fit) {
    case FittedName::Smaller:
        return {QColor(smallerColour), tr("Wird verkleinert gedruckt")};
    case FittedName::Shortened:
        return {QColor(shortenedColour), tr("Wird gekürzt gedruckt: zu lang für das Feld")};
    case FittedName::Fits:
        break;
    }
    return {};
}

void NameFitMarks::mark(QTableWidgetItem *item) const
{
    const Mark mark = markOf(item->row(), item->text());
    item->setForeground(mark.color.isValid() ? QBrush(mark.color) : QBrush());
    item->setToolTip(mark.toolTip);
    item->setData(Qt::AccessibleDescriptionRole, mark.toolTip); // read out with the name
}

void NameFitMarks::mark(QLineEdit *editor, int row, QPalette palette) const
{
    const Mark mark = markOf(row, editor->text());
    if (mark.color.isValid())
        palette.setColor(QPalette::Text, mark.color);
    editor->setPalette(palette);
    editor->setToolTip(mark.toolTip);
}
