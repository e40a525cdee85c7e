#include "print/printeroffsets.h"

#include "base/usersettings.h"

#include <QStringList>

#include <cmath>

namespace {

const QString group = QStringLiteral("druckerversatz");

// Printer names may hold slashes and blanks, which QSettings would take for groups.
QString keyOf(const QString &printer)
{
    return group + u'/' + QString::fromLatin1(printer.toUtf8().toPercentEncoding());
}

bool withinLimit(qreal mm)
{
    return std::isfinite(mm) && std::abs(mm) <= PrinterOffsets::limitMm;
}

} // namespace

namespace PrinterOffsets {

QPointF of(const QString &printer)
{
    if (printer.isEmpty())
        return {};
    // Typed into the settings file unquoted, "2,1" reads as a list of two.
    const QVariant stored = userSettings().value(keyOf(printer));
    const QString text =
        stored.typeId() == QMetaType::QStringList ? stored.toStringList().join(u',') : stored.toString();
    return parse(text).value_or(QPointF());
}

void set(const QString &printer, QPointF offsetMm)
{
    if (printer.isEmpty())
        return;
    QSettings settings = userSettings();
    if (offsetMm.isNull())
        settings.remove(keyOf(printer));
    else
        settings.setValue(keyOf(printer), QStringLiteral("%1,%2").arg(offsetMm.x()).arg(offsetMm.y()));
}

std::optional<QPointF> parse(const QString &text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 2)
        return std::nullopt;
    bool rightOk = false;
    bool downOk = false;
    const qreal right = parts.at(0).trimmed().toDouble(&rightOk);
    const qreal down = parts.at(1).trimmed().toDouble(&downOk);
    if (!rightOk || !downOk || !withinLimit(right) || !withinLimit(down))
        return std::nullopt;
    return QPointF(right, down);
}

} // namespace PrinterOffsets
