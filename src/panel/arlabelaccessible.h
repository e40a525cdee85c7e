#ifndef ARLABELACCESSIBLE_H
#define ARLABELACCESSIBLE_H

#include <QAccessibleWidget>

// Tells assistive technology what the switch panel shows: its name and, as the value,
// the five switches and the address they make, which the panel keeps as its description.
class ArLabelAccessible : public QAccessibleWidget
{
public:
    explicit ArLabelAccessible(QWidget *panel);

    QString text(QAccessible::Text t) const override;

    // Makes Qt use this class for every switch panel; safe to call more than once.
    static void install();
};

#endif
