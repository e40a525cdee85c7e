#ifndef MILLIMETRESPINBOX_H
#define MILLIMETRESPINBOX_H

#include <QDoubleSpinBox>

#include <optional>

// Millimetres as people type them: a point or a comma before the decimals, in any locale, and
// never a thousands separator, which would make 1.5 mm fifteen. Shown in the user's locale. A
// number beyond the range stays as typed until the field is left, then gives way to the value
// before it; more decimals than the field shows are not taken. Refused says why, the field's
// accessible description too. The value changes only when the field is left or Return pressed.
class MillimetreSpinBox : public QDoubleSpinBox
{
    Q_OBJECT

public:
    explicit MillimetreSpinBox(QWidget *parent = nullptr);

    QValidator::State validate(QString &input, int &pos) const override;
    double valueFromText(const QString &text) const override;
    // Qt's own would drop the locale's thousands separator, here a decimal point.
    void fixup(QString & /*input*/) const override { }

signals:
    void refused(const QString &reason) const;

private:
    struct Reading
    {
        QValidator::State state;
        std::optional<double> value; // none while it is no number yet
        qsizetype decimals = 0;      // as typed, where they are too many
    };
    QString typedNumber(QString text) const;
    Reading read(QString text) const;
};

#endif
