#include "mainwindow/namevalidator.h"

#include "names/namerules.h"

QValidator::State NameValidator::validate(QString &input, int & /*pos*/) const
{
    return NameRules::check(input) == NameRules::Problem::TooLong ? Invalid : Acceptable;
}
