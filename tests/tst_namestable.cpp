#include "base/quitsignals.h"
#include "mainwindow/reportqueue.h"
#include "support/windowtest.h"

#include <QMenu>
#include <QtGui/private/qguiapplication_p.h>
#include <csignal>

// The names table: typed, searched, pasted into, stored, and what the window tells of its files.
class TestNamesTable : public WindowTest
{
    Q_OBJECT

private slots:
    void spreadsheetKeys()
    {
        focusTable();
        QTableWidget &table = *window->adrTable;
        QCOMPARE(table.columnWidth(0) + table.columnWidth(1), table.viewport()->width());
        // Keys typed ahead of a busy window each reach their row, in order.
        window->adrTable->setCurrentCell(1, 0);
        for (const char key : QByteArray("abc\rdef\r"))
            QTimer::singleShot(0, window.get(), [key] { QTest::keyClick(QApplication::focusWidget(), key); });
        QTRY_COMPARE(namesAt({1, 2, 3}), (QStringList{"abc", "def", "-"}));
        typeNames({{92, u"alt 92"_s}, {93, u"alt 93"_s}, {94, u"alt 94"_s}, {95, u"alt 95"_s}});
        focusTable();
        // Selected bottom up, copied top down, deleted; pasted from the current row, told what is left.
        window->adrTable->setRangeSelected(QTableWidgetSelectionRange(95, 0, 95, 0), true);
        window->adrTable->setRangeSelected(QTableWidgetSelectionRange(92, 0, 92, 0), true);
        QTest::keyClick(window->adrTable, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"alt 92\nalt 95"_s);
        QTest::keyClick(window->adrTable, Qt::Key_Delete);
        QCOMPARE(namesAt({92, 95}), (QStringList{"-", "-"}));
        window->adrTable->setCurrentCell(94, 0);
        QGuiApplication::clipboard()->setText(u"Signal\r\nTor\tx\nzu\nviel\n"_s);
        QTest::keyClick(window->adrTable, Qt::Key_V, Qt::ControlModifier);
        const QString told = catcher.takeOne().text;
        QVERIFY(told.contains(u"Die Tabelle endet bei 12H: 2 der eingefügten Zeilen"_s)
                && told.contains(u"Eine Zelle stand neben den Namen."_s));
        QCOMPARE(namesAt({93, 94, 95}), (QStringList{"alt 93", "Signal", "Tor"}));
        // Cells that no name may hold are left out, and the user is told why.
        QGuiApplication::clipboard()->setText(u"z"_s.repeated(1001) + u"\r"_s);
        QTest::keyClick(window->adrTable, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(catcher.takeOne().text,
                 u"Nicht alles wurde eingefügt.\n\nDer Name in Zeile 1 wurde nicht eingefügt: Ein Name hat "
                 "höchstens 1000 Zeichen und 4000 UTF-16-Einheiten (Emoji und Akzente belegen mehrere)."_s);
        focusTable();
        QTest::keySequence(window->adrTable, QKeySequence(u"Ctrl+Z, Ctrl+Z"_s));
        QCOMPARE(namesAt({92, 94, 95}), (QStringList{"alt 92", "alt 94", "alt 95"}));
        QTest::keySequence(window->adrTable, QKeySequence(u"Ctrl+Y, Ctrl+Shift+Z"_s)); // both redo
        QCOMPARE(namesAt({92, 94, 95}), (QStringList{"-", "Signal", "Tor"}));

        // Tab leaves the table, also from an open editor, which it commits; Shift+Tab goes back.
        QTest::keyClicks(openEditor(7), u"acht"_s);
        // A name from another window meanwhile replaces nothing typed.
        window->findChild<NamesDocument *>()->store().put({{u"8A"_s, u"fremd"_s}});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_VERIFY(window->table->hasFocus());
        QCOMPARE(namesAt({7}), QStringList{"acht"});
        focusTable();
        QTest::keyClick(window->adrTable, Qt::Key_Backtab);
        QTRY_VERIFY(window->searchEdit->hasFocus());
        QCOMPARE(fromContextMenu(2), (QStringList{"Namen laden…", "Namen speichern…", "Namen leeren", "",
                                                  "Rückgängig: Name ändern", "Wiederholen:"}));
        QCOMPARE(namesAt({7, 93}), (QStringList{"-", "-"}));
        QVERIFY(Files::write(workFile(u"falsch.csv"_s), "Adresse;Name\n1A;neu\n13A;falsch\n"));
        saveAs(u"falsch.csv"_s);
        fromContextMenu(0);
        QCOMPARE(catcher.takeOne().text,
                 u"Die Namensliste %1 wurde nicht geladen.\n\nZeile 3: Die Adresse „13A“ gibt es in "
                 "der Tabelle nicht (A–H, 1–12)."_s.arg(QDir::toNativeSeparators(workFile(u"falsch.csv"_s))));
    }

    void search()
    {
        typeNames({{3, u"Weiche 3"_s}, {20, u"WEICHE Süd"_s}, {40, u"Signal"_s}, {50, u"Weichen"_s}});
        const auto shownRows = [this] {
            QList<int> rows;
            for (int row = 0; row < NamedAddresses::count; ++row)
                rows.append(window->adrTable->isRowHidden(row) ? -1 : row);
            rows.removeAll(-1);
            return rows;
        };
        window->viewTable->setChecked(false);
        window->adrTable->setCurrentCell(40, 0);
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(window->searchEdit->isVisible() && window->searchEdit->hasFocus());
        QTest::keyClicks(window->searchEdit, u"weiche"_s);
        QCOMPARE(std::tuple(shownRows(), window->adrTable->currentRow(), window->strEdit->text()),
                 std::tuple(QList<int>{3, 20, 50}, 40, u"5D"_s)); // the selection and the panel's address stay
        window->searchEdit->setText(u"ü"_s);
        QCOMPARE(shownRows(), (QList<int>{20}));
        window->searchEdit->setText(u"xy"_s); // no row shown: entered by key where it was
        QTest::keyClick(window->searchEdit, Qt::Key_Down);
        QVERIFY(shownRows().isEmpty() && window->adrTable->hasFocus() && window->adrTable->currentRow() == 40);
        window->searchEdit->setFocus();
        window->searchEdit->setText(u"a1"_s); // an address, also letter first
        QCOMPARE(shownRows(), (QList<int>{0, 9, 10, 11}));
        QTest::keyClick(window->searchEdit, Qt::Key_Return);
        QVERIFY(window->adrTable->hasFocus() && window->adrTable->currentRow() == 0); // the first shown, not 40
        // A name edited out of the filter stays until the filter changes.
        window->searchEdit->setFocus();
        window->searchEdit->setText(u"weiche"_s);
        // Return and the arrows, in the table and its editor, go to rows shown only; no key edits a hidden row.
        typeNames({{20, u"Weiche Nord"_s}}, 50);
        for (const char key : QByteArray("Tor\r"))
            QTest::keyClick(QApplication::focusWidget(), key);
        QTest::keyClick(window->adrTable, Qt::Key_Up);
        for (const char key : QByteArray("Sud")) // out of the filter, yet it stays
            QTest::keyClick(QApplication::focusWidget(), key);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(window->adrTable->currentRow(), 50);
        window->adrTable->setCurrentCell(40, 0); // however it came to be current
        for (const char key : QByteArray("x\r"))
            QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(std::tuple(window->adrTable->currentRow(), namesAt({20, 21, 40, 50}), shownRows()),
                 std::tuple(50, QStringList{"Sud", "-", "Signal", "Tor"}, QList<int>{3, 20, 50}));
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
        window->findChild<NamesDocument *>()->store().put({{u"8A"_s, u"Weiche 8"_s}}); // as from another window
        QCOMPARE(shownRows(), (QList<int>{3, 7}));                                     // filtered anew, as it arrives
        QTest::keyClick(window->searchEdit, Qt::Key_Escape);
        QCOMPARE(shownRows().size(), NamedAddresses::count);
    }

    // Under a search a column fills the rows shown only; what this window changes in a hidden row empties the search.
    void pasteUnderSearch()
    {
        typeNames({{1, u"Weiche eins"_s}, {24, u"Weiche 1C"_s}, {28, u"Weiche 5C"_s}, {32, u"Weiche 9C"_s}});
        typeNames({{2, u"Haengt"_s}, {3, u"CLI-Name"_s}});
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(window->searchEdit, u"weiche"_s);
        QTableWidget &table = *window->adrTable;
        QTest::keyClick(window->searchEdit, Qt::Key_Return);       // into the table at its first row shown, 2A
        QTest::keySequence(&table, QKeySequence(u"Down, Down"_s)); // to 5C
        QGuiApplication::clipboard()->setText(u"a\nb\nc\nd"_s);
        QTest::keyClick(&table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(catcher.takeOne().text, u"Nicht alles wurde eingefügt.\n\nDie Suche zeigt nach 9C keine Zeile mehr: "
                                         "2 der eingefügten Zeilen, ab Zeile 3, fanden keinen Platz."_s);
        QCOMPARE(namesAt({28, 32, 33}), (QStringList{"a", "b", "-"}));
        focusTable();                                          // back from the box
        QTest::keySequence(&table, QKeySequence(u"Ctrl+Z"_s)); // rows shown only: the search stays
        QCOMPARE(namesAt({1, 24, 28, 32}), (QStringList{"Weiche eins", "Weiche 1C", "Weiche 5C", "Weiche 9C"}));
        QVERIFY(window->searchEdit->text() == u"weiche"_s && table.isRowHidden(3));
        QTest::keySequence(&table, QKeySequence(u"Ctrl+Z"_s));
        QVERIFY(window->searchEdit->text().isEmpty() && !table.isRowHidden(3) && namesAt({3}) == QStringList{"-"});
        QCOMPARE(window->searchEdit->placeholderText(),
                 u"Suche „weiche“ geleert: Eine Zeile, die sie verbarg, wurde geändert."_s);
        // Two columns name their rows, hidden ones too, and tell how many.
        table.setCurrentCell(2, 0);
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(window->searchEdit, u"weiche"_s);
        // A click below the rows shown keeps the hidden current row, which Delete does not empty unseen,
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, {5, table.viewport()->height() - 3});
        QTest::keySequence(&table, QKeySequence(u"Delete, Ctrl+C"_s)); // nor copies it, nor empties the clipboard
        QVERIFY(table.hasFocus() && table.currentRow() == 2 && namesAt({2}) == QStringList{"Haengt"}
                && QGuiApplication::clipboard()->text() == u"a\nb\nc\nd"_s);
        QGuiApplication::clipboard()->setText(u"1A\tneu\n13A\tx"_s);
        QTest::keyClick(&table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(catcher.takeOne().text, u"Nicht alles wurde eingefügt.\n\nDie eingefügte Zeile 2 („13A“) nennt keine "
                                         "Adresse der Tabelle (A–H, 1–12) mit einem Namen.\n\nEin Name kam in eine "
                                         "Zeile, die die Suche verbarg; die Suche ist darum geleert."_s);
        QVERIFY(window->searchEdit->text().isEmpty() && namesAt({0}) == QStringList{"neu"});
        // A hidden row given the name it holds is not changed: nothing told, the search stays.
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(window->searchEdit, u"weiche"_s);
        QGuiApplication::clipboard()->setText(u"1A\tneu"_s);
        QTest::keyClick(&table, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(catcher.boxes.isEmpty() && window->searchEdit->text() == u"weiche"_s && table.isRowHidden(0));
        QCOMPARE(window->searchEdit->placeholderText(), u"Suchen"_s); // searched anew
    }

    void namesFiles()
    {
        // A report waits until its window shows, one for a window that went first goes with it; one of none shows.
        auto *gone = new QWidget;
        QWidget later;
        ReportQueue::show(gone, QMessageBox::Warning, u"Weg"_s, u"nie"_s);
        ReportQueue::show(&later, QMessageBox::Warning, u"Da"_s, u"danach"_s);
        delete gone;
        ReportQueue::show(nullptr, QMessageBox::Warning, u"Da"_s, u"ohne Fenster"_s);
        QCOMPARE(catcher.takeOne().text, u"ohne Fenster"_s);
        later.show();
        QCOMPARE(catcher.takeOne().text, u"danach"_s);
        // Told: a damaged store set aside (at the start or later) and where, or left as is; one unreadable stays.
        SharedStore &shared = window->findChild<NamesDocument *>()->store();
        const NamesStore::LoadResult found{
            {}, NamesCsv::Error{NamesCsv::ErrorKind::UnknownAddress, 2, u"13A"_s}, u"/d/n.defekt"_s};
        emit shared.restored(found);
        emit shared.setAside(found);
        emit shared.setAside({{}, found.error, {}});
        emit shared.copySetAside(found);
        emit shared.copiesStay(found.error);
        emit shared.restored({{}, NamesCsv::Error{NamesCsv::ErrorKind::Unreadable, 0, u"x"_s}, {}});
        const QString path = QDir::toNativeSeparators(workFile(u"data/vesk-adressen/namen.csv"_s));
        const QString damaged = u"Die gespeicherten Namen in %1 konnten nicht gelesen werden.\nZeile 2: Die Adresse "
                                "„13A“ gibt es in der Tabelle nicht (A–H, 1–12).\n\nDie Datei "_s.arg(path);
        const QString aside =
            u"wurde zur Seite gelegt und bleibt erhalten:\n%1\n\n"_s.arg(QDir::toNativeSeparators(found.setAsidePath));
        QTRY_COMPARE(catcher.boxes.size(), 6);
        QCOMPARE((QStringList{catcher.boxes[0].text, catcher.boxes[1].text, catcher.boxes[2].text,
                              catcher.boxes[3].text, catcher.boxes[4].text, catcher.boxes[5].text}),
                 (QStringList{
                     damaged + aside + "Die Tabelle beginnt leer.",
                     damaged + aside + "Die Namen dieses Fensters wurden neu gesichert.",
                     damaged + "bleibt unverändert; Namen, die Sie jetzt eingeben, werden nicht gesichert.",
                     u"Eine Konfliktkopie der Namen, die ein Dienst zum Abgleichen von Ordnern neben %1 abgelegt "
                     "hat, konnte nicht gelesen werden.\nZeile 2: Die Adresse „13A“ gibt es in der Tabelle nicht "
                     "(A–H, 1–12).\n\nSie wurde zur Seite gelegt und bleibt erhalten:\n%2\n\nDie gespeicherten "
                     "Namen bleiben, wie sie sind."_s.arg(path, QDir::toNativeSeparators(found.setAsidePath)),
                     u"Konfliktkopien der Namen, die ein Dienst zum Abgleichen von Ordnern neben %1 abgelegt hat, "
                     "bleiben dort liegen, bis sie eingearbeitet und in den Ordner Konfliktkopien verschoben "
                     "werden können:\nZeile 2: Die Adresse „13A“ gibt es in der Tabelle nicht (A–H, 1–12)."_s.arg(path),
                     u"Die gespeicherten Namen in %1 lassen sich gerade nicht lesen.\nDie Datei kann nicht "
                     "gelesen werden: x\n\nDie Datei bleibt, wo sie ist; ihre Namen erscheinen, sobald sie "
                     "sich lesen lässt. Namen, die Sie eingeben, kommen zu ihnen hinzu."_s.arg(path)}));
        catcher.boxes.clear();
        const QString list = workFile(u"liste.csv"_s);
        QVERIFY(Files::write(list, "Adresse;Name\n1A;neu\n"));
        QVERIFY(window->findChild<NamesFiles *>()->load(list) && window->viewTable->isChecked());
        typeNames({{0, u"eins"_s}});
        const QString store = workFile(u"data/vesk-adressen/namen.csv"_s);
        QTRY_COMPARE(NamesStore::read(store).names.value(u"1A"_s), u"eins"_s);
        {
            Files::Unreplaceable held(store, true);
            typeNames({{1, u"zwei"_s}, {2, u"drei"_s}});
            // Told once, when it lasts (the store's clock moved on, not waited for), not at every change or try.
            QVERIFY(QTest::qWaitFor([&shared] { return !shared.error().ok(); }));
            StoreClock::advance(3000);
            QVERIFY(catcher.takeOne().text.contains(u"konnten nicht in"_s));
            // While names wait, the window says so without a box.
            QVERIFY(window->isWindowModified() && window->storeState->isVisible());
            QCOMPARE(window->storeState->text(), u"Namen noch nicht gesichert: 2. Es wird weiter versucht, sie in %1 "
                                                 "zu sichern."_s.arg(QDir::toNativeSeparators(store)));
            // At logout it asks only where the session manager lets it, which the offscreen one does not.
            QGuiApplicationPrivate::instance()->commitData();
            QVERIFY(catcher.boxes.isEmpty());
            // A report that comes while the close question is open waits until it is answered.
            catcher.timer.stop();
            QTimer::singleShot(0, this, [this, &shared] {
                QTRY_VERIFY(QApplication::activeModalWidget());
                emit shared.failed(shared.error());
                catcher.timer.start();
            });
            window->close();
            QTRY_COMPARE(catcher.boxes.size(), 2);
            QCOMPARE((QStringList{catcher.boxes.at(0).title, catcher.boxes.at(1).title}),
                     (QStringList{"Namen nicht gesichert", "Namen sichern"}));
            catcher.boxes.clear();
            // Closing asks first; Esc keeps the window with its names, as does a save cancelled; the others close it.
            const QTemporaryDir elsewhere; // writable by the user the process acts as meanwhile
            const QList<std::tuple<QString, QString, bool>> answers{
                {"", "", true},
                {"\n", "", true}, // saving, the default, cancelled
                {"Namen speichern…", elsewhere.filePath(u"ungesichert"_s), false},
                {"Ohne die Namen schließen", "", false}};
            for (const auto &[answer, typed, stays] : answers) {
                catcher.answer = answer;
                if (answer == u"\n"_s || !typed.isEmpty())
                    saveAs(typed);
                window->show();
                window->close();
                QCOMPARE(catcher.takeOne().text,
                         u"Noch nicht gesicherte Namen: 2. Sie konnten nicht in %1 gesichert "
                         "werden.\n\nVor dem Schließen in eine Namensliste an einem anderen "
                         "Ort speichern? Ohne Speichern gehen sie verloren."_s.arg(QDir::toNativeSeparators(store)));
                QCOMPARE(window->isVisible(), stays);
            }
            QVERIFY(Files::read(elsewhere.filePath(u"ungesichert.csv"_s)).endsWith("2A;zwei\r\n3A;drei\r\n"));
            catcher.answer.clear();
            window->show();
        }
        // Stored by themselves once storing works: at once if the folder's change is seen, else at the next try,
        // however far off: a try under way when the hold ended waits anew. A lock it could not remove
        // meanwhile is taken once stale, which its file's time makes it.
        const QString lock = store + u".lock"_s;
        QVERIFY(QTest::qWaitFor([this, &lock] {
            StoreClock::advance(1000);
            if (QFileInfo::exists(lock))
                Store::setFileTime(lock, QDateTime::currentDateTime().addSecs(-11));
            return !window->isWindowModified();
        }));
        QVERIFY(!window->storeState->isVisible() && window->storeState->text().isEmpty()); // nothing read out hidden
        QCOMPARE(NamesStore::read(store).names.size(), 3);
        {
            // A failure as short as a moment shows nothing: the last one is over.
            Files::Unreplaceable held(store, true);
            typeNames({{3, u"vier"_s}});
            QTRY_VERIFY(!window->findChild<NamesDocument *>()->store().error().ok());
            QVERIFY(!window->isWindowModified() && !window->storeState->isVisible());
        }
        window->resize(window->width() + 40, window->height() + 30);
        const QSize size = window->size();
        window->close();
        window = std::make_unique<VeskAr>(); // the names and the size come back in the next window
        QTRY_COMPARE(namesAt({0, 1, 2}), (QStringList{"eins", "zwei", "drei"}));
        QCOMPARE(window->size(), size);
        QVERIFY(window->adrTable->isHidden() && window->searchEdit->isHidden()); // hidden at start, also in a size kept
    }

    // Edits by key, the window closed at once: the next window and the store hold what it showed.
    void storedAsShown()
    {
        typeNames({{0, u"Eins"_s}, {14, u"Weiche 3"_s}});
        window->adrTable->setCurrentCell(14, 0);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(window->adrTable, Qt::Key_V, Qt::ControlModifier);
        QGuiApplication::clipboard()->setText(u"Pumpe\nLicht"_s);
        QTest::keySequence(window->adrTable, QKeySequence(u"Ctrl+V, Ctrl+Z, Ctrl+Shift+Z"_s));
        window->adrTable->setCurrentCell(0, 0);
        QTest::keySequence(window->adrTable, QKeySequence(u"Backspace, Ctrl+Z"_s));
        const QStringList shown = namesAt({0, 14, 15});
        QCOMPARE(shown, (QStringList{"Eins", "Pumpe", "Licht"}));
        // Names replaced by later ones from elsewhere are told under the table until the next undo step.
        emit window->findChild<NamesDocument *>()->replaced({{u"3B"_s, u"alt"_s}, {u"1A"_s, std::nullopt}},
                                                            {{u"3B"_s, u"neu"_s}});
        QCOMPARE(window->replacedState->text(),
                 u"Durch spätere Namen von anderswo ersetzt: 1A: leer ist jetzt leer; "
                 "3B: „\u2068alt\u2069“ ist jetzt „\u2068neu\u2069“. Rückgängig (Strg+Z) holt sie zurück."_s);
        QVERIFY(window->replacedState->isVisible());
        QTest::keySequence(window->adrTable, QKeySequence(u"Ctrl+Z, Ctrl+Shift+Z"_s));
        QVERIFY(window->replacedState->isHidden() && window->replacedState->text().isEmpty());
        openEditor(16)->setText(u"getippt"_s); // being typed as the window goes: stored all the same
        window.reset();
        window = std::make_unique<VeskAr>();
        const Names stored = NamesStore::read(workFile(u"data/vesk-adressen/namen.csv"_s)).names;
        QCOMPARE((QStringList{stored.value(u"1A"_s), stored.value(u"3B"_s), stored.value(u"4B"_s)}), shown);
        QCOMPARE(stored.value(u"5B"_s), u"getippt"_s);
        QTRY_COMPARE(namesAt({0, 14, 15}), shown);
    }

    void endedBySignal_data()
    {
        addColumns<int, bool, bool, QString>("number", "ignored", "held", "stored");
        QTest::newRow("a logout") << SIGTERM << false << false << "getippt";
        QTest::newRow("Ctrl+C, the store held unwritable") << SIGINT << false << true << "";
#ifndef Q_OS_WIN
        QTest::newRow("the terminal closed") << SIGHUP << false << false << "getippt";
        QTest::newRow("the terminal closed, after nohup") << SIGHUP << true << false << "";
#endif
    }

    // Ended by the system, no one to answer: what is being typed is stored, nothing is asked, a second request ends.
    void endedBySignal()
    {
#ifdef Q_OS_WIN
        QSKIP("no such signals");
#else
        auto [number, ignored, held, stored] = fetched<int, bool, bool, QString>("number", "ignored", "held", "stored");
        std::signal(number, ignored ? SIG_IGN : SIG_DFL);
        auto quitSignals = std::make_unique<QuitSignals>();
        connect(quitSignals.get(), &QuitSignals::received, window.get(), &VeskAr::closeUnasked);
        const QString store = workFile(u"data/vesk-adressen/namen.csv"_s);
        auto unwritable = held ? std::make_unique<Files::Unreplaceable>(store, true) : nullptr;
        openEditor(16)->setText(u"getippt"_s);
        std::raise(number);
        QCoreApplication::processEvents(); // the byte the handler wrote is read at the first look
        QTRY_VERIFY(window->isVisible() == ignored && catcher.boxes.isEmpty());
        unwritable.reset();
        QCOMPARE(NamesStore::read(store).names.value(u"5B"_s), stored);
        QVERIFY(std::signal(number, SIG_DFL) == (ignored ? SIG_IGN : SIG_DFL));
        quitSignals.reset();
        QVERIFY(std::signal(number, SIG_DFL) == (ignored ? SIG_IGN : SIG_DFL));
#endif
    }

private:
    // Opens the names table's context menu by key and chooses its entry at the index; returns the entries offered.
    QStringList fromContextMenu(int entry)
    {
        QStringList offered;
        QTimer::singleShot(0, this, [this, &offered, entry] {
            QMenu *menu = nullptr;
            QVERIFY(
                QTest::qWaitFor([&] { return (menu = window->adrTable->findChild<QMenu *>()) && menu->isVisible(); }));
            for (const QAction *action : menu->actions())
                offered.append(action->text());
            menu->close();
            menu->actions().at(entry)->trigger();
        });
        QContextMenuEvent request(QContextMenuEvent::Keyboard, {10, 10},
                                  window->adrTable->viewport()->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(window->adrTable->viewport(), &request);
        return offered;
    }
};

QTEST_MAIN(TestNamesTable)
#include "tst_namestable.moc"
