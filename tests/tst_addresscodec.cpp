#include "address/addresscodec.h"
#include "panel/arlabel.h"

#include <QTest>

Q_DECLARE_METATYPE(DippSetting)

namespace {
DippSetting setting(int p0, int p1, int p2, int p3, int p4)
{
    return {p0, p1, p2, p3, p4};
}
} // namespace

class TestAddressCodec : public QObject
{
    Q_OBJECT

private slots:
    void everySettableSettingRoundTrips();
    void decode_data();
    void decode();
    void encodeUnusualSettings_data();
    void encodeUnusualSettings();
    void panelNeverKeepsPreviousSetting();
};

void TestAddressCodec::everySettableSettingRoundTrips()
{
    QSet<QString> texts;
    const QRegularExpression canonical(QStringLiteral("^([1-9]|1[0-9]|2[0-7])[A-I]$"));
    for (int code = 0; code < 243; ++code) {
        DippSetting dipp{};
        for (int i = 4, rest = code; i >= 0; --i, rest /= 3)
            dipp[i] = rest % 3;
        const QString text = AddressCodec::encode(dipp);
        QVERIFY2(canonical.match(text).hasMatch(), qPrintable(text));
        QCOMPARE(AddressCodec::decode(text), dipp);
        texts.insert(text);
    }
    QCOMPARE(texts.size(), 243);
}

void TestAddressCodec::decode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<DippSetting>("dipp");
    QTest::addColumn<QString>("canonical");

    QTest::newRow("A1") << "A1" << setting(0, 0, 0, 0, 0) << "1A";
    QTest::newRow("1A") << "1A" << setting(0, 0, 0, 0, 0) << "1A";
    QTest::newRow("27I") << "27I" << setting(2, 2, 2, 2, 2) << "27I";
    QTest::newRow("I27") << "I27" << setting(2, 2, 2, 2, 2) << "27I";
    QTest::newRow("C7") << "C7" << setting(0, 2, 0, 0, 2) << "7C";
    QTest::newRow("12B") << "12B" << setting(1, 0, 2, 0, 1) << "12B";
    QTest::newRow("leading zero") << "A07" << setting(0, 2, 0, 0, 0) << "7A";
    QTest::newRow("no letter") << "10" << setting(1, 0, 0, 0, 0) << "10A";
    QTest::newRow("AB5") << "AB5" << setting(0, 1, 1, 0, 1) << "5B";
    QTest::newRow("BA5") << "BA5" << setting(0, 1, 1, 0, 1) << "5B";
    QTest::newRow("A5B") << "A5B" << setting(0, 1, 1, 0, 1) << "5B";
    QTest::newRow("letters split the number") << "A1B2" << setting(1, 0, 2, 0, 1) << "12B";
    QTest::newRow("J") << "J5" << setting(0, 1, 1, 3, 0) << "5J";
    QTest::newRow("K") << "K5" << setting(0, 1, 1, 3, 1) << "5K";
    QTest::newRow("28") << "28A" << setting(3, 0, 0, 0, 0) << "28A";
    QTest::newRow("100") << "C100" << setting(11, 0, 0, 0, 2) << "100C";
    QTest::newRow("largest number") << "4294967295A" << setting(477218588, 0, 2, 0, 0) << "4294967295A";
    // Number 0: the number switches stay at 0, the letter still counts.
    QTest::newRow("letter only") << "A" << setting(0, 0, 0, 0, 0) << "1A";
    QTest::newRow("zero") << "0C" << setting(0, 0, 0, 0, 2) << "1C";
    QTest::newRow("empty") << "" << setting(0, 0, 0, 0, 0) << "1A";
    QTest::newRow("junk in number") << "A1X" << setting(0, 0, 0, 0, 0) << "1A";
    QTest::newRow("beyond 32 bits") << "4294967296G" << setting(0, 0, 0, 2, 0) << "1G";
    QTest::newRow("huge") << "99999999999999999999H" << setting(0, 0, 0, 2, 1) << "1H";
    // Blanks and a plus sign are accepted by the number conversion, a minus is not.
    QTest::newRow("blanks") << " 7 C " << setting(0, 2, 0, 0, 2) << "7C";
    QTest::newRow("tab") << "\t5D" << setting(0, 1, 1, 1, 0) << "5D";
    QTest::newRow("blank inside number") << "1 2E" << setting(0, 0, 0, 1, 1) << "1E";
    QTest::newRow("plus") << "+7B" << setting(0, 2, 0, 0, 1) << "7B";
    QTest::newRow("minus") << "-7B" << setting(0, 0, 0, 0, 1) << "1B";
    // Lower case is not a letter here; the window upper-cases first.
    QTest::newRow("lower case") << "c7" << setting(0, 0, 0, 0, 0) << "1A";
    QTest::newRow("letter after K") << "Z3" << setting(0, 0, 0, 0, 0) << "1A";
    QTest::newRow("umlaut") << "3Ä" << setting(0, 0, 0, 0, 0) << "1A";
}

void TestAddressCodec::decode()
{
    QFETCH(QString, text);
    QFETCH(DippSetting, dipp);
    QFETCH(QString, canonical);

    QCOMPARE(AddressCodec::decode(text), dipp);
    QCOMPARE(AddressCodec::encode(dipp), canonical);

    ArLabel panel;
    panel.setStrAdr(text);
    QCOMPARE(panel.positions(), dipp);

    QCOMPARE(panel.getStrAdr(), canonical);
}

void TestAddressCodec::encodeUnusualSettings_data()
{
    QTest::addColumn<DippSetting>("dipp");
    QTest::addColumn<QString>("text");

    QTest::newRow("letter index 11") << setting(0, 0, 0, 3, 2) << "1A";
    QTest::newRow("letter index 12") << setting(0, 0, 0, 4, 0) << "1A";
    QTest::newRow("low letter digit 3") << setting(0, 0, 0, 0, 3) << "1D";
    QTest::newRow("middle digit 3") << setting(0, 3, 0, 0, 0) << "10A";
    QTest::newRow("negative wraps") << setting(0, 0, -1, 0, 0) << "0A";
    QTest::newRow("negative letter") << setting(0, 0, 0, 0, -1) << "1A";
    QTest::newRow("32-bit overflow") << setting(477218588, 0, 3, 0, 0) << "0A";
}

void TestAddressCodec::encodeUnusualSettings()
{
    QFETCH(DippSetting, dipp);
    QFETCH(QString, text);
    QCOMPARE(AddressCodec::encode(dipp), text);
}

void TestAddressCodec::panelNeverKeepsPreviousSetting()
{
    ArLabel panel;
    panel.setStrAdr(QStringLiteral("27I"));
    panel.setStrAdr(QStringLiteral("1A"));
    QCOMPARE(panel.positions(), setting(0, 0, 0, 0, 0));
    panel.setStrAdr(QStringLiteral("27I"));
    panel.setStrAdr(QStringLiteral("B"));
    QCOMPARE(panel.positions(), setting(0, 0, 0, 0, 1));
}

QTEST_MAIN(TestAddressCodec)
#include "tst_addresscodec.moc"
