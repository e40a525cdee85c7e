#include "address/addresscodec.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString spaced(const DippSetting &dipp)
{
    QStringList positions;
    for (const int position : dipp)
        positions.append(QString::number(position));
    return positions.join(u' ');
}

} // namespace

class TestAddress : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
};

void TestAddress::decode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("dipp");
    QTest::addColumn<QString>("canonical");
    QTest::addColumn<bool>("plain");

    // clang-format off
    QTest::newRow("A1") << "A1" << "0 0 0 0 0" << "1A" << true;
    QTest::newRow("c7, either case") << "c7" << "0 2 0 0 2" << "7C" << true;
    QTest::newRow("leading zero") << "A07" << "0 2 0 0 0" << "7A" << true;
    QTest::newRow("blanks around and between") << " 12 b " << "1 0 2 0 1" << "12B" << true;
    QTest::newRow("no letter") << "10" << "1 0 0 0 0" << "10A" << false;
    QTest::newRow("AB5") << "AB5" << "0 1 1 0 1" << "5B" << false;
    // The latest letter in the alphabet wins, not the first one found.
    QTest::newRow("CB5") << "CB5" << "0 1 1 0 2" << "5C" << false;
    QTest::newRow("letters split the number") << "A1B2" << "1 0 2 0 1" << "12B" << false;
    QTest::newRow("J") << "J5" << "0 1 1 3 0" << "5J" << true;
    QTest::newRow("28") << "28A" << "3 0 0 0 0" << "28A" << true;
    QTest::newRow("largest number") << "4294967295A" << "477218588 0 2 0 0" << "4294967295A" << true;
    // Number 0: the number switches stay at 0, the letter still counts.
    QTest::newRow("zero") << "0C" << "0 0 0 0 2" << "1C" << false;
    QTest::newRow("empty") << "" << "0 0 0 0 0" << "1A" << false;
    QTest::newRow("letter O for zero") << "1O" << "0 0 0 0 0" << "1A" << false;
    QTest::newRow("two addresses") << "7C;8D" << "0 0 0 1 0" << "1D" << false;
    QTest::newRow("beyond 32 bits") << "4294967296G" << "0 0 0 2 0" << "1G" << false;
    // Blanks around and a plus sign pass the number conversion; a minus or inner blank does not.
    QTest::newRow("plus") << "+7B" << "0 2 0 0 1" << "7B" << false;
    QTest::newRow("minus") << "-7B" << "0 0 0 0 1" << "1B" << false;
    // clang-format on
}

void TestAddress::decode()
{
    QFETCH(QString, text);
    QFETCH(QString, dipp);
    QFETCH(QString, canonical);
    QFETCH(bool, plain);

    QCOMPARE(AddressCodec::isPlainAddress(text), plain);
    const DippSetting decoded = AddressCodec::decode(text.toUpper());
    QCOMPARE(spaced(decoded), dipp);
    QCOMPARE(AddressCodec::encode(decoded), canonical);
}

QTEST_GUILESS_MAIN(TestAddress)
#include "tst_address.moc"
