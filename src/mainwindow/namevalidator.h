#ifndef NAMEVALIDATOR_H
#define NAMEVALIDATOR_H

#include <QValidator>

// Takes no name longer than a name may be, counted as the user counts characters; the
// editor then keeps its text and tells why (QLineEdit::inputRejected). Pasted CR LF and
// CR become the line break (LF) that names hold.
class NameValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override;
};

#endif
