#include "address/namedaddresses.h"

namespace {
QChar letter(int letterIndex)
{
    return QChar(u'A' + letterIndex);
}
} // namespace

namespace NamedAddresses {

QString key(int letterIndex, int number)
{
    return QString::number(number) + letter(letterIndex);
}

QString keyOfRow(int row)
{
    return key(row / numberCount, row % numberCount + 1);
}

} // namespace NamedAddresses
