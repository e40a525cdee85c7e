#include "mainwindow/namevalidator.h"

#include "names/namerules.h"

NameValidator::NameValidator(const QString &original, QObject *parent)
    : QValidator(parent)
{
    for (const QChar character : original) {
        if (NameRules::isHiddenCharacter(character))
            originalHidden += character;
    }
}

QValidator::State NameValidator::validate(QString &input, int &pos) const
{
    // Line ends pasted from another system are line breaks, as a name keeps them.
    if (input.contains(u'\r')) {
        const qsizetype before = input.size();
        input.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        pos -= static_cast<int>(before - input.size());
    }
    if (NameRules::check(input) == NameRules::Problem::TooLong) {
        emit refused(NameRules::germanLimit());
        return Invalid;
    }
    const qsizetype added = firstAddedHidden(input);
    if (added < 0)
        return Acceptable;
    emit refused(NameRules::hiddenReason(input, added, QLocale::German));
    return Invalid;
}

qsizetype NameValidator::firstAddedHidden(const QString &input) const
{
    QString left = originalHidden;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (!NameRules::isHiddenCharacter(input.at(i)))
            continue;
        const qsizetype kept = left.indexOf(input.at(i));
        if (kept < 0)
            return i;
        left.remove(kept, 1);
    }
    return -1;
}
