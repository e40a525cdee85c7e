#include "mainwindow/labelsdialog.h"

#include "base/usersettings.h"
#include "mainwindow/fittingdialog.h"
#include "mainwindow/typedfields.h"
#include "page/labellayout.h"
#include "page/labelspdf.h"
#include "print/lastprinter.h"
#include "print/pageprinter.h"
#include "print/printeroffsets.h"

#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QGraphicsView>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QSettings>

namespace {

const QString formatKey = QStringLiteral("etiketten/format");
const QString startKey = QStringLiteral("etiketten/beginn");
const QString customKey = QStringLiteral("etiketten/eigenes");
// One's own format as stored, in this order.
enum OwnField { OwnSize, OwnColumns, OwnRows, OwnMargins, OwnGaps, OwnFieldCount };
const QString ownName = QStringLiteral("eigenes"); // the format stored when one's own is chosen

} // namespace

LabelsDialog::LabelsDialog(Names names, QStringList selectedKeys, QWidget *parent)
    : QDialog(parent)
    , names(std::move(names))
    , selectedKeys(std::move(selectedKeys))
    , formats(LabelSheet::formats())
    , printer(QPrinter::HighResolution)
{
    setupUi(this);
    for (const LabelFormat &format : std::as_const(formats)) {
        const QString sheet = tr("%1 × %2 mm, %3 × %4 auf A4")
                                  .arg(LabelSheet::millimetres(format.label.width(), QLocale()),
                                       LabelSheet::millimetres(format.label.height(), QLocale()))
                                  .arg(format.columns)
                                  .arg(format.rows);
        formatBox->addItem(format.maker.isEmpty() ? sheet : tr("%1: %2").arg(format.name(), sheet));
    }
    formatBox->addItem(tr("Eigenes Format"));
    // Hundreds of sheets: typing a maker, an article number or a size narrows the list.
    formatBox->setEditable(true);
    formatBox->setInsertPolicy(QComboBox::NoInsert);
    formatBox->completer()->setFilterMode(Qt::MatchContains);
    formatBox->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    formatBox->completer()->setCompletionMode(QCompleter::PopupCompletion);
    selectedRadio->setEnabled(!this->selectedKeys.isEmpty());
    restoreSettings();

    preview = new QPrintPreviewWidget(&printer, this);
    preview->findChild<QGraphicsView *>()->setAccessibleName(tr("Vorschau")); // the focus stop
    previewLayout->addWidget(preview);
    connect(preview, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *target) { PagePrinter::print(*target, document()); });
    connect(formatBox, &QComboBox::currentIndexChanged, this, &LabelsDialog::showFormat);
    connect(startSpin, &QSpinBox::valueChanged, this, &LabelsDialog::refresh);
    for (QSpinBox *spin : {columnsSpin, rowsSpin})
        connect(spin, &QSpinBox::valueChanged, this, &LabelsDialog::ownEdited);
    for (QDoubleSpinBox *spin : {widthSpin, heightSpin, leftSpin, topSpin, columnGapSpin, rowGapSpin})
        connect(spin, &QDoubleSpinBox::valueChanged, this, &LabelsDialog::ownEdited);
    for (QRadioButton *radio : {namedRadio, selectedRadio, allRadio})
        connect(radio, &QRadioButton::toggled, this, &LabelsDialog::refresh);
    connect(saveButton, &QPushButton::clicked, this, &LabelsDialog::save);
    connect(printButton, &QPushButton::clicked, this, &LabelsDialog::print);
    connect(testSheetButton, &QPushButton::clicked, this, &LabelsDialog::printTestSheet);
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    printerBox->addItems(printers);
    // Its placeholder says that there is none, and is read as its name then, as a printer's would be.
    printerBox->setCurrentIndex(static_cast<int>(LastPrinter::chosenIn(printers)));
    if (printerBox->count() == 0)
        printerBox->setAccessibleName(printerBox->placeholderText());
    for (QDoubleSpinBox *spin : {offsetRightSpin, offsetDownSpin}) {
        spin->setRange(-PrinterOffsets::limitMm, PrinterOffsets::limitMm);
        connect(spin, &QDoubleSpinBox::valueChanged, this, &LabelsDialog::storeOffset);
    }
    connect(printerBox, &QComboBox::currentTextChanged, this, &LabelsDialog::showOffset);
    // A number beyond a field's range is told until a field takes a value.
    for (MillimetreSpinBox *spin : findChildren<MillimetreSpinBox *>()) {
        connect(spin, &MillimetreSpinBox::refused, this, &LabelsDialog::tellRefused);
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this] { tellRefused({}); });
    }
    typed = new TypedFields(this, formatBox);
    connect(typed, &TypedFields::refused, this, &LabelsDialog::tellRefused);
    connect(formatBox, &QComboBox::currentIndexChanged, this, [this] { tellRefused({}); });
    tellRefused({});
    showOffset();
    showFormat();
    FittingDialog::apply(this, buttonLayout);
}

LabelsDialog::~LabelsDialog()
{
    // Hidden while whole: a field left as it hides takes what is typed, and tells this dialog.
    hide();
    QSettings settings = userSettings();
    const bool custom = formatBox->currentIndex() == formats.size();
    settings.setValue(formatKey, custom ? ownName : chosenFormat().name());
    settings.setValue(startKey, startSpin->value());
    settings.setValue(customKey, QVariantList{own.label, own.columns, own.rows, own.margins, own.gaps});
}

void LabelsDialog::restoreSettings()
{
    const QSettings settings = userSettings();
    own = formats.constFirst();
    if (const QVariantList custom = settings.value(customKey).toList(); custom.size() == OwnFieldCount) {
        own.label = custom[OwnSize].toSizeF();
        own.columns = custom[OwnColumns].toInt();
        own.rows = custom[OwnRows].toInt();
        own.margins = custom[OwnMargins].toPointF();
        own.gaps = custom[OwnGaps].toSizeF();
    }
    const QString chosen = settings.value(formatKey).toString();
    const auto named = std::find_if(formats.cbegin(), formats.cend(),
                                    [&chosen](const LabelFormat &format) { return format.name() == chosen; });
    formatBox->setCurrentIndex(static_cast<int>(chosen == ownName         ? formats.size()
                                                : named != formats.cend() ? named - formats.cbegin()
                                                                          : 0));
    startSpin->setValue(settings.value(startKey, 1).toInt());
}

LabelFormat LabelsDialog::chosenFormat() const
{
    return formatBox->currentIndex() < formats.size() ? formats.at(formatBox->currentIndex()) : own;
}

QStringList LabelsDialog::chosenKeys() const
{
    if (selectedRadio->isChecked())
        return selectedKeys;
    if (namedRadio->isChecked())
        return LabelsPdf::namedKeys(names);
    return NamedAddresses::keysInTableOrder();
}

PageDocument LabelsDialog::document() const
{
    return LabelsPdf::document(names, chosenFormat(), chosenKeys(), startSpin->value());
}

// The fields show the chosen sheet, and can be changed only for one's own.
void LabelsDialog::showFormat()
{
    const LabelFormat format = chosenFormat();
    {
        const QSignalBlocker blockers[] = {QSignalBlocker(widthSpin),     QSignalBlocker(heightSpin),
                                           QSignalBlocker(columnsSpin),   QSignalBlocker(rowsSpin),
                                           QSignalBlocker(leftSpin),      QSignalBlocker(topSpin),
                                           QSignalBlocker(columnGapSpin), QSignalBlocker(rowGapSpin)};
        widthSpin->setValue(format.label.width());
        heightSpin->setValue(format.label.height());
        columnsSpin->setValue(format.columns);
        rowsSpin->setValue(format.rows);
        leftSpin->setValue(format.margins.x());
        topSpin->setValue(format.margins.y());
        columnGapSpin->setValue(format.gaps.width());
        rowGapSpin->setValue(format.gaps.height());
    }
    customBox->setEnabled(formatBox->currentIndex() == formats.size());
    refresh();
}

// Kept as entered, also while a sheet of the list is chosen, and stored.
void LabelsDialog::ownEdited()
{
    if (formatBox->currentIndex() < formats.size())
        return;
    own.label = QSizeF(widthSpin->value(), heightSpin->value());
    own.columns = columnsSpin->value();
    own.rows = rowsSpin->value();
    own.margins = QPointF(leftSpin->value(), topSpin->value());
    own.gaps = QSizeF(columnGapSpin->value(), rowGapSpin->value());
    refresh();
}

// The sheets as they will print, or why they cannot, with nothing to save or print then.
void LabelsDialog::refresh()
{
    const LabelFormat format = chosenFormat();
    QStringList problems;
    if (!format.fitsPaper()) {
        problems.append(format.overlaps() ? tr("Diese Etiketten liegen übereinander.")
                                          : tr("Diese Etiketten passen nicht auf ein A4-Blatt."));
    }
    if (const LabelLayout layout = LabelLayout::of(format.label); !layout.fits)
        problems.append(layout.reason(QLocale::German));
    startSpin->setMaximum(std::max(format.perSheet(), 1));
    const qsizetype count = chosenKeys().size();
    countLabel->setText(count == 0
                            ? tr("Keine Adresse hat einen Namen: „alle 96 Adressen“ wählen oder Namen eintragen.")
                            : tr("%n Etiketten", nullptr, static_cast<int>(count)));
    testSheetButton->setEnabled(format.fitsPaper());
    saveButton->setEnabled(problems.isEmpty() && count > 0);
    printButton->setEnabled(problems.isEmpty() && count > 0);
    reasonLabel->setText(problems.join(u"\n\n"));
    previewStack->setCurrentWidget(problems.isEmpty() ? previewPage : reasonPage);
    if (problems.isEmpty()) {
        PagePrinter::prepare(printer, document());
        preview->updatePreview();
    }
}

// Whether a button still holds once what is typed is taken: not where that is refused, which
// gives way to what was before, not what was meant.
bool LabelsDialog::takeTyped(const QPushButton *button)
{
    return typed->take() && button->isEnabled();
}

void LabelsDialog::save()
{
    if (!takeTyped(saveButton))
        return;
    QString path =
        QFileDialog::getSaveFileName(this, tr("Etiketten speichern"),
                                     QDir::current().absoluteFilePath(LabelsPdf::fileName), tr("PDF-Dateien (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    report(tr("Etiketten speichern"), tr("Die Etiketten wurden in %1 gespeichert.").arg(QDir::toNativeSeparators(path)),
           document().writePdf(path));
}

void LabelsDialog::print()
{
    if (!takeTyped(printButton))
        return;
    printDocument(document(), PrintReport::Subject::Labels, tr("Etiketten drucken"));
}

void LabelsDialog::printTestSheet()
{
    if (!takeTyped(testSheetButton))
        return;
    printDocument(LabelsPdf::testSheet(chosenFormat()), PrintReport::Subject::TestSheet, tr("Testblatt drucken"));
}

// On the printer chosen here, unless the print dialog chooses another: shifted by its offset.
void LabelsDialog::printDocument(const PageDocument &pages, PrintReport::Subject subject, const QString &title)
{
    PagePrinter::prepare(printer, pages);
    if (printerBox->currentIndex() >= 0)
        printer.setPrinterName(printerBox->currentText());
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const int chosen = printerBox->findText(printer.printerName()); chosen >= 0)
        printerBox->setCurrentIndex(chosen);
    LastPrinter::keep(printer);
    const PrintReport printed = PagePrinter::submit(printer, pages);
    report(title, printed.windowText(subject), printed.result());
}

// The offset kept for the printer chosen; none to enter without a printer.
void LabelsDialog::showOffset()
{
    const QPointF offset = PrinterOffsets::of(printerBox->currentText());
    const QSignalBlocker right(offsetRightSpin);
    const QSignalBlocker down(offsetDownSpin);
    offsetRightSpin->setValue(offset.x());
    offsetDownSpin->setValue(offset.y());
    offsetRightSpin->setEnabled(printerBox->currentIndex() >= 0);
    offsetDownSpin->setEnabled(printerBox->currentIndex() >= 0);
}

void LabelsDialog::storeOffset()
{
    PrinterOffsets::set(printerBox->currentText(), QPointF(offsetRightSpin->value(), offsetDownSpin->value()));
}

void LabelsDialog::tellRefused(const QString &reason)
{
    refusedLabel->setText(reason);
    refusedLabel->setVisible(!reason.isEmpty());
}

void LabelsDialog::report(const QString &title, const QString &done, const RenderResult &result)
{
    if (!result.ok) {
        QMessageBox::warning(this, title, tr("Das ist nicht gelungen.\n\nGrund: %1").arg(result.error));
        return;
    }
    const QStringList details = QStringList{done} + PrintReport::windowFits(result, PrintReport::Subject::Labels);
    QMessageBox::information(this, title, details.join(u'\n'));
}
