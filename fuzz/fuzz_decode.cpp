#include "address/addresscodec.h"
#include "fuzzcheck.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QRegularExpression numberThenLetter(QStringLiteral("^[1-9][0-9]*[A-K]$"));

    const QString text = utf16Text(data, size);
    const DippSetting dipp = AddressCodec::decode(text);
    const QString canonical = AddressCodec::encode(dipp);
    require(numberThenLetter.match(canonical).hasMatch(), "canonical text is number then letter", canonical);
    require(AddressCodec::decode(canonical) == dipp, "canonical text decodes to the same setting", canonical);
    return 0;
}
