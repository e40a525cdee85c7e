#include "panel/arlabelaccessible.h"

#include <QWidget>

namespace {

QAccessibleInterface *create(const QString &className, QObject *object)
{
    if (className == QLatin1String("ArLabel") && object != nullptr && object->isWidgetType())
        return new ArLabelAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

ArLabelAccessible::ArLabelAccessible(QWidget *panel)
    : QAccessibleWidget(panel, QAccessible::Slider)
{
}

QString ArLabelAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return widget()->accessibleDescription();
    return QAccessibleWidget::text(t);
}

void ArLabelAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(create);
        return true;
    }();
    Q_UNUSED(installed)
}
