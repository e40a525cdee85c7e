#include "mainwindow/namevalidator.h"

#include "names/namerules.h"

QValidator::State NameValidator::validate(QString &input, int &pos) const
{
    // Line ends pasted from another system are line breaks, as a name keeps them.
    if (input.contains(u'\r')) {
        const qsizetype before = input.size();
        input.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        pos -= static_cast<int>(before - input.size());
    }
    return NameRules::check(input) == NameRules::Problem::TooLong ? Invalid : Acceptable;
}
