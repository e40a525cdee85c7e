#include "panel/arlabel.h"

#include "panel/arlabelaccessible.h"
#include "panel/panelswitches.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {
constexpr int repaintIntervalMs = 500;
} // namespace

ArLabel::ArLabel(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(PanelSwitches::size);
    setFocusPolicy(Qt::StrongFocus);
    // Before the name: setting it makes Qt create and keep the panel's interface.
    ArLabelAccessible::install();
    setAccessibleName(tr("Dippschalter"));
    switchesChanged();
    // Redraws twice a second, and so carries out a pending render even unasked.
    auto *repaintTimer = new QTimer(this);
    connect(repaintTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    repaintTimer->start(repaintIntervalMs);
}

QString ArLabel::getStrAdr()
{
    return AddressCodec::encode(dipp);
}

void ArLabel::setStrAdr(const QString &adr)
{
    dipp = AddressCodec::decode(adr);
    switchesChanged();
}

void ArLabel::startTableRender()
{
    renderPending = true;
}

void ArLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        pressPos = event->position().toPoint();
        movedSincePress = false;
    }
}

void ArLabel::mouseMoveEvent(QMouseEvent *event)
{
    movedSincePress = true;
    // The press chooses the switch, the pointer's y its position.
    if (const std::optional<int> position = PanelSwitches::positionAt(event->position().toPoint().y()))
        setPosition(PanelSwitches::switchAt(pressPos.x()), *position);
    update();
}

void ArLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // A click without a move sets the knob to the row clicked, by the knobs as drawn.
    if (event->button() != Qt::LeftButton || movedSincePress)
        return;
    if (const auto place = PanelSwitches::knobPlaceAt(event->position().toPoint())) {
        chosenSwitch = place->index;
        setPosition(place->index, AddressCodec::positionOfRow(place->row));
        update();
    }
}

void ArLabel::keyPressEvent(QKeyEvent *event)
{
    const int row = AddressCodec::displayRow(dipp[chosenSwitch]);
    // "+", "0" and "-" put the knob in the row the printed table labels so.
    const std::optional<int> labelRow =
        event->text().size() == 1 ? AddressCodec::rowOfLabel(event->text().front()) : std::nullopt;
    switch (event->key()) {
    case Qt::Key_Left:
        chosenSwitch = std::max(chosenSwitch - 1, 0);
        break;
    case Qt::Key_Right:
        chosenSwitch = std::min(chosenSwitch + 1, AddressCodec::switchCount - 1);
        break;
    case Qt::Key_Up:
        setChosenRow(std::max(row - 1, 0));
        break;
    case Qt::Key_Down:
        setChosenRow(std::min(row + 1, AddressCodec::positionCount - 1));
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit readBackRequested();
        break;
    default:
        if (!labelRow) {
            QWidget::keyPressEvent(event);
            return;
        }
        setChosenRow(*labelRow);
    }
    update();
}

void ArLabel::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void ArLabel::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void ArLabel::setChosenRow(int row)
{
    setPosition(chosenSwitch, AddressCodec::positionOfRow(row));
}

void ArLabel::setPosition(int index, int position)
{
    if (dipp[index] == position)
        return;
    dipp[index] = position;
    switchesChanged();
}

// Screen readers on Linux get the value only as the description; both announce a change.
void ArLabel::switchesChanged()
{
    const QString value = accessibleValue();
    setAccessibleDescription(value);
    QAccessibleValueChangeEvent event(this, value);
    QAccessible::updateAccessibility(&event);
}

QString ArLabel::accessibleValue() const
{
    QStringList switches;
    for (int i = 0; i < AddressCodec::switchCount; ++i) {
        const QChar label = AddressCodec::rowLabels.at(AddressCodec::displayRow(dipp[i]));
        switches.append(tr("Schalter %1 %2").arg(i + 1).arg(label));
    }
    return tr("%1 — Adresse %2").arg(switches.join(QStringLiteral(", ")), AddressCodec::encode(dipp));
}

void ArLabel::paintEvent(QPaintEvent * /*event*/)
{
    if (renderPending)
        renderTable();
    QPainter painter(this);
    PanelSwitches::paint(painter, dipp);
    if (hasFocus())
        PanelSwitches::paintFocus(painter, chosenSwitch, palette().color(QPalette::Highlight));
}

void ArLabel::renderTable()
{
    const QString path = TablePdf::defaultPath();
    const TablePdf::Result result = TablePdf::write(path, adrNames);
    renderPending = false;
    emit tableRendered(path, result);
}
