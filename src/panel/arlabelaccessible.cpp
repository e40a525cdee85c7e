#include "panel/arlabelaccessible.h"

#include "panel/arlabel.h"

namespace {

QAccessibleInterface *create(const QString &className, QObject *object)
{
    if (className == QLatin1String("ArLabel") && object != nullptr && object->isWidgetType())
        return new ArLabelAccessible(static_cast<ArLabel *>(object));
    return nullptr;
}

} // namespace

ArLabelAccessible::ArLabelAccessible(ArLabel *panel)
    : QAccessibleWidget(panel, QAccessible::Slider)
{
}

QString ArLabelAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return static_cast<const ArLabel *>(widget())->accessibleValue();
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
