#include "mainwindow/millimetrespinbox.h"

#include <cmath>

namespace {

const QChar minusSign(0x2212); // as typeset texts write it, the manual too
const double radix = 10;       // of the decimals: one gives tenths

} // namespace

MillimetreSpinBox::MillimetreSpinBox(QWidget *parent)
    : QDoubleSpinBox(parent)
{
    // While typed, "2" on the way to "25" is no value to keep, nor to print with.
    setKeyboardTracking(false);
    // Told to a screen reader by the field typed in, which it reads when it changes.
    connect(this, &MillimetreSpinBox::refused, this, &QWidget::setAccessibleDescription);
    connect(this, &QDoubleSpinBox::valueChanged, this, [this] { setAccessibleDescription({}); });
}

QValidator::State MillimetreSpinBox::validate(QString &input, int & /*pos*/) const
{
    const Reading reading = read(input);
    if (reading.state == QValidator::Intermediate && reading.value) {
        emit refused(tr("%1 mm geht hier nicht: von %2 bis %3 mm. Es bleibt bei %4 mm.")
                         .arg(locale().toString(*reading.value), locale().toString(minimum()),
                              locale().toString(maximum()), locale().toString(value())));
    } else if (reading.state == QValidator::Invalid && reading.value) {
        emit refused(tr("%1 mm: hier nur auf %2 mm genau.")
                         .arg(locale().toString(*reading.value, 'f', static_cast<int>(reading.decimals)),
                              locale().toString(std::pow(radix, -decimals()))));
    }
    return reading.state;
}

double MillimetreSpinBox::valueFromText(const QString &text) const
{
    return read(text).value.value_or(value());
}

// The number typed, without the unit after it, once or more (a field's own text pasted brings it
// along), with or without a blank.
QString MillimetreSpinBox::typedNumber(QString text) const
{
    const QString unit = suffix().trimmed();
    for (text = text.trimmed(); !unit.isEmpty() && text.endsWith(unit); text = text.trimmed())
        text.chop(unit.size());
    return text;
}

// The text as a number in C's form: digits of any script, one decimal point or comma, a minus first.
// Too many decimals are refused, but as a number, to say why.
MillimetreSpinBox::Reading MillimetreSpinBox::read(QString text) const
{
    text = typedNumber(text).replace(locale().negativeSign(), QStringLiteral("-")).replace(minusSign, u'-');
    text.replace(locale().decimalPoint(), QStringLiteral(".")).replace(u',', u'.');
    QString number;
    qsizetype decimalsTyped = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar typed = text.at(i);
        const bool sign = i == 0 && typed == u'-';
        if (typed.isDigit())
            decimalsTyped += number.contains(u'.') ? 1 : 0;
        else if (!sign && (typed != u'.' || number.contains(u'.')))
            return {QValidator::Invalid, std::nullopt};
        number += typed.isDigit() ? QChar(u'0' + typed.digitValue()) : typed;
    }
    bool isNumber = false;
    const double typedValue = number.toDouble(&isNumber);
    if (!isNumber)
        return {QValidator::Intermediate, std::nullopt};
    if (decimalsTyped > decimals())
        return {QValidator::Invalid, typedValue, decimalsTyped};
    const bool inRange = typedValue >= minimum() && typedValue <= maximum();
    return {inRange ? QValidator::Acceptable : QValidator::Intermediate, typedValue};
}
