#ifndef LABELPAGE_H
#define LABELPAGE_H

#include "address/namedaddresses.h"
#include "page/fittedname.h"
#include "page/labellayout.h"
#include "page/labelsheet.h"
#include "page/namefitter.h"

class QPainter;

// One sheet of labels, one label for a module: its address in large type, the module it
// belongs to, its switches with the rows and the switches numbered, and its name fitted
// into the label, each where the label's layout puts it. Labels too small for the layout
// stay empty. Units of 1/1200 inch; the painter's origin is the paper's top left.
class LabelPage
{
public:
    explicit LabelPage(Names names);

    // How each name fits its label, in the order of the labels.
    NameFits paint(QPainter &painter, const QList<LabelSheet::Placed> &labels) const;

private:
    // With the painter's origin at the label's top left.
    std::optional<FittedName> paintLabel(QPainter &painter, const LabelLayout &layout, const QString &key) const;

    Names names;
    NameFitter fitter;
};

#endif
