#include "mainwindow/labelsdialog.h"

#include "mainwindow/appsetup.h"
#include "page/labelspdf.h"
#include "print/pageprinter.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QSettings>

namespace {

const QString formatKey = QStringLiteral("etiketten/format");
const QString startKey = QStringLiteral("etiketten/beginn");
const QString customKey = QStringLiteral("etiketten/eigenes");

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
        formatBox->addItem(tr("%1 × %2 mm, %3 × %4 auf A4")
                               .arg(QLocale().toString(format.label.width()), QLocale().toString(format.label.height()))
                               .arg(format.columns)
                               .arg(format.rows));
    }
    formatBox->addItem(tr("Eigenes Format"));
    selectedRadio->setEnabled(!this->selectedKeys.isEmpty());
    restoreSettings();

    preview = new QPrintPreviewWidget(&printer, this);
    preview->setAccessibleName(tr("Vorschau"));
    previewLayout->addWidget(preview);
    connect(preview, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *target) { PagePrinter::print(*target, document()); });
    connect(formatBox, &QComboBox::currentIndexChanged, this, &LabelsDialog::showFormat);
    for (QSpinBox *spin : {startSpin, columnsSpin, rowsSpin})
        connect(spin, &QSpinBox::valueChanged, this, &LabelsDialog::refresh);
    for (QDoubleSpinBox *spin : {widthSpin, heightSpin, leftSpin, topSpin, columnGapSpin, rowGapSpin})
        connect(spin, &QDoubleSpinBox::valueChanged, this, &LabelsDialog::refresh);
    for (QRadioButton *radio : {namedRadio, selectedRadio, allRadio})
        connect(radio, &QRadioButton::toggled, this, &LabelsDialog::refresh);
    connect(saveButton, &QPushButton::clicked, this, &LabelsDialog::save);
    connect(printButton, &QPushButton::clicked, this, &LabelsDialog::print);
    showFormat();
}

LabelsDialog::~LabelsDialog()
{
    QSettings settings = AppSetup::settings();
    settings.setValue(formatKey, formatBox->currentIndex());
    settings.setValue(startKey, startSpin->value());
    const LabelFormat custom = chosenFormat();
    settings.setValue(customKey, QVariantList{custom.label, custom.columns, custom.rows, custom.margins, custom.gaps});
}

void LabelsDialog::restoreSettings()
{
    const QSettings settings = AppSetup::settings();
    const QVariantList custom = settings.value(customKey).toList();
    const LabelFormat format = custom.size() == 5
                                   ? LabelFormat{custom[0].toSizeF(), custom[1].toInt(), custom[2].toInt(),
                                                 custom[3].toPointF(), custom[4].toSizeF()}
                                   : formats.constFirst();
    widthSpin->setValue(format.label.width());
    heightSpin->setValue(format.label.height());
    columnsSpin->setValue(format.columns);
    rowsSpin->setValue(format.rows);
    leftSpin->setValue(format.margins.x());
    topSpin->setValue(format.margins.y());
    columnGapSpin->setValue(format.gaps.width());
    rowGapSpin->setValue(format.gaps.height());
    formatBox->setCurrentIndex(std::clamp(settings.value(formatKey, 0).toInt(), 0, static_cast<int>(formats.size())));
    startSpin->setValue(settings.value(startKey, 1).toInt());
}

LabelFormat LabelsDialog::chosenFormat() const
{
    if (formatBox->currentIndex() < formats.size())
        return formats.at(formatBox->currentIndex());
    return {QSizeF(widthSpin->value(), heightSpin->value()), columnsSpin->value(), rowsSpin->value(),
            QPointF(leftSpin->value(), topSpin->value()), QSizeF(columnGapSpin->value(), rowGapSpin->value())};
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

// The custom fields show the chosen sheet, and can be changed only for one's own.
void LabelsDialog::showFormat()
{
    const bool custom = formatBox->currentIndex() == formats.size();
    if (!custom) {
        const LabelFormat format = chosenFormat();
        const QSignalBlocker blockers[] = {QSignalBlocker(widthSpin), QSignalBlocker(heightSpin),
                                           QSignalBlocker(columnsSpin), QSignalBlocker(rowsSpin)};
        widthSpin->setValue(format.label.width());
        heightSpin->setValue(format.label.height());
        columnsSpin->setValue(format.columns);
        rowsSpin->setValue(format.rows);
    }
    customBox->setEnabled(custom);
    refresh();
}

void LabelsDialog::refresh()
{
    const LabelFormat format = chosenFormat();
    const bool fits = format.fitsPaper();
    startSpin->setMaximum(std::max(format.perSheet(), 1));
    const qsizetype count = chosenKeys().size();
    countLabel->setText(!fits ? tr("Diese Etiketten passen nicht auf ein A4-Blatt.")
                        : count == 0
                            ? tr("Keine Adresse hat einen Namen: „alle 96 Adressen“ wählen oder Namen eintragen.")
                            : tr("%n Etiketten", nullptr, static_cast<int>(count)));
    saveButton->setEnabled(fits && count > 0);
    printButton->setEnabled(fits && count > 0);
    if (fits) {
        PagePrinter::prepare(printer, document());
        preview->updatePreview();
    }
}

void LabelsDialog::save()
{
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
    const PageDocument labels = document();
    PagePrinter::prepare(printer, labels);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        report(tr("Etiketten drucken"), tr("Die Etiketten wurden gedruckt."), PagePrinter::print(printer, labels));
}

void LabelsDialog::report(const QString &title, const QString &done, const RenderResult &result)
{
    if (!result.ok) {
        QMessageBox::warning(this, title, tr("Das ist nicht gelungen.\n\nGrund: %1").arg(result.error));
        return;
    }
    QStringList details{done};
    if (!result.smaller.isEmpty())
        details.append(tr("Kleiner gedruckt, damit sie aufs Etikett passen: %1").arg(result.smaller.join(u", ")));
    if (!result.shortened.isEmpty())
        details.append(tr("Gekürzt gedruckt, zu lang für das Etikett: %1").arg(result.shortened.join(u", ")));
    if (!result.missing.isEmpty())
        details.append(tr("Zeichen fehlen in der Schrift: %1").arg(result.missing.join(u", ")));
    QMessageBox::information(this, title, details.join(u'\n'));
}
