#ifndef ARLABELACCESSIBLE_H
#define ARLABELACCESSIBLE_H

#include <QAccessibleWidget>

class ArLabel;

// Tells assistive technology what the switch panel shows: its name and, as the value,
// the five switches and the address they make.
class ArLabelAccessible : public QAccessibleWidget
{
public:
    explicit ArLabelAccessible(ArLabel *panel);

    QString text(QAccessible::Text t) const override;

    // Makes Qt use this class for every switch panel; safe to call more than once.
    static void install();
};

#endif
