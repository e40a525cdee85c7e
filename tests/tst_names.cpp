#include "document/namesdocument.h"
#include "names/namescsv.h"
#include "support/coretest.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using NamesCsv::ErrorKind;

class TestNames : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void parseGood_data();
    void parseGood();
    void parseBad_data();
    void parseBad();
    void savedLayoutReadsBack();
    void storePathIsFixed();
    void undoRedo_data();
    void undoRedo();
    void damagedStoreSetAside();
    void failedStoreReportedOnce();
    void propertyRun();

private:
    QString store() const { return dir->filePath(QStringLiteral("vesk-adressen/namen.csv")); }
    std::unique_ptr<QTemporaryDir> dir;
};

void TestNames::init()
{
    dir = std::make_unique<QTemporaryDir>();
    // Open to the user that a read-only folder makes the process.
    QFile::setPermissions(dir->path(), QFile::permissions(dir->path()) | QFile::ExeGroup | QFile::ExeOther);
}

void TestNames::parseGood_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<Names>("names");

    QTest::newRow("semicolon, both forms")
        << QByteArray("Adresse;Name\n12A;Lager\nA3;Tor\n") << Names{{"12A", "Lager"}, {"3A", "Tor"}};
    QTest::newRow("comma") << QByteArray("Adresse,Name\nb2,Tor\n") << Names{{"2B", "Tor"}};
    QTest::newRow("tab, blanks, columns swapped")
        << QByteArray("Name\tAdresse\nSignal\t h5 \n") << Names{{"5H", "Signal"}};
    QTest::newRow("BOM and CRLF") << QByteArray("\xEF\xBB\xBF"
                                                "Adresse;Name\r\n1A;Ölpumpe\r\n")
                                  << Names{{"1A", "Ölpumpe"}};
    QTest::newRow("Windows-1252") << QByteArray("Adresse;Name\r\n1A;Gr\xFC\xDF"
                                                "e\r\n2A;\x80 5\r\n3A;\x84"
                                                "Anf\xFChrung\x93\r\n")
                                  << Names{{"1A", "Grüße"}, {"2A", "€ 5"}, {"3A", "„Anführung“"}};
    QTest::newRow("quoted fields") << QByteArray("Adresse;Name\n1A;\"a;b \"\"c\"\"\"\n\"2A\";\"zwei\r\nZeilen\"\r\n")
                                   << Names{{"1A", "a;b \"c\""}, {"2A", "zwei\nZeilen"}};
    QTest::newRow("blank line, empty name, no final line end")
        << QByteArray("Adresse;Name\n\n1A;\n2A;x") << Names{{"1A", ""}, {"2A", "x"}};
}

void TestNames::parseGood()
{
    QFETCH(QByteArray, data);
    QFETCH(Names, names);
    const NamesCsv::ReadResult result = NamesCsv::parse(data);
    QCOMPARE(result.error.kind, ErrorKind::None);
    QCOMPARE(result.names, names);
}

void TestNames::parseBad_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<ErrorKind>("kind");
    QTest::addColumn<QString>("english"); // as the command line says it

    QTest::newRow("empty") << QByteArray() << ErrorKind::MissingHeader
                           << "line 1: the header must name the columns Adresse and Name";
    QTest::newRow("no name column") << QByteArray("Adresse;Titel\n1A;x\n") << ErrorKind::MissingHeader
                                    << "line 1: the header must name the columns Adresse and Name";
    QTest::newRow("number 13") << QByteArray("Adresse;Name\n1A;x\n13A;x\n") << ErrorKind::UnknownAddress
                               << "line 3: '13A' is not one of the addresses A-H 1-12";
    QTest::newRow("letter I") << QByteArray("Adresse;Name\n9I;x\n") << ErrorKind::UnknownAddress
                              << "line 2: '9I' is not one of the addresses A-H 1-12";
    QTest::newRow("three fields") << QByteArray("Adresse;Name\n1A;x;y\n") << ErrorKind::WrongFieldCount
                                  << "line 2: 3 fields instead of 2";
    QTest::newRow("twice") << QByteArray("Adresse;Name\n1A;x\na1;y\n") << ErrorKind::DuplicateAddress
                           << "line 3: address 1A is listed twice";
    QTest::newRow("open quote") << QByteArray("Adresse;Name\n1A;\"offen\n2A;x\n") << ErrorKind::UnterminatedQuote
                                << "line 2: a quoted field is not closed";
    QTest::newRow("text after quote") << QByteArray("Adresse;Name\n1A;\"zu\"x\n") << ErrorKind::TextAfterQuote
                                      << "line 2: text follows a closing quote";
    QTest::newRow("lines counted inside quotes")
        << QByteArray("Adresse;Name\n1A;\"a\nb\"\n99Z;x\n") << ErrorKind::UnknownAddress
        << "line 4: '99Z' is not one of the addresses A-H 1-12";
    QTest::newRow("missing file") << QByteArray() << ErrorKind::Unreadable << "cannot be read: ";
}

void TestNames::parseBad()
{
    QFETCH(QByteArray, data);
    QFETCH(ErrorKind, kind);
    QFETCH(QString, english);

    const NamesCsv::ReadResult result = kind == ErrorKind::Unreadable
                                            ? NamesCsv::readFile(dir->filePath(QStringLiteral("fehlt.csv")))
                                            : NamesCsv::parse(data);
    QCOMPARE(result.error.kind, kind);
    QVERIFY(result.names.isEmpty());
    const QString said = NamesCsv::describe(result.error, NamesCsv::Language::English);
    const bool withReason = kind == ErrorKind::Unreadable; // the system's, after the text
    QVERIFY2(withReason ? said.startsWith(english) && said.size() > english.size() : said == english, qPrintable(said));
    // The window says it in German, naming the same line.
    const QString german = NamesCsv::describe(result.error, NamesCsv::Language::German);
    QVERIFY2(german != said && german.startsWith(QStringLiteral("Zeile %1: ").arg(result.error.line)) != withReason,
             qPrintable(german));
}

void TestNames::savedLayoutReadsBack()
{
    Names names{{"12H", "Ende"}, {"1A", " Anfang "}, {"2A", "a;b,c\t\"d\""}, {"5C", "zwei\nZeilen"}, {"9G", "x\r"}};
    const QByteArray saved = NamesCsv::serialize(names);
    QCOMPARE(saved, QByteArray("\xEF\xBB\xBF"
                               "Adresse;Name\r\n1A;\" Anfang \"\r\n2A;\"a;b,c\t\"\"d\"\"\"\r\n5C;\"zwei\nZeilen\"\r\n"
                               "9G;\"x\r\"\r\n12H;Ende\r\n"));
    QCOMPARE(NamesCsv::parse(saved).names, names);
}

void TestNames::storePathIsFixed()
{
    // Every user's names are here: another place would lose them all after an update.
    qputenv("XDG_DATA_HOME", dir->path().toUtf8());
    QCOMPARE(NamesStore::defaultPath(), dir->path() + QStringLiteral("/vesk-adressen/namen.csv"));
}

void TestNames::undoRedo_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<Names>("after");

    QTest::newRow("edit") << "edit" << Names{{"1A", "eins"}, {"2A", "neu"}};
    QTest::newRow("paste past the end") << "paste" << Names{{"1A", "eins"}, {"2A", "zwei"}, {"12H", "a"}};
    QTest::newRow("load") << "load" << Names{{"5C", "fünf"}};
    QTest::newRow("remove") << "remove" << Names{{"2A", "zwei"}};
    QTest::newRow("clear") << "clear" << Names{};
}

void TestNames::undoRedo()
{
    QFETCH(QString, change);
    QFETCH(Names, after);

    NamesDocument document(store());
    document.restore();
    document.setName(QStringLiteral("1A"), QStringLiteral("eins"));
    document.setName(QStringLiteral("2A"), QStringLiteral("zwei"));
    const Names before = document.names();
    QCOMPARE(document.paste(0, QStringLiteral("\r\n \n\t\n")), 0); // no names in it: no change to undo
    const QString list = dir->filePath(QStringLiteral("liste.csv"));
    QVERIFY(Files::write(list, "Adresse;Name\n5C;fünf\n"));
    if (change == u"edit")
        document.setName(QStringLiteral("2A"), QStringLiteral("neu"));
    else if (change == u"paste")
        QCOMPARE(document.paste(95, QStringLiteral("a\tb\r\nc\n")), 1);
    else if (change == u"load")
        QCOMPARE(document.load(list).kind, ErrorKind::None);
    else if (change == u"remove")
        document.remove({QStringLiteral("1A"), QStringLiteral("3A")});
    else
        document.clear();
    for (const Names &expected : {after, before, after}) {
        QCOMPARE(document.names(), expected);
        QCOMPARE(NamesStore::load(store()).names, expected); // stored at once
        if (expected == after)
            document.undoStack()->undo();
        else
            document.undoStack()->redo();
    }
}

void TestNames::damagedStoreSetAside()
{
    const QByteArray damaged("Adresse;Name\n99Z;kaputt\n");
    QStringList asides;
    for (int n = 0; n < 3; ++n) {
        QVERIFY(QDir().mkpath(QFileInfo(store()).path()) && Files::write(store(), damaged));
        NamesDocument document(store());
        std::optional<Files::ReadOnlyDir> readOnly;
        if (n == 2) // where it cannot be set aside, it is never overwritten
            readOnly.emplace(QFileInfo(store()).path());
        const NamesStore::LoadResult stored = document.restore();
        readOnly.reset();
        QCOMPARE(stored.error.kind, ErrorKind::UnknownAddress);
        QVERIFY(document.names().isEmpty());
        asides.append(stored.setAsidePath);
        document.setName(QStringLiteral("1A"), QStringLiteral("neu"));
        QCOMPARE(Files::read(n < 2 ? stored.setAsidePath : store()), damaged);
    }
    // A second one in the same second gets its own name.
    QVERIFY(asides[0].startsWith(store() + QStringLiteral(".defekt-")) && asides[1] != asides[0]
            && asides[2].isEmpty());
}

void TestNames::failedStoreReportedOnce()
{
    NamesDocument document(store());
    QSignalSpy failures(&document, &NamesDocument::storeFailed);
    document.setName(QStringLiteral("1A"), QStringLiteral("eins"));
    for (const char *name : {"zwei", "drei"}) {
        Files::ReadOnlyDir readOnly(QFileInfo(store()).path());
        document.setName(QStringLiteral("2A"), QString::fromUtf8(name));
    }
    QCOMPARE(failures.size(), 1);
    QCOMPARE(NamesStore::load(store()).names, (Names{{"1A", "eins"}})); // the older file kept whole
    document.setName(QStringLiteral("3A"), QStringLiteral("vier"));
    QCOMPARE(NamesStore::load(store()).names, document.names());
    {
        Files::ReadOnlyDir readOnly(QFileInfo(store()).path());
        document.clear();
    }
    QCOMPARE(failures.size(), 2); // stored in between, so it is news again
}

void TestNames::propertyRun()
{
    QRandomGenerator random(20261207);
    const QString letters = QStringLiteral("ab ;\"€ä\n");
    const auto text = [&] {
        QString name;
        for (int n = random.bounded(4); n > 0; --n)
            name += letters.at(random.bounded(letters.size()));
        return name;
    };
    const QString list = dir->filePath(QStringLiteral("liste.csv"));
    auto document = std::make_unique<NamesDocument>(store());
    for (int step = 0; step < 300; ++step) {
        const QString key = NamedAddresses::keyOfRow(random.bounded(NamedAddresses::count));
        switch (random.bounded(8)) {
        case 0:
            document->setName(key, text());
            break;
        case 1:
            document->paste(random.bounded(NamedAddresses::count), text() + u'\n' + text());
            break;
        case 2:
            QCOMPARE(NamesCsv::writeFile(list, {{key, text()}}).kind, ErrorKind::None);
            QCOMPARE(document->load(list).kind, ErrorKind::None);
            break;
        case 3:
            document->remove({key});
            break;
        case 4:
            document->undoStack()->undo();
            break;
        case 5:
            document->undoStack()->redo();
            break;
        case 6:
            document->clear();
            break;
        default:
            document = std::make_unique<NamesDocument>(store());
            document->restore();
        }
        QCOMPARE(NamesStore::load(store()).names, document->names());
    }
}

QTEST_GUILESS_MAIN(TestNames)
#include "tst_names.moc"
