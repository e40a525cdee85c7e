#ifndef NAMEVALIDATOR_H
#define NAMEVALIDATOR_H

#include <QValidator>

// Takes no name longer than a name may be, counted as the user counts characters, and no
// control character or direction override that the name did not hold when the editor opened:
// a name stored with one can still be edited, and keeps it unless the user removes it. The
// editor then keeps its text, and refused tells why. Pasted CR LF and CR become the line
// break (LF) that names hold.
class NameValidator : public QValidator
{
    Q_OBJECT

public:
    NameValidator(const QString &original, QObject *parent);

    State validate(QString &input, int &pos) const override;

signals:
    void refused(const QString &reason) const;

private:
    // Where input has a hidden character more than the original, or -1.
    qsizetype firstAddedHidden(const QString &input) const;

    QString originalHidden; // the original's hidden characters, in order
};

#endif
