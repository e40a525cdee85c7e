#include "panel/arlabel.h"

#include "panel/pens.h"
#include "panel/tablepdf.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <optional>

namespace {

constexpr QSize panelSize(130, 83);
constexpr int repaintIntervalMs = 500;

// Drawing, in widget coordinates until the origin moves to the switches.
constexpr QRectF frameRect(1.0, 1.0, 127.0, 80.0);
constexpr qreal frameRoundnessX = 15;
constexpr qreal frameRoundnessY = 25;
constexpr qreal framePenWidth = 3.0;
constexpr QPointF switchOrigin(5.0, 5.0);
constexpr qreal rowLineLength = 127;
constexpr qreal upperRowLineY = 30;
constexpr qreal lowerRowLineY = 50;
constexpr int knobPitch = 25;
constexpr int knobTop = 10;
constexpr int knobSize = 20;

// Press and drag bands, inclusive, in widget coordinates. They are wider than
// the knobs on the left; x outside every band selects switch 0.
struct Band
{
    int first;
    int last;
    int value;
    bool contains(int v) const { return v >= first && v <= last; }
};

constexpr Band switchBands[] = {{24, 46, 1}, {49, 71, 2}, {74, 96, 3}, {99, 127, 4}};
constexpr int fallbackSwitch = 0;
constexpr Band positionBands[] = {{29, 31, 0}, {49, 67, 2}, {69, 71, 1}};

template<std::size_t N>
std::optional<int> bandValue(const Band (&bands)[N], int v)
{
    for (const Band &band : bands) {
        if (band.contains(v))
            return band.value;
    }
    return std::nullopt;
}

} // namespace

ArLabel::ArLabel(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(panelSize);
    // Redraws twice a second, and so carries out a pending render even unasked.
    auto *repaintTimer = new QTimer(this);
    connect(repaintTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    repaintTimer->start(repaintIntervalMs);
}

ArLabel::~ArLabel() = default;

QString ArLabel::getStrAdr()
{
    dippToStr();
    return strAdr;
}

void ArLabel::setStrAdr(const QString &adr)
{
    dipp = AddressCodec::decode(adr);
    dippToStr();
}

void ArLabel::dippToStr()
{
    strAdr = AddressCodec::encode(dipp);
}

void ArLabel::startTableRender()
{
    renderPending = true;
    renderAdr = QStringLiteral("A1");
}

void ArLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        pressPos = event->position().toPoint();
}

void ArLabel::mouseMoveEvent(QMouseEvent *event)
{
    // The press chooses the switch, the pointer's y its position.
    if (const std::optional<int> position = bandValue(positionBands, event->position().toPoint().y()))
        dipp[bandValue(switchBands, pressPos.x()).value_or(fallbackSwitch)] = *position;
    update();
}

void ArLabel::paintEvent(QPaintEvent * /*event*/)
{
    if (renderPending)
        renderTable();
    QPainter painter(this);
    paintSwitches(painter, dipp);
}

void ArLabel::renderTable()
{
    const QString path = QFileInfo(TablePdf::fileName).absoluteFilePath();
    const TablePdf::Result result = TablePdf::write(path, adrNames);
    renderPending = false;
    // A modal loop inside a paint handler invites recursive repaints: report from the event loop.
    QMetaObject::invokeMethod(
        this, [path, result] { reportRender(path, result); }, Qt::QueuedConnection);
}

void ArLabel::reportRender(const QString &path, const TablePdf::Result &result)
{
    const QString title = tr("Tabelle rendern");
    if (result.ok) {
        QMessageBox::information(nullptr, title, tr("Tabelle wurde erfolgreich gerendert und gespeichert."),
                                 QMessageBox::Ok, QMessageBox::NoButton);
        return;
    }
    QMessageBox::warning(nullptr, title,
                         tr("Die Tabelle konnte nicht gespeichert werden.\n\nDatei: %1\nGrund: %2")
                             .arg(QDir::toNativeSeparators(path), result.error));
}

void ArLabel::paintSwitches(QPainter &painter, const DippSetting &dipp)
{
    painter.save();
    painter.setPen(blackPen(framePenWidth));
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter.drawRoundedRect(frameRect, frameRoundnessX, frameRoundnessY, Qt::RelativeSize);

    painter.translate(switchOrigin);
    painter.setPen(blackPen(1.0, Qt::DotLine));
    painter.drawLine(QLineF(0, upperRowLineY, rowLineLength, upperRowLineY));
    painter.drawLine(QLineF(0, lowerRowLineY, rowLineLength, lowerRowLineY));

    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(Qt::black, Qt::SolidPattern));
    for (int i = 0; i < AddressCodec::switchCount; ++i) {
        const int row = AddressCodec::displayRow(dipp[i]);
        painter.drawRect(QRect(knobPitch * i, knobTop + knobSize * row, knobSize, knobSize));
    }
    painter.restore();
}
