#include "panel/arlabel.h"

#include "page/tablepdf.h"
#include "panel/switchdrawing.h"

#include <QDir>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {
constexpr int repaintIntervalMs = 500;
} // namespace

ArLabel::ArLabel(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(SwitchDrawing::size);
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
    if (const std::optional<int> position = SwitchDrawing::positionAt(event->position().toPoint().y()))
        dipp[SwitchDrawing::switchAt(pressPos.x())] = *position;
    update();
}

void ArLabel::paintEvent(QPaintEvent * /*event*/)
{
    if (renderPending)
        renderTable();
    QPainter painter(this);
    SwitchDrawing::paint(painter, dipp);
}

void ArLabel::renderTable()
{
    const QString path = TablePdf::defaultPath();
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
