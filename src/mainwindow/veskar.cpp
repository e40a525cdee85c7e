#include "mainwindow/veskar.h"

#include "address/addresscodec.h"
#include "address/namedaddresses.h"
#include "base/usersettings.h"
#include "document/namesdocument.h"
#include "mainwindow/namesfiles.h"
#include "mainwindow/namessearch.h"
#include "mainwindow/namestable.h"
#include "mainwindow/printactions.h"
#include "mainwindow/storereports.h"
#include "names/nameforms.h"
#include "panel/arlabel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QDir>
#include <QHeaderView>
#include <QMessageBox>
#include <QSessionManager>
#include <QSettings>
#include <QSignalBlocker>

namespace {

const QString styleSheetText = QStringLiteral(
    "#container, QLineEdit{\t"
    "background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,stop: 0 #D0D0D0, stop: 1 #FFFFFF);}"
    "QPushButton{\t"
    "background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:1, stop:0 rgba(230, 230, 230, 255), "
    "stop:0.4 rgba(128, 128, 128, 255), stop:0.6 rgba(128, 128, 128, 255), stop:1 rgba(230, 230, 230, 255));\t"
    "border-color: rgb(0, 0, 0);\t"
    "border-width: 2px;}");

constexpr int nameColumn = NamesTable::nameColumn;
constexpr int addressColumn = NamesTable::addressColumn;
constexpr int rowsShownAtFirstStart = 12;
// At close, the names still pending get this long to be stored before the user is asked.
constexpr int closeWaitMs = 3000;
const QString geometryKey = QStringLiteral("fenster/geometrie");

// Streamed, never used as a format, so names reach the output as typed.
void logProgress(const QString &line)
{
    qDebug().noquote() << line;
}

} // namespace

VeskAr::VeskAr(QWidget *parent)
    : QWidget(parent)
{
    setupUi(this);
    setNamesTableVisible(false);
    setStyleSheet(styleSheetText);

    arLabel = new ArLabel(groupBox_2);
    verticalLayout_2->insertWidget(0, arLabel);
    applyAddress(QStringLiteral("A1"));
    strEdit->setText(arLabel->getStrAdr());

    connect(rechnen, &QPushButton::clicked, this, &VeskAr::changeDipp);
    connect(rechnen_2, &QPushButton::clicked, this, &VeskAr::changeStr);
    connect(table, &QPushButton::clicked, this, &VeskAr::renderTable);
    connect(strEdit, &QLineEdit::returnPressed, this, &VeskAr::changeDipp);
    connect(arLabel, &ArLabel::readBackRequested, this, &VeskAr::changeStr);
    connect(
        adrTable, &QTableWidget::currentCellChanged, this,
        [this](int row, int /*column*/, int previousRow, int /*previousColumn*/) { showRowAddress(row, previousRow); });
    setTabOrder(rechnen, arLabel);

    groupBox_2->layout()->activate();
    document = new NamesDocument(NamesStore::defaultPath(), this);
    namesTable = new NamesTable(adrTable, document);
    connect(namesTable->files(), &NamesFiles::loaded, viewTable, [this] { viewTable->setChecked(true); });
    auto *printing = new PrintActions(this, document, namesTable);
    connect(table_2, &QPushButton::clicked, printing, &PrintActions::openTable);
    connect(printButton, &QPushButton::clicked, printing, &PrintActions::printTable);
    connect(labelsButton, &QPushButton::clicked, printing, &PrintActions::showLabels);
    // A modal loop inside the panel's paint invites recursive repaints: report from the event loop.
    connect(arLabel, &ArLabel::tableRendered, printing, &PrintActions::reportRender, Qt::QueuedConnection);
    auto *search = new NamesSearch(searchEdit, adrTable);
    auto *find = new QAction(this);
    find->setShortcuts(QKeySequence::Find);
    connect(find, &QAction::triggered, search, [this, search] {
        viewTable->setChecked(true);
        search->start();
    });
    addAction(find);
    // What this window changes, also by undo or redo, it shows.
    connect(document, &NamesDocument::changing, search, &NamesSearch::reveal);
    new StoreReports(&document->store(), this);
    connect(document, &NamesDocument::replaced, this, &VeskAr::showReplaced);
    connect(document->undoStack(), &QUndoStack::indexChanged, replacedState, &QWidget::hide);
    connect(document->undoStack(), &QUndoStack::indexChanged, replacedState, &QLabel::clear);
    document->restore();
    // Qt shows the marker where the title has [*] while the window is modified.
    setWindowTitle(windowTitle() + QStringLiteral("[*]"));
    connect(&document->store(), &SharedStore::stateChanged, this, &VeskAr::showStoreState);
    showStoreState();
    connect(qApp, &QGuiApplication::commitDataRequest, this, &VeskAr::commitData, Qt::DirectConnection);
    restoreGeometryOrFitTwelveRows();
}

// QWidget's destructor hides the window, which commits a name being typed; it is stored,
// but this window is no longer there to show it.
VeskAr::~VeskAr()
{
    disconnect(&document->store(), nullptr, this, nullptr);
}

// Without a box: the title's marker and a line under the table, while names wait.
void VeskAr::showStoreState()
{
    const SharedStore &store = document->store();
    const bool waiting = store.failing() && store.pendingCount() > 0;
    setWindowModified(waiting);
    // Hidden, the line holds no text: a screen reader would read it, and announce each change.
    storeState->setText(waiting ? tr("Namen noch nicht gesichert: %1. Es wird weiter versucht, sie in %2 zu sichern.")
                                      .arg(store.pendingCount())
                                      .arg(QDir::toNativeSeparators(store.file()))
                                : QString());
    storeState->setVisible(waiting);
}

// Without a box, as the waiting names: the user goes on, and an undo brings them back.
void VeskAr::showReplaced(const NameEntries &ours, const Names &now)
{
    const auto quoted = [](const std::optional<QString> &name) {
        return name ? tr("„%1“").arg(NameForms::isolated(*name)) : tr("leer");
    };
    QStringList lines;
    for (auto entry = ours.cbegin(); entry != ours.cend(); ++entry)
        lines.append(
            tr("%1: %2 ist jetzt %3").arg(entry.key(), quoted(entry.value()), quoted(entryOf(now, entry.key()))));
    lines.sort();
    replacedState->setText(tr("Durch spätere Namen von anderswo ersetzt: %1. Rückgängig (Strg+Z) holt sie zurück.")
                               .arg(lines.join(QStringLiteral("; "))));
    replacedState->show();
}

// Names the store does not hold yet are tried once more; failing that, the user decides.
bool VeskAr::mayClose(Asking asking)
{
    namesTable->commitEditor();
    SharedStore &store = document->store();
    if (store.waitStored(closeWaitMs) || asking == Asking::Forbidden)
        return true;
    QMessageBox box(QMessageBox::Warning, tr("Namen nicht gesichert"),
                    tr("Noch nicht gesicherte Namen: %1. Sie konnten nicht in %2 gesichert werden.\n\n"
                       "Vor dem Schließen in eine Namensliste an einem anderen Ort speichern? "
                       "Ohne Speichern gehen sie verloren.")
                        .arg(store.pendingCount())
                        .arg(QDir::toNativeSeparators(store.file())),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.button(QMessageBox::Save)->setText(tr("Namen speichern…"));
    box.button(QMessageBox::Discard)->setText(tr("Ohne die Namen schließen"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return namesTable->files()->askSave();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void VeskAr::commitData(QSessionManager &manager)
{
    if (!mayClose(manager.allowsInteraction() ? Asking::Allowed : Asking::Forbidden))
        manager.cancel();
}

void VeskAr::restoreGeometryOrFitTwelveRows()
{
    if (restoreGeometry(userSettings().value(geometryKey).toByteArray()))
        return;
    // Lay the window out once with the table shown and twelve rows tall, and keep that size.
    const int twelveRows = adrTable->horizontalHeader()->sizeHint().height() + 2 * adrTable->frameWidth()
                           + rowsShownAtFirstStart * adrTable->verticalHeader()->defaultSectionSize();
    adrTable->setMinimumHeight(twelveRows);
    setNamesTableVisible(true);
    resize(sizeHint().expandedTo(size()));
    adrTable->setMinimumHeight(0);
    setNamesTableVisible(viewTable->isChecked());
}

void VeskAr::setNamesTableVisible(bool visible)
{
    adrTable->setVisible(visible);
    searchEdit->setVisible(visible);
}

// Ended by the system with no one there to answer (a logout without a session manager, the
// terminal closed): what is typed is stored as at a session's end, and nothing is asked.
void VeskAr::closeUnasked()
{
    closing = Asking::Forbidden;
    QApplication::closeAllWindows(); // a dialog left open would keep the program running
}

void VeskAr::closeEvent(QCloseEvent *event)
{
    if (!mayClose(closing)) {
        event->ignore();
        return;
    }
    QSettings stored = userSettings();
    stored.setValue(geometryKey, saveGeometry());
    QWidget::closeEvent(event);
}

void VeskAr::applyAddress(const QString &text)
{
    arLabel->setStrAdr(text);
    arLabel->repaint();
}

void VeskAr::changeDipp()
{
    const QString typed = strEdit->text();
    applyAddress(typed);
    const QString address = arLabel->getStrAdr();
    strEdit->setText(address);
    selectRowOf(address);
    warnAboutAddress(typed, address);
}

// Whoever sets a module from a misread or unsettable address puts it on another module's address.
void VeskAr::warnAboutAddress(const QString &typed, const QString &address)
{
    QStringList problems;
    if (!AddressCodec::isPlainAddress(typed))
        problems.append(tr("„%1“ ist keine Adresse wie 7C oder C7 – gelesen als %2.").arg(typed, address));
    if (!AddressCodec::isSettable(arLabel->positions())) {
        problems.append(tr("Die Adresse %1 lässt sich mit den Dippschaltern nicht einstellen: "
                           "möglich sind die Nummern 1 bis 27 und die Buchstaben A bis I.\n"
                           "Die Zeichnung zeigt diese Adresse nicht.")
                            .arg(address));
    }
    if (!problems.isEmpty())
        QMessageBox::warning(this, tr("Adresse->Schalter"), problems.join(QStringLiteral("\n\n")));
}

void VeskAr::changeStr()
{
    strEdit->setText(arLabel->getStrAdr());
    selectRowOf(strEdit->text());
}

// The names table follows the address shown, so its name is in view and tabbing into
// the table does not jump to another address.
void VeskAr::selectRowOf(const QString &address)
{
    if (const std::optional<int> row = NamedAddresses::rowOf(address)) {
        const QSignalBlocker alreadyShown(adrTable);
        adrTable->setCurrentCell(*row, nameColumn);
        adrTable->scrollToItem(adrTable->item(*row, addressColumn));
    } else {
        const QSignalBlocker noRow(adrTable);
        adrTable->setCurrentCell(-1, -1);
    }
}

// A row chosen in the names table shows its address as "Adresse->Schalter" would.
void VeskAr::showRowAddress(int row, int previousRow)
{
    if (row < 0 || row == previousRow)
        return;
    strEdit->setText(NamedAddresses::keyOfRow(row));
    changeDipp();
}

void VeskAr::renderTable()
{
    // Rows whose name cell holds an item, in table order.
    Names hash;
    for (int row = 0; row < NamedAddresses::count; ++row) {
        const QString address = NamedAddresses::keyOfRow(row);
        const auto name = document->names().constFind(address);
        if (name == document->names().cend())
            continue;
        hash.insert(address, *name);
        logProgress(QStringLiteral("Adr: ") + address + QStringLiteral("  Name: ") + *name);
    }

    logProgress(QStringLiteral("arLabel->adrNames = hash;"));
    arLabel->adrNames = hash;
    logProgress(QStringLiteral("arLabel->startTableRender();"));
    arLabel->startTableRender();
    logProgress(QStringLiteral("strEdit->setText(arLabel->getStrAdr()); "));
    strEdit->setText(arLabel->getStrAdr());
    logProgress(QStringLiteral("arLabel->setStrAdr(strEdit->text().toUpper());"));
    applyAddress(strEdit->text());
    logProgress(QStringLiteral("fertig"));
}
